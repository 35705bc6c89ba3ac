// The application's order at exit: the window (and its GL context) goes first, then the renderer
// with everything it made. The process must end normally.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Texture.h"
#include "tests/fakes/GlRenderWindow.h"

namespace {

const std::string kWindowFirstImage = std::string(QM_SOURCE_DIR) + "/tests/data/images/arrow.png";

// Makes textures of every kind, draws with the built-in shaders and buffers, destroys the window,
// then the objects and the renderer; exits with 0 when nothing called GL without a context.
void CloseWindowBeforeTheRenderer() {
  auto window = std::make_unique<fakes::GlRenderWindow>(64, 64);
  render::RenderDX9* render = window->GetRender();
  if (!render) std::exit(2);
  render::Image* loaded = nullptr;
  const std::string& path = kWindowFirstImage;
  if (render->LoadImage(std::u16string(path.begin(), path.end()), nullptr, &loaded, nullptr) != VN_OK) {
    std::exit(3);
  }
  std::unique_ptr<render::Image> image(loaded);
  render::RenderTarget* rawTarget = nullptr;
  if (render->CreateRenderTarget(32, 32, &rawTarget, true) != VN_OK) std::exit(4);
  std::unique_ptr<render::RenderTarget> target(rawTarget);
  render::Texture* dynamic = nullptr;
  if (render->CreateTexture(dynamic) != VN_OK || dynamic->CreateDynamic(16, 16) != VN_OK) std::exit(5);
  std::unique_ptr<render::Texture> dynamicOwner(dynamic);
  {
    render::Graphics g(target.get());
    g.DrawImage(image.get()).Translate({4, 4});
  }
  const bool drawn = fakes::DrawScreenFrame(*render, [&](render::Graphics& g) {
    g.FillRect({1, 1, 8, 8});
    g.DrawImage(target.get()).Translate({16, 16});
  });
  if (!drawn) std::exit(6);

  window->DestroyWindow();
  // A frame without a window fails; it must not reach GL either.
  fakes::DrawScreenFrame(*render, [](render::Graphics& g) { g.FillRect({0, 0, 4, 4}); });
  dynamicOwner.reset();
  target.reset();
  image.reset();
  window.reset();
  std::exit(0);
}

TEST(WindowFirstGlTest, ClosingTheWindowBeforeTheRendererEndsNormally) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(CloseWindowBeforeTheRenderer(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
