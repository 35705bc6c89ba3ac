#include "tests/Layouts/LayoutData.h"

#include <fstream>
#include <sstream>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/PsdFolder.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"

namespace layouts {

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void LayoutDataTest::SetUp() {
  mPrevious = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(QM_SOURCE_DIR) / "data");
  file::FileManager::Instance()->GetMountTable().clear();
  RuvResources::Instance()->setRender(&mRender);
}

void LayoutDataTest::TearDown() {
  RuvResources::Instance()->clear();
  RuvResources::Instance()->setRender(nullptr);
  std::filesystem::current_path(mPrevious);
}

std::unique_ptr<file::ImageContainer> LayoutDataTest::Open(const std::u16string& path) {
  std::unique_ptr<file::ImageContainer> layout(file::FileManager::Instance()->OpenImageContainer(path));
  EXPECT_NE(layout, nullptr) << Narrow(path);
  if (layout && layout->GetLayerCount() == 0) {
    ADD_FAILURE() << Narrow(path) << " has no layers";
    return nullptr;
  }
  return layout;
}

bool LayoutDataTest::HasImage(file::ImageContainer* layout, const std::u16string& name) {
  return std::unique_ptr<render::Image>(loadLayerImage(layout, name)) != nullptr;
}

LayerRect LayoutDataTest::Rect(file::ImageContainer* layout, const std::u16string& name) {
  const base::ImageInfo* info = findPsdLayer(layout, name);
  if (!info) {
    ADD_FAILURE() << "no layer " << Narrow(name);
    return {};
  }
  return {int(info->mX), int(info->mY), int(info->mWidth), int(info->mHeight)};
}

std::vector<uint32_t> LayoutDataTest::Pixels(file::ImageContainer* layout, const std::u16string& name, int* width) {
  unsigned found = 0;
  std::unique_ptr<file::FileInfo> file(layout->FindLayer(name, file::PsdFolder::GetTextureExtensions(),
                                                         file::PsdFolder::GetTextureExtensionCount(), &found));
  std::unique_ptr<base::Stream> stream(file ? file->Open() : nullptr);
  if (!stream) return {};
  std::unique_ptr<render::ImageData> image(render::ImageLoader::Instance()->Load(
      stream.get(), file::PsdFolder::GetTextureExtensions()[found], layout->GetLayerInfo(name)));
  if (!image || image->mFormat != render::ImageData::kFormatARGB) return {};
  std::vector<uint32_t> pixels(size_t(image->mWidth) * size_t(image->mHeight));
  if (image->CopyTo(image->mWidth * 4, 0, pixels.data(), nullptr, 0) != VN_OK) return {};
  *width = int(image->mWidth);
  return pixels;
}

uint32_t LayoutDataTest::CentrePixel(file::ImageContainer* layout, const std::u16string& name) {
  int width = 0;
  const std::vector<uint32_t> pixels = Pixels(layout, name, &width);
  if (pixels.empty()) return 0;
  const size_t height = pixels.size() / size_t(width);
  return pixels[height / 2 * size_t(width) + size_t(width / 2)];
}

std::vector<std::u16string> LayoutDataTest::Layers(file::ImageContainer* layout, const std::u16string& folder) {
  std::vector<std::u16string> names;
  layout->ListLayers(folder, false, names, false);
  return names;
}

std::vector<std::u16string> LayoutDataTest::Folders(file::ImageContainer* layout, const std::u16string& folder) {
  std::vector<std::u16string> names;
  layout->ListFolders(folder, names, false);
  return names;
}

std::string LayoutDataTest::ReadDataFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace layouts
