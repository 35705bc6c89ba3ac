#include "WidgetLayouts.h"

#include <filesystem>

#include "Core/File/FileManager.h"
#include "Core/Gui/GameControl.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Resource/ResourceTexture.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Art/RuvResources.h"

namespace menutest {

void WidgetLayoutTest::SetUp() {
  GameFolderTest::SetUp();
  for (const char* folder : {"ruv/level_select", "ruv/shop", "ruv/data/fonts", "ruv/fx"}) {
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
  if (render::ParticleSystem::Exists()) {
    render::ParticleSystem::Instance()->ReleaseAtlases();
    delete render::ParticleSystem::Instance();
  }
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

std::string WidgetLayoutTest::ImageName(const render::Image* image) {
  if (!image || !image->GetResource()) return std::string();
  return base::ToNarrow(image->GetResource()->GetName(), base::kEncodingUtf8);
}

void WidgetLayoutTest::LoadParticles() {
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder("ruv/fx/");
  particles->Load("fx2.ptc", &mRender);
}

}  // namespace menutest
