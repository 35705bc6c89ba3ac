// Shader resources on the Direct3D 9 back end over the recording device (real compilation, recorded
// device calls), and program switches in the renderer's recording.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Base/MemoryStream.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/LoadShader.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Render/ShaderTextured.h"
#include "Game/Art/TMobShader.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/RecordingDevice.h"
#include "fakes/RecordingRender.h"

namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

constexpr const char16_t* kMobShader = u"ruv/Shaders/MobShader/DX/";

std::string ReadSource(const std::string& path) {
  std::ifstream file(std::string(QM_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class WindowlessRenderDX9 : public render::RenderDX9 {
 protected:
  win32::HWND GetWindowHandle() const override { return nullptr; }
  bool IsWindowUsable() const override { return true; }
  void Sleep(unsigned) override {}
};

// The back end on the recording device, in a temporary current folder that holds the shader texts.
class ShaderResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mPrevious = fs::current_path();
    mRoot = fs::temp_directory_path() / ("qm-shaders-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(mRoot);
    fs::current_path(mRoot);
    render::RenderInitParam param;
    param.mWidth = 800;
    param.mHeight = 600;
    param.mWindowed = true;
    ASSERT_EQ(mRender->InitRender(nullptr, param), VN_OK);
  }

  void TearDown() override {
    mMob = {};
    mRender.reset();
    EXPECT_EQ(mD3D.mLiveObjects, 0);
    fs::current_path(mPrevious);
    fs::remove_all(mRoot);
  }

  // Writes <name>VS.hlsl and <name>PS.hlsl.
  void WriteTexts(const std::string& name, const std::string& vertex, const std::string& pixel) {
    fs::create_directories(mRoot / fs::path(name));
    std::ofstream(mRoot / (name + "VS.hlsl"), std::ios::binary) << vertex;
    std::ofstream(mRoot / (name + "PS.hlsl"), std::ios::binary) << pixel;
  }

  void WriteEnemyTexts(const std::string& pixel) {
    WriteTexts("ruv/Shaders/MobShader/DX/", ReadSource("data/ruv/Shaders/MobShader/DX/VS.hlsl"), pixel);
  }

  fakes::RecordingD3D mD3D;
  std::unique_ptr<WindowlessRenderDX9> mRender = std::make_unique<WindowlessRenderDX9>();
  resource::ResourcePtr<TMobShader> mMob;
  fs::path mRoot;
  fs::path mPrevious;
};

TEST_F(ShaderResourceTest, StartUpMakesTheThreeBuiltInShaders) {
  EXPECT_EQ(mD3D.CallsStartingWith("CreateVertexShader(code)").size(), 3u);
  EXPECT_EQ(mD3D.CallsStartingWith("CreatePixelShader(code)").size(), 3u);
  resource::ResourcePtr<render::Shader> geom;
  resource::ResourcePtr<render::ShaderTextured> textured;
  resource::ResourcePtr<render::ShaderTextured> tint;
  ASSERT_EQ(mRender->GetGeomShader(geom), VN_OK);
  ASSERT_EQ(mRender->GetTexturedShader(textured), VN_OK);
  ASSERT_EQ(mRender->GetTintShader(tint), VN_OK);
  for (render::Shader* shader : {geom.Get(), static_cast<render::Shader*>(textured.Get()),
                                 static_cast<render::Shader*>(tint.Get())}) {
    ASSERT_NE(shader, nullptr);
    EXPECT_TRUE(shader->IsLoaded());
    EXPECT_NE(shader->GetProgram(), nullptr);
  }
  EXPECT_EQ(geom.GetCount(), nullptr);  // held without a count: the renderer keeps them
  EXPECT_EQ(mRender->GetShaderImpls().size(), 3u);
}

TEST_F(ShaderResourceTest, EnemyShaderRecordsAndAppliesItsVariablesInOrder) {
  WriteEnemyTexts(ReadSource("data/ruv/Shaders/MobShader/DX/PS.hlsl"));
  const int before = mD3D.mLiveObjects;
  ASSERT_EQ(mRender->LoadShader<TMobShader>(kMobShader, mMob), VN_OK);
  ASSERT_TRUE(mMob);
  ASSERT_NE(mMob->GetColor2(), nullptr);
  EXPECT_EQ(mD3D.mLiveObjects, before + 2);

  render::Texture* texture = nullptr;
  ASSERT_EQ(mRender->CreateTexture(texture), VN_OK);
  std::unique_ptr<render::Texture> owned(texture);
  ASSERT_EQ(texture->CreateRenderTarget(4, 4), VN_OK);
  math::Matrix4 projection;
  ASSERT_EQ(mRender->BuildProjection(800.0f, 600.0f, nullptr, projection), VN_OK);
  mMob->GetColor2()->SetValue(math::Point4(1.0f, 0.5f, 0.25f, 1.0f));
  ASSERT_EQ(mMob->SetProjection(&projection), VN_OK);
  ASSERT_EQ(mMob->SetTexture(texture), VN_OK);

  base::MemoryStream stream;
  ASSERT_EQ(mMob->GetProgram()->WriteChangedVariables(&stream), VN_OK);
  const unsigned char* record = stream.GetBuffer();
  const size_t pointer = sizeof(void*);
  ASSERT_EQ(stream.GetPosition(), 1 + (1 + 16) + (1 + pointer) + (1 + pointer));
  EXPECT_EQ(record[0], 3);
  EXPECT_EQ(record[1], 0);                          // "color2"
  EXPECT_EQ(record[1 + 17], 1);                     // "Proj"
  EXPECT_EQ(record[1 + 17 + 1 + pointer], 2);       // "TextureSampler"

  mD3D.ClearCalls();
  stream.Seek(0, base::Stream::kBegin);
  ASSERT_EQ(mMob->GetProgram()->ReadVariables(&stream), VN_OK);
  // The projection goes in as its columns: the first is (2 / 800, 0, 0, -1).
  EXPECT_EQ(mD3D.Calls(), (Calls{"SetPixelShaderConstantF(0, 1, 1.000000, 0.500000, 0.250000, 1.000000)",
                                 "SetVertexShaderConstantF(0, 4, 0.002500, 0.000000, 0.000000, -1.000000)",
                                 "SetTexture(0, texture)"}));
  owned.reset();

  mMob = {};  // the last handle unloads and deletes the shader and its program
  EXPECT_EQ(mD3D.mLiveObjects, before);
}

TEST_F(ShaderResourceTest, LoadFailuresLeaveTheHandleAsItWas) {
  fakes::MainLogRecorder log;
  struct Case {
    const char* label;
    const char* pixel;  // null: no files at all
    const char16_t* logged;
  };
  const Case cases[] = {
      // A program without "color2" fails the load instead of failing every frame later.
      {"no color2", "sampler2D TextureSampler;\nfloat4 pixel_shader(float2 uv : TEXCOORD0) : COLOR0\n"
                    "{\n    return tex2D(TextureSampler, uv);\n}\n", nullptr},
      {"no sampler", "float4 color2;\nfloat4 pixel_shader() : COLOR0\n{\n    return color2;\n}\n", nullptr},
      {"broken", "float4 pixel_shader() : COLOR0\n{\n    return undeclared_name;\n}\n", u"undeclared_name"},
      {"missing files", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(mRoot / "ruv");
    if (c.pixel != nullptr) WriteEnemyTexts(c.pixel);
    const int before = mD3D.mLiveObjects;
    EXPECT_EQ(mRender->LoadShader<TMobShader>(kMobShader, mMob), VN_FAIL);
    EXPECT_FALSE(mMob);
    EXPECT_EQ(mD3D.mLiveObjects, before);  // nothing of the failed program is kept
    if (c.logged != nullptr) {
      EXPECT_NE(log.Text().find(c.logged), std::u16string::npos);
    }
  }

  // A later good load replaces the empty handle; a failed one keeps the loaded shader it held.
  WriteEnemyTexts(ReadSource("data/ruv/Shaders/MobShader/DX/PS.hlsl"));
  ASSERT_EQ(mRender->LoadShader<TMobShader>(kMobShader, mMob), VN_OK);
  TMobShader* loaded = mMob.Get();
  resource::ResourcePtr<TMobShader> other = mMob;
  EXPECT_EQ(mRender->LoadShader<TMobShader>(u"elsewhere/", other), VN_FAIL);
  EXPECT_EQ(other.Get(), loaded);
}

// Program switches in the renderer's recording: the program that is switched away from sends all
// its variables again when it comes back.
TEST(ShaderSwitchTest, SwitchingBackResendsEveryVariable) {
  fakes::RecordingRender render;
  ASSERT_EQ(render.Init(), VN_OK);
  render::ShaderImpl* a = nullptr;
  render::ShaderImpl* b = nullptr;
  ASSERT_EQ(render.CreateShaderImpl("", "", a), VN_OK);
  ASSERT_EQ(render.CreateShaderImpl("", "", b), VN_OK);
  std::unique_ptr<render::ShaderImpl> ownedA(a), ownedB(b);
  render::ShaderScalarPointer<math::Matrix4, 1>* proj = nullptr;
  render::ShaderTextureVariable<1>* sampler = nullptr;
  render::ShaderScalarVariable<math::Point4, 1>* other = nullptr;
  ASSERT_EQ(a->CreateMatrixVariable("Proj", 0, &proj), VN_OK);
  ASSERT_EQ(a->CreateTextureVariable("TextureSampler", &sampler), VN_OK);
  ASSERT_EQ(b->CreateVector4Variable("Other", 1, &other), VN_OK);
  math::Matrix4 matrix;
  proj->SetValue(&matrix);

  render::DrawState first, second, third;
  first.mShader = a;
  second.mShader = b;
  third.mShader = a;
  ASSERT_EQ(render.BeginFrame(), VN_OK);
  uint32_t start = 0;
  for (const render::DrawState* state : {&first, &first, &second, &third}) {
    ASSERT_EQ(render.SetState(*state, false), VN_OK);
    ASSERT_EQ(render.Draw(render::Render::kTriangleList, start, 1), VN_OK);
    start += 3;
  }
  ASSERT_EQ(render.EndFrame(), VN_OK);
  render.mCalls.clear();
  ASSERT_EQ(render.PlayCommands(), VN_OK);
  Calls played;
  for (const std::string& call : render.mCalls) {
    if (call.rfind("Set", 0) == 0 && call.rfind("SetBlend", 0) != 0) played.push_back(call);
  }
  EXPECT_EQ(played, (Calls{"SetShader(program)", "SetMatrix(Proj)", "SetTexture(TextureSampler, null)",
                           "SetShader(program)", "SetVector4(Other, 0, 0, 0, 0)", "SetShader(program)",
                           "SetMatrix(Proj)", "SetTexture(TextureSampler, null)"}));
}

}  // namespace
