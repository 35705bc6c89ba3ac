// Textures from image files on the OpenGL device (Mesa's software rasteriser, SDL's offscreen
// driver): every format and every stored mip level is created and filled.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Image.h"
#include "tests/fakes/GlRenderWindow.h"

namespace {

const std::string kData = std::string(QM_SOURCE_DIR) + "/tests/data/images/";

class TextureGlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mWindow.GetRender(), nullptr); }

  fakes::GlRenderWindow mWindow{64, 64};
};

struct FileCase {
  const char* file;
  int width, height;
  int solidX, solidY;  // a solid pixel
  int clearX, clearY;  // a transparent one
};

TEST_F(TextureGlTest, EveryFormatLoadsWithItsHitMask) {
  const FileCase cases[] = {
      {"arrow.png", 32, 32, 16, 2, 0, 0},
      {"checker_dxt1.dds", 32, 32, 4, 0, 0, 0},  // block (0, 0) is transparent
      {"fade_dxt5.dds", 16, 16, 0, 0, 15, 15},
      {"quads_argb.dds", 8, 8, 7, 7, -1, 0},
      {"levels_dxt1.dds", 16, 16, 15, 15, 16, 0},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = kData + c.file;
    render::Image* image = nullptr;
    ASSERT_EQ(mWindow.GetRender()->LoadImage(std::u16string(path.begin(), path.end()), nullptr, &image, nullptr), VN_OK);
    std::unique_ptr<render::Image> owned(image);
    auto* texture = static_cast<render::TextureDX9*>(image->GetTexture());
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->GetDeviceTexture(), nullptr);
    EXPECT_EQ(texture->GetWidth(), c.width);
    EXPECT_EQ(texture->GetHeight(), c.height);
    EXPECT_TRUE(image->HitTest(c.solidX, c.solidY));
    EXPECT_FALSE(image->HitTest(c.clearX, c.clearY));
  }
}

}  // namespace
