// The built-in programs compiled by D3DXCompileShader and drawn by the OpenGL device, read back under
// Mesa's software rasteriser (SDL's offscreen driver).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/Shaders/DX9/ShaderTexts.h"
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/GlReadback.h"
#include "Platform/D3DX9/D3DX9Shader.h"
#include "fakes/GlDeviceTestBase.h"

namespace {

using namespace d3d9;
using d3dx9::D3DXMATRIX;
using d3dx9::LPD3DXBUFFER;
using d3dx9::LPD3DXCONSTANTTABLE;

constexpr UINT kWidth = 16;
constexpr UINT kHeight = 8;
constexpr DWORD kBlack = 0xFF000000u;

struct GeomVertex {
  float x, y, z;
  DWORD color;
};
constexpr DWORD kGeomFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct TexVertex {
  float x, y, z, w;
  DWORD color;
  DWORD color2;
  float u, v;
};
constexpr DWORD kTexFvf = D3DFVF_XYZW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// The engine's screen projection: design (0, 0) to clip (-1, 1), (w, h) to (1, -1), row vectors.
D3DXMATRIX Projection(float w, float h) {
  D3DXMATRIX m = {};
  m.m[0][0] = 2.0f / w;
  m.m[1][1] = -2.0f / h;
  m.m[2][2] = 1.0f;
  m.m[3][0] = -1.0f;
  m.m[3][1] = 1.0f;
  m.m[3][3] = 1.0f;
  return m;
}

// Channel `shift` (0 blue, 8 green, 16 red, 24 alpha) of a pixel.
int Channel(DWORD pixel, int shift) { return int((pixel >> shift) & 0xFF); }

class GlProgramTest : public fakes::GlDeviceTestBase {
 protected:
  GlProgramTest() : GlDeviceTestBase(kWidth, kHeight) {}

  void SetUp() override {
    GlDeviceTestBase::SetUp();
    if (HasFatalFailure()) return;
    // The engine's default state: counter-clockwise culling, separate alpha blending one + one.
    mDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    mDevice->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    mDevice->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE);
    mDevice->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_ONE);
  }

  void TearDown() override {
    for (IUnknown* object : mObjects) object->Release();
    GlDeviceTestBase::TearDown();
  }

  template <class T>
  T* Keep(T* object) {
    mObjects.push_back(object);
    return object;
  }

  // Compiles and sets a vertex and a pixel program; the projection goes into "Proj".
  void UseProgram(const char* vertexText, const char* pixelText, float w, float h) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXCONSTANTTABLE table = nullptr;
    ASSERT_EQ(d3dx9::D3DXCompileShader(vertexText, UINT(std::strlen(vertexText)), nullptr, nullptr, "vertex_shader",
                                       "vs_1_1", 0, &code, nullptr, &table),
              D3D_OK);
    Keep(code);
    Keep(table);
    IDirect3DVertexShader9* vertex = nullptr;
    ASSERT_EQ(mDevice->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &vertex), D3D_OK);
    Keep(vertex);
    const D3DXMATRIX projection = Projection(w, h);
    ASSERT_EQ(table->SetMatrix(mDevice, table->GetConstantByName(nullptr, "Proj"), &projection), D3D_OK);

    ASSERT_EQ(d3dx9::D3DXCompileShader(pixelText, UINT(std::strlen(pixelText)), nullptr, nullptr, "pixel_shader",
                                       "ps_2_0", 0, &code, nullptr, nullptr),
              D3D_OK);
    Keep(code);
    IDirect3DPixelShader9* pixel = nullptr;
    ASSERT_EQ(mDevice->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &pixel), D3D_OK);
    Keep(pixel);
    ASSERT_EQ(mDevice->SetVertexShader(vertex), D3D_OK);
    ASSERT_EQ(mDevice->SetPixelShader(pixel), D3D_OK);
  }

  // Draws vertices as a triangle list.
  template <class Vertex>
  void Draw(const std::vector<Vertex>& vertices, DWORD fvf) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    const UINT bytes = UINT(vertices.size() * sizeof(Vertex));
    ASSERT_EQ(mDevice->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    Keep(buffer);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), bytes);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(mDevice->SetFVF(fvf), D3D_OK);
    ASSERT_EQ(mDevice->SetStreamSource(0, buffer, 0, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, UINT(vertices.size() / 3)), D3D_OK);
  }

  // A quad over pixels [left, right) x [top, bottom) with the engine's -0.5 shift, clockwise.
  static std::vector<GeomVertex> GeomQuad(float left, float top, float right, float bottom, DWORD color) {
    const float l = left - 0.5f, t = top - 0.5f, r = right - 0.5f, b = bottom - 0.5f;
    return {{l, t, 0, color}, {r, t, 0, color}, {r, b, 0, color},
            {l, t, 0, color}, {r, b, 0, color}, {l, b, 0, color}};
  }

  static std::vector<TexVertex> TexQuad(float w, float h, DWORD color, DWORD color2) {
    const float l = -0.5f, t = -0.5f, r = w - 0.5f, b = h - 0.5f;
    return {{l, t, 0, 1, color, color2, 0, 0}, {r, t, 0, 1, color, color2, 1, 0},
            {r, b, 0, 1, color, color2, 1, 1}, {l, t, 0, 1, color, color2, 0, 0},
            {r, b, 0, 1, color, color2, 1, 1}, {l, b, 0, 1, color, color2, 0, 1}};
  }

  // A 1 x 1 texture of one 0xAARRGGBB texel.
  IDirect3DTexture9* Texel(DWORD texel) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(mDevice->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    Keep(texture);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    std::memcpy(locked.pBits, &texel, sizeof(texel));
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
  }

  // A render target of the back buffer's size (it keeps alpha), made current.
  IDirect3DSurface9* Target() {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(mDevice->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                     &texture, nullptr),
              D3D_OK);
    Keep(texture);
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    Keep(surface);
    EXPECT_EQ(mDevice->SetRenderTarget(0, surface), D3D_OK);
    return surface;
  }

  DWORD ReadOne(IDirect3DSurface9* surface) {
    std::vector<DWORD> pixels;
    EXPECT_EQ(ReadSurfacePixels(surface, pixels), D3D_OK);
    return pixels.empty() ? 0 : pixels[0];
  }

  static void ExpectNear(DWORD pixel, int a, int r, int g, int b) {
    EXPECT_NEAR(Channel(pixel, 24), a, 1) << std::hex << pixel;
    EXPECT_NEAR(Channel(pixel, 16), r, 1) << std::hex << pixel;
    EXPECT_NEAR(Channel(pixel, 8), g, 1) << std::hex << pixel;
    EXPECT_NEAR(Channel(pixel, 0), b, 1) << std::hex << pixel;
  }

  std::vector<IUnknown*> mObjects;
};

TEST_F(GlProgramTest, GeometryQuadsLandOnExactPixels) {
  UseProgram(render::gVertexShaderGeomText, render::gPixelShaderGeomText, kWidth, kHeight);
  const RECT cases[] = {{2, 1, 6, 4}, {0, 0, 1, 1}, {kWidth - 1, kHeight - 1, kWidth, kHeight}, {0, 0, kWidth, kHeight}};
  for (IDirect3DSurface9* target : {mBackBuffer, static_cast<IDirect3DSurface9*>(nullptr)}) {
    if (target == nullptr) target = Target();  // a render target: stored upside down, same result
    for (const RECT& r : cases) {
      SCOPED_TRACE(std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
                   std::to_string(r.bottom));
      ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
      Draw(GeomQuad(float(r.left), float(r.top), float(r.right), float(r.bottom), 0xFFFF0000u), kGeomFvf);
      std::vector<DWORD> pixels;
      ASSERT_EQ(ReadSurfacePixels(target, pixels), D3D_OK);
      for (size_t i = 0; i < pixels.size(); ++i) {
        const LONG x = LONG(i % kWidth), y = LONG(i / kWidth);
        const bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        ASSERT_EQ(pixels[i], in ? 0xFFFF0000u : kBlack) << "pixel " << x << ", " << y;
      }
    }
  }
}

TEST_F(GlProgramTest, CounterClockwiseQuadsAreCulled) {
  UseProgram(render::gVertexShaderGeomText, render::gPixelShaderGeomText, kWidth, kHeight);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
  std::vector<GeomVertex> quad = GeomQuad(0, 0, kWidth, kHeight, 0xFFFFFFFFu);
  std::swap(quad[1], quad[2]);
  std::swap(quad[4], quad[5]);
  Draw(quad, kGeomFvf);
  EXPECT_EQ(ReadOne(mBackBuffer), kBlack);
}

TEST_F(GlProgramTest, AlphaAndAdditiveBlendingWithSeparateAlpha) {
  struct Case {
    const char* label;
    DWORD destBlend;
    int red, blue;
  };
  // Source (a 0x80, red 0xFF) over (a 0x40, blue 0x80): rgb by the mode, alpha 0x80 + 0x40 in both.
  const Case cases[] = {{"alpha", D3DBLEND_INVSRCALPHA, 0x80, 0x40}, {"additive", D3DBLEND_ONE, 0x80, 0x80}};
  UseProgram(render::gVertexShaderGeomText, render::gPixelShaderGeomText, kWidth, kHeight);
  IDirect3DSurface9* target = Target();
  mDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  mDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    mDevice->SetRenderState(D3DRS_DESTBLEND, c.destBlend);
    ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0x40000080u, 1.0f, 0), D3D_OK);
    Draw(GeomQuad(0, 0, kWidth, kHeight, 0x80FF0000u), kGeomFvf);
    ExpectNear(ReadOne(target), 0xC0, c.red, 0, c.blue);
  }
}

TEST_F(GlProgramTest, MultiplyGivesTexelTimesColour) {
  UseProgram(render::gVertexShaderTexturedMultText, render::gPixelShaderTexturedMultText, kWidth, kHeight);
  IDirect3DSurface9* target = Target();
  ASSERT_EQ(mDevice->SetTexture(0, Texel(0x80FF8040u)), D3D_OK);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
  Draw(TexQuad(kWidth, kHeight, 0xFF80FFFFu, 0), kTexFvf);
  ExpectNear(ReadOne(target), 0x80, 0x80, 0x80, 0x40);

  // A texture made between two draws does not replace the one set on the stage.
  Texel(0xFFFFFFFFu);
  ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
  Draw(TexQuad(kWidth, kHeight, 0xFF80FFFFu, 0), kTexFvf);
  ExpectNear(ReadOne(target), 0x80, 0x80, 0x80, 0x40);
}

TEST_F(GlProgramTest, TintBlendsFromTexelToColour) {
  // Second colour: green = t, blue = 1 - t. Alpha is texel alpha x colour alpha at every t.
  struct Case {
    const char* label;
    DWORD color2;
    int r, g, b;
  };
  const Case cases[] = {{"t = 0", 0x000000FFu, 0x20, 0x40, 0x60}, {"t = 1", 0x0000FF00u, 0xFF, 0x00, 0x80}};
  UseProgram(render::gVertexShaderTexturedTintText, render::gPixelShaderTexturedTintText, kWidth, kHeight);
  IDirect3DSurface9* target = Target();
  ASSERT_EQ(mDevice->SetTexture(0, Texel(0x80204060u)), D3D_OK);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_EQ(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    Draw(TexQuad(kWidth, kHeight, 0x80FF0080u, c.color2), kTexFvf);
    ExpectNear(ReadOne(target), 0x40, c.r, c.g, c.b);
  }
}

TEST_F(GlProgramTest, DrawsNeedBothPrograms) {
  IDirect3DVertexBuffer9* buffer = nullptr;
  ASSERT_EQ(mDevice->CreateVertexBuffer(sizeof(GeomVertex) * 3, D3DUSAGE_WRITEONLY, kGeomFvf, D3DPOOL_MANAGED,
                                        &buffer, nullptr),
            D3D_OK);
  Keep(buffer);
  mDevice->SetFVF(kGeomFvf);
  mDevice->SetStreamSource(0, buffer, 0, sizeof(GeomVertex));
  EXPECT_EQ(mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);

  const DWORD garbage[8] = {};
  IDirect3DPixelShader9* pixel = nullptr;
  EXPECT_EQ(mDevice->CreatePixelShader(garbage, &pixel), D3DERR_INVALIDCALL);
  const float registers[8] = {};
  EXPECT_EQ(mDevice->SetVertexShaderConstantF(255, registers, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(mDevice->SetPixelShaderConstantF(222, registers, 2), D3D_OK);
}

}  // namespace
