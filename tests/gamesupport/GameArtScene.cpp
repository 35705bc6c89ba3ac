#include "gamesupport/GameArtScene.h"

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
    xml += "  <Layer name=\"" + layer.name + "\" x=\"" + std::to_string(layer.x) + "\" y=\"" + std::to_string(layer.y) +
           "\" width=\"" + std::to_string(layer.width) + "\" height=\"" + std::to_string(layer.height) + "\" ind=\"" +
           std::to_string(index++) + "\"/>\n";
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

VNResultEnum ProbeFont::DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::u16string& text,
                                 const render::TextFormat& format, float* size) {
  const VNResultEnum measured = testlayer::TinyFont::DrawText(graphics, param, text, format, size);
  if (!graphics || measured != VN_OK) return measured;
  render::SVertex2D corners[2] = {};
  corners[1].x = 10.0f;
  for (render::SVertex2D& corner : corners) corner.w = 1.0f;
  const VNResultEnum result = param->TransformVertices(corners, render::SVertex2D::GetFormat(), 2);
  const math::Color& colour = graphics->GetColor();
  const auto byte = [](float channel) { return uint32_t(channel * 255.0f + 0.5f); };
  mDrawn.push_back(Drawn{text, corners[0].x, corners[0].y, (corners[1].x - corners[0].x) / 10.0f,
                         byte(colour.a) << 24 | byte(colour.r) << 16 | byte(colour.g) << 8 | byte(colour.b)});
  return result;
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
