#include "WidgetLayouts.h"

#include <filesystem>

#include "Core/File/FileManager.h"
#include "Core/Gui/GameControl.h"
#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Art/RuvResources.h"

namespace menutest {

void WidgetLayoutTest::SetUp() {
  GameFolderTest::SetUp();
  for (const char* folder : {"ruv/level_select", "ruv/shop", "ruv/data/fonts"}) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy(std::string(QM_SOURCE_DIR) + "/data/" + folder, folder,
                          std::filesystem::copy_options::recursive);
  }
  CopySampleData("ruv/strings_en.csv");
  ASSERT_EQ(VN_OK, mRender.Init());
  RuvResources::Instance()->setRender(&mRender);
  gui::GameControlHelper::SetRender(&mRender);
}

void WidgetLayoutTest::TearDown() {
  EXPECT_TRUE(mBoard.GetChildren().empty());
  delete RuvResources::Instance();
  EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<render::BMFont>().empty());
  gui::GameControlHelper::SetRender(nullptr);
  GameFolderTest::TearDown();
}

std::unique_ptr<file::ImageContainer> WidgetLayoutTest::Open(const std::u16string& path) {
  return std::unique_ptr<file::ImageContainer>(file::FileManager::Instance()->OpenImageContainer(path));
}

std::u16string WidgetLayoutTest::FontName(const resource::ResourcePtr<render::Font>& font) {
  return font ? font->GetName() : std::u16string();
}

}  // namespace menutest
