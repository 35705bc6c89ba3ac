// Whole frames through the renderer and the Direct3D 9 back end on the OpenGL device, read back
// under Mesa's software rasteriser: the built-in geometry shader and the enemy shader.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/Buffer.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/LoadShader.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Render/ShaderTextured.h"
#include "Core/Render/Texture.h"
#include "Core/Render/Vertices.h"
#include "Game/Art/TMobShader.h"
#include "Platform/D3D9/GlReadback.h"
#include "fakes/GlRenderWindow.h"

namespace {

constexpr unsigned kFrameWidth = 16;
constexpr unsigned kFrameHeight = 8;
constexpr uint32_t kFrameBlack = 0xFF000000u;

class ShaderFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mWindow = std::make_unique<fakes::GlRenderWindow>(kFrameWidth, kFrameHeight);
    mRender = mWindow->GetRender();
    ASSERT_NE(mRender, nullptr);
  }

  void TearDown() override {
    mMob = {};
    mBuffers.clear();
    mTexture.reset();
    mWindow.reset();
  }

  // A new static vertex buffer holding the vertices.
  template <class Vertex>
  render::VertexBufferImpl* Vertices(const std::vector<Vertex>& vertices) {
    render::VertexBufferImpl* buffer = nullptr;
    EXPECT_EQ(mRender->CreateVertexBuffer(Vertex::GetFormat(), unsigned(vertices.size()), false, buffer), VN_OK);
    mBuffers.emplace_back(buffer);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(), VN_OK);
    EXPECT_EQ(buffer->Allocate(unsigned(vertices.size()), &data), VN_OK);
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(Vertex));
    EXPECT_EQ(buffer->Unlock(), VN_OK);
    return buffer;
  }

  // One frame: clear to black, then a triangle list of `triangles` from the state.
  void DrawFrame(const render::DrawState& state, uint32_t triangles) {
    ASSERT_TRUE(mRender->CheckDevice());
    ASSERT_EQ(mRender->BeginFrame(), VN_OK);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    ASSERT_EQ(mRender->Clear(render::Render::kClearTarget, black, 1.0f, 0), VN_OK);
    ASSERT_EQ(mRender->SetState(state, true), VN_OK);
    ASSERT_EQ(mRender->Draw(render::Render::kTriangleList, 0, triangles), VN_OK);
    ASSERT_EQ(mRender->EndFrame(), VN_OK);
    ASSERT_EQ(mRender->PlayCommands(), VN_OK);
  }

  std::vector<d3d9::DWORD> BackBuffer() {
    d3d9::IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(mRender->GetDevice()->GetRenderTarget(0, &surface), d3d9::D3D_OK);
    std::vector<d3d9::DWORD> pixels;
    EXPECT_EQ(d3d9::ReadSurfacePixels(surface, pixels), d3d9::D3D_OK);
    surface->Release();
    return pixels;
  }

  std::unique_ptr<fakes::GlRenderWindow> mWindow;
  render::RenderDX9* mRender = nullptr;
  // The renderer's applied state refers to the last buffer: all live as long as the renderer.
  std::vector<std::unique_ptr<render::VertexBufferImpl>> mBuffers;
  std::unique_ptr<render::Texture> mTexture;
  resource::ResourcePtr<TMobShader> mMob;
};

TEST_F(ShaderFrameTest, GeometryQuadsLandOnTheDesignPixels) {
  resource::ResourcePtr<render::Shader> geom;
  ASSERT_EQ(mRender->GetGeomShader(geom), VN_OK);
  ASSERT_EQ(geom->SetProjection(&mRender->GetProjection()), VN_OK);
  struct Case {
    unsigned left, top, right, bottom;
  };
  // A quad inside, the top-left design pixel, the bottom-right one.
  const Case cases[] = {{2, 1, 6, 4}, {0, 0, 1, 1}, {kFrameWidth - 1, kFrameHeight - 1, kFrameWidth, kFrameHeight}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    // Corners shifted by -0.5 as every 2-D vertex is, clockwise on the screen.
    const float l = float(c.left) - 0.5f, t = float(c.top) - 0.5f, r = float(c.right) - 0.5f,
                b = float(c.bottom) - 0.5f;
    const uint32_t red = 0xFFFF0000u;
    render::DrawState state;
    state.mShader = geom->GetProgram();
    state.mVertexBuffer = Vertices(std::vector<render::SVertexGeom>{
        {l, t, 0, red}, {r, t, 0, red}, {r, b, 0, red}, {l, t, 0, red}, {r, b, 0, red}, {l, b, 0, red}});
    DrawFrame(state, 2);
    const std::vector<d3d9::DWORD> pixels = BackBuffer();
    ASSERT_EQ(pixels.size(), size_t(kFrameWidth * kFrameHeight));
    for (size_t i = 0; i < pixels.size(); ++i) {
      const unsigned x = unsigned(i % kFrameWidth), y = unsigned(i / kFrameWidth);
      const bool in = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
      ASSERT_EQ(pixels[i], in ? red : kFrameBlack) << "pixel " << x << ", " << y;
    }
  }
}

TEST_F(ShaderFrameTest, EnemyShaderTintsTheTexelByColor2) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(std::string(QM_SOURCE_DIR) + "/data");
  const VNResultEnum loaded = mRender->LoadShader<TMobShader>(u"ruv/Shaders/MobShader/DX/", mMob);
  std::filesystem::current_path(previous);
  ASSERT_EQ(loaded, VN_OK);

  render::Texture* texture = nullptr;
  ASSERT_EQ(mRender->CreateTexture(texture), VN_OK);
  mTexture.reset(texture);
  ASSERT_EQ(texture->CreateDynamic(1, 1), VN_OK);
  unsigned size = 0, pitch = 0;
  void* texels = nullptr;
  ASSERT_EQ(texture->Lock(size, pitch, texels), VN_OK);
  *static_cast<uint32_t*>(texels) = 0xFF80FF40u;
  ASSERT_EQ(texture->Unlock(), VN_OK);

  ASSERT_EQ(mMob->SetProjection(&mRender->GetProjection()), VN_OK);
  ASSERT_EQ(mMob->SetTexture(texture), VN_OK);
  mMob->GetColor2()->SetValue(math::Point4(1.0f, 0.5f, 1.0f, 1.0f));
  const float l = -0.5f, t = -0.5f, r = kFrameWidth - 0.5f, b = kFrameHeight - 0.5f;
  const uint32_t color = 0xFFFFFF80u;  // the vertex colour halves blue
  render::DrawState state;
  state.mShader = mMob->GetProgram();
  state.mVertexBuffer = Vertices(std::vector<render::SVertex2D>{{l, t, 0, 1, color, 0, 0, 0},
                                                                {r, t, 0, 1, color, 0, 1, 0},
                                                                {r, b, 0, 1, color, 0, 1, 1},
                                                                {l, t, 0, 1, color, 0, 0, 0},
                                                                {r, b, 0, 1, color, 0, 1, 1},
                                                                {l, b, 0, 1, color, 0, 0, 1}});
  DrawFrame(state, 2);
  // texel (0x80, 0xFF, 0x40) x colour (1, 1, 0.5) x color2 (1, 0.5, 1).
  const d3d9::DWORD pixel = BackBuffer()[0];
  EXPECT_NEAR(int((pixel >> 16) & 0xFF), 0x80, 1) << std::hex << pixel;
  EXPECT_NEAR(int((pixel >> 8) & 0xFF), 0x80, 1) << std::hex << pixel;
  EXPECT_NEAR(int(pixel & 0xFF), 0x20, 1) << std::hex << pixel;
}

}  // namespace
