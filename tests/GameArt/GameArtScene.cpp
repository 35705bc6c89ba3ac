#include "GameArtScene.h"

#include <cstdlib>
#include <fstream>

#include "Core/File/FileManager.h"
#include "Core/Render/Texture.h"
#include "fakes/GoldenImage.h"

namespace gameart {

void GameArtTest::SetUp() {
  mPrevious = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "qm_gameart_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  mRoot = pattern;
  std::filesystem::current_path(mRoot);
  file::FileManager::Instance()->GetMountTable().clear();
  RuvResources::Instance()->setRender(&mRender);
}

void GameArtTest::TearDown() {
  RuvResources::Instance()->clear();
  RuvResources::Instance()->setRender(nullptr);
  RuvResources::Instance()->setSceneryCentre(math::Point2());
  std::filesystem::current_path(mPrevious);
  std::filesystem::remove_all(mRoot);
}

void GameArtTest::WriteDataFile(const std::string& path, const std::string& bytes) {
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary) << bytes;
}

void GameArtTest::WritePixelPng(const std::string& path, int width, int height) {
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  fakes::RgbaImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(size_t(width * height * 4), 255);
  ASSERT_TRUE(fakes::WritePng(path, image)) << path;
}

void GameArtTest::WriteLayout(const std::string& folder, const std::vector<LayoutLayer>& layers) {
  std::string xml = "<Layers>\n";
  int index = 0;
  for (const LayoutLayer& layer : layers) {
    xml += "  <Layer name=\"" + layer.name + "\" x=\"" + std::to_string(layer.x) + "\" y=\"" +
           std::to_string(layer.y) + "\" width=\"" + std::to_string(layer.width) + "\" height=\"" +
           std::to_string(layer.height) + "\" ind=\"" + std::to_string(index++) + "\"/>\n";
    WritePixelPng(folder + "/" + layer.name + ".png");
  }
  WriteDataFile(folder + "/layers.xml", xml + "</Layers>\n");
}

RuvArtSet* GameArtTest::MakeEmptySet(const std::u16string& path) { return RuvResources::Instance()->getArtByPsd(path); }

void GameArtTest::AddFrames(RuvArtSet* set, const std::string& group, int count, int width) {
  for (int i = 0; i < count; ++i) {
    auto* frame = new RuvFrameEntry;
    if (width > 0) {
      render::Texture* texture = nullptr;
      mRender.CreateTexture(texture);
      texture->CreateRenderTarget(width, 1);
      frame->image = new render::Image(texture);
    }
    frame->rect[0] = float(i * 10);
    frame->rect[2] = float(width);
    frame->rect[3] = 1.0f;
    const std::string name = group + "/" + std::to_string(i);
    frame->name.assign(name.begin(), name.end());
    set->groups[group].push_back(frame);
  }
}

std::vector<render::SVertex2D> GameArtTest::FrameImageVertices() const {
  std::vector<render::SVertex2D> vertices;
  const auto* bound = static_cast<const render::SVertex2D*>(mRender.GetBoundVertices());
  for (const std::vector<long>& draw : mRender.Arguments("DrawIndexed")) {
    if (draw.size() != 6 || !bound) continue;
    vertices.insert(vertices.end(), bound + draw[4], bound + draw[4] + draw[5]);
  }
  return vertices;
}

}  // namespace gameart
