#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "Core/Render/Shaders/DX9/ShaderTexts.h"
#include "Platform/D3DX9/D3DX9Shader.h"
#include "Platform/D3D9/ShaderCode.h"

using namespace d3d9;
using namespace d3dx9;

namespace {

std::string ReadData(const char* path) {
  std::ifstream file(std::string(QM_SOURCE_DIR) + "/data/" + path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Result of one D3DXCompileShader call; releases what it was handed.
struct Compiled {
  HRESULT result = D3D_OK;
  LPD3DXBUFFER shader = nullptr;
  LPD3DXBUFFER messages = nullptr;
  LPD3DXCONSTANTTABLE table = nullptr;

  Compiled(const std::string& text, const char* profile) {
    const bool vertex = profile[0] == 'v';
    result = D3DXCompileShader(text.c_str(), static_cast<UINT>(text.size()), nullptr, nullptr,
                               vertex ? "vertex_shader" : "pixel_shader", profile, D3DXSHADER_DEBUG, &shader,
                               &messages, &table);
  }
  ~Compiled() {
    if (shader != nullptr) shader->Release();
    if (messages != nullptr) messages->Release();
    if (table != nullptr) table->Release();
  }
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;

  std::string Messages() const {
    return messages != nullptr ? static_cast<const char*>(messages->GetBufferPointer()) : "";
  }

  ShaderCode Code() const {
    ShaderCode code;
    EXPECT_TRUE(ReadShaderCode(shader->GetBufferPointer(), &code));
    return code;
  }

  // The description of a constant; RegisterSet is -1 when the table lacks it.
  D3DXCONSTANT_DESC Desc(const char* name) const {
    D3DXCONSTANT_DESC desc{};
    desc.RegisterSet = static_cast<D3DXREGISTER_SET>(-1);
    UINT count = 1;
    const D3DXHANDLE handle = table->GetConstantByName(nullptr, name);
    if (handle != nullptr) {
      EXPECT_EQ(table->GetConstantDesc(handle, &desc, &count), D3D_OK);
    }
    return desc;
  }
};

struct Program {
  const char* label;
  std::string text;
  const char* profile;
  std::vector<const char*> constants;  // float4 constants starting at register 0, in order
  std::vector<const char*> samplers;   // samplers on units 0, 1, ...
};

std::vector<Program> Programs() {
  return {
      {"geometry vertex", render::gVertexShaderGeomText, "vs_1_1", {"Proj"}, {}},
      {"geometry pixel", render::gPixelShaderGeomText, "ps_2_0", {}, {}},
      {"multiply vertex", render::gVertexShaderTexturedMultText, "vs_1_1", {"Proj"}, {}},
      {"multiply pixel", render::gPixelShaderTexturedMultText, "ps_2_0", {}, {"TextureSampler"}},
      {"tint vertex", render::gVertexShaderTexturedTintText, "vs_1_1", {"Proj"}, {}},
      {"tint pixel", render::gPixelShaderTexturedTintText, "ps_2_0", {}, {"TextureSampler"}},
      {"enemy vertex", ReadData("ruv/Shaders/MobShader/DX/VS.hlsl"), "vs_1_1", {"Proj"}, {}},
      {"enemy pixel", ReadData("ruv/Shaders/MobShader/DX/PS.hlsl"), "ps_2_0", {"color2"}, {"TextureSampler"}},
  };
}

TEST(CompileShaderTest, ProgramsCompileWithTheirConstants) {
  for (const Program& program : Programs()) {
    SCOPED_TRACE(program.label);
    ASSERT_FALSE(program.text.empty());
    Compiled compiled(program.text, program.profile);
    ASSERT_EQ(compiled.result, D3D_OK) << compiled.Messages();
    ASSERT_NE(compiled.shader, nullptr);
    ASSERT_NE(compiled.table, nullptr);
    EXPECT_EQ(compiled.messages, nullptr) << compiled.Messages();

    const ShaderCode code = compiled.Code();
    const bool vertex = program.profile[0] == 'v';
    EXPECT_EQ(code.stage, vertex ? ShaderStage::kVertex : ShaderStage::kPixel);
    EXPECT_EQ(code.glsl.rfind("#version 330", 0), 0u) << code.glsl;
    EXPECT_EQ(code.glsl.find(kPositionFixup) != std::string::npos, vertex);

    UINT next = 0;
    for (const char* name : program.constants) {
      const D3DXCONSTANT_DESC desc = compiled.Desc(name);
      EXPECT_EQ(desc.RegisterSet, D3DXRS_FLOAT4) << name;
      EXPECT_STREQ(desc.Name, name);
      EXPECT_EQ(desc.RegisterIndex, next) << name;
      next += desc.RegisterCount;
    }
    EXPECT_EQ(code.constantRegisters, next);
    ASSERT_EQ(code.samplers.size(), program.samplers.size());
    for (UINT unit = 0; unit < program.samplers.size(); ++unit) {
      const D3DXCONSTANT_DESC desc = compiled.Desc(program.samplers[unit]);
      EXPECT_EQ(desc.RegisterSet, D3DXRS_SAMPLER);
      EXPECT_EQ(desc.RegisterIndex, unit);
      EXPECT_EQ(code.samplers[unit].name, program.samplers[unit]);
      EXPECT_EQ(code.samplers[unit].unit, unit);
    }
    // What the engine's programs do not have is not found.
    EXPECT_EQ(compiled.table->GetConstantByName(nullptr, "missing"), nullptr);
  }
}

TEST(CompileShaderTest, ProjectionIsAColumnMajorMatrixInFourRegisters) {
  Compiled compiled(render::gVertexShaderTexturedTintText, "vs_1_1");
  ASSERT_EQ(compiled.result, D3D_OK) << compiled.Messages();
  const D3DXCONSTANT_DESC proj = compiled.Desc("Proj");
  EXPECT_EQ(proj.Class, D3DXPC_MATRIX_COLUMNS);
  EXPECT_EQ(proj.Type, D3DXPT_FLOAT);
  EXPECT_EQ(proj.RegisterCount, 4u);
  EXPECT_EQ(proj.Rows, 4u);
  EXPECT_EQ(proj.Columns, 4u);
  EXPECT_EQ(proj.Bytes, 64u);
}

TEST(CompileShaderTest, BrokenTextFailsWithTheCompilersMessage) {
  const std::string broken = "float4 pixel_shader() : COLOR0\n{\n    return undeclared_name;\n}\n";
  Compiled compiled(broken, "ps_2_0");
  EXPECT_EQ(compiled.result, D3DXERR_INVALIDDATA);
  EXPECT_EQ(compiled.shader, nullptr);
  EXPECT_EQ(compiled.table, nullptr);
  EXPECT_NE(compiled.Messages().find("undeclared_name"), std::string::npos) << compiled.Messages();

  Compiled noEntry(render::gPixelShaderGeomText, "vs_1_1");  // no "vertex_shader" in a pixel text
  EXPECT_EQ(noEntry.result, D3DXERR_INVALIDDATA);
  EXPECT_FALSE(noEntry.Messages().empty());
}

TEST(CompileShaderTest, RefusedArgumentsSayWhy) {
  const std::string text = render::gPixelShaderGeomText;
  Compiled badProfile(text, "gs_4_0");
  EXPECT_EQ(badProfile.result, D3DERR_INVALIDCALL);
  EXPECT_NE(badProfile.Messages().find("gs_4_0"), std::string::npos);

  const D3DXMACRO defines[] = {{"X", "1"}, {nullptr, nullptr}};
  LPD3DXBUFFER shader = nullptr;
  LPD3DXBUFFER messages = nullptr;
  EXPECT_EQ(D3DXCompileShader(text.c_str(), static_cast<UINT>(text.size()), defines, nullptr, "pixel_shader",
                              "ps_2_0", 0, &shader, &messages, nullptr),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(shader, nullptr);
  ASSERT_NE(messages, nullptr);
  messages->Release();
}

TEST(CompileShaderTest, VaryingsAreNamedBySemanticNotOrder) {
  const std::string vertex = R"(
struct VS_OUTPUT { float2 b : TEXCOORD1; float4 position : POSITION; float4 a : COLOR; };
VS_OUTPUT vertex_shader(float4 p : POSITION)
{
    VS_OUTPUT o;
    o.b = p.xy; o.position = p; o.a = p;
    return o;
}
)";
  const std::string pixel = R"(
float4 pixel_shader(float4 a : COLOR0, float2 b : TEXCOORD1) : COLOR
{
    return a + b.xyxy;
}
)";
  Compiled vs(vertex, "vs_2_0");
  Compiled ps(pixel, "ps_2_0");
  ASSERT_EQ(vs.result, D3D_OK) << vs.Messages();
  ASSERT_EQ(ps.result, D3D_OK) << ps.Messages();
  const std::string vsText = vs.Code().glsl;
  const std::string psText = ps.Code().glsl;
  EXPECT_NE(vsText.find("out vec4 dx9_COLOR0;"), std::string::npos) << vsText;
  EXPECT_NE(vsText.find("out vec2 dx9_TEXCOORD1;"), std::string::npos) << vsText;
  EXPECT_NE(vsText.find("gl_Position"), std::string::npos) << vsText;
  EXPECT_NE(psText.find("in vec4 dx9_COLOR0;"), std::string::npos) << psText;
  EXPECT_NE(psText.find("in vec2 dx9_TEXCOORD1;"), std::string::npos) << psText;
  EXPECT_NE(psText.find("layout(location = 0) out vec4"), std::string::npos) << psText;
}

TEST(CompileShaderTest, ConstantsTakeWholeRegistersInDeclarationOrder) {
  const std::string pixel = R"(
float a;
float2 b;
row_major float4x4 m;
float4 list[3];
float4x3 narrow;
row_major float4x3 tall;
sampler2D second : register(s1);
sampler2D first;
float4 pixel_shader(float2 uv : TEXCOORD0) : COLOR0
{
    return a + b.x + mul(float4(uv, 0, 1), m) + list[2] + mul(float4(uv, 0, 1), narrow).xyzz +
           mul(float4(uv, 0, 1), tall).xyzz + tex2D(first, uv) + tex2D(second, uv);
}
)";
  Compiled compiled(pixel, "ps_2_0");
  ASSERT_EQ(compiled.result, D3D_OK) << compiled.Messages();
  struct Expected {
    const char* name;
    UINT index, count;
    D3DXPARAMETER_CLASS cls;
  };
  const Expected table[] = {
      {"a", 0, 1, D3DXPC_SCALAR}, {"b", 1, 1, D3DXPC_VECTOR}, {"m", 2, 4, D3DXPC_MATRIX_ROWS},
      {"list", 6, 3, D3DXPC_VECTOR}, {"narrow", 9, 3, D3DXPC_MATRIX_COLUMNS}, {"tall", 12, 4, D3DXPC_MATRIX_ROWS}};
  for (const Expected& e : table) {
    const D3DXCONSTANT_DESC desc = compiled.Desc(e.name);
    EXPECT_EQ(desc.RegisterIndex, e.index) << e.name;
    EXPECT_EQ(desc.RegisterCount, e.count) << e.name;
    EXPECT_EQ(desc.Class, e.cls) << e.name;
  }
  EXPECT_EQ(compiled.Desc("list").Elements, 3u);
  EXPECT_EQ(compiled.Desc("narrow").Rows, 4u);
  EXPECT_EQ(compiled.Desc("narrow").Columns, 3u);
  EXPECT_EQ(compiled.Desc("tall").Rows, 4u);
  EXPECT_EQ(compiled.Desc("tall").Columns, 3u);
  EXPECT_EQ(compiled.Code().constantRegisters, 16u);
  EXPECT_EQ(compiled.Desc("second").RegisterIndex, 1u);
  EXPECT_EQ(compiled.Desc("first").RegisterIndex, 0u);
}

TEST(CompileShaderTest, ConstantsBeyondTheStagesRegistersFail) {
  const std::string pixel = "float4 big[225];\nfloat4 pixel_shader() : COLOR0\n{\n    return big[224];\n}\n";
  Compiled compiled(pixel, "ps_2_0");
  EXPECT_EQ(compiled.result, D3DXERR_INVALIDDATA);
  EXPECT_NE(compiled.Messages().find("225 registers"), std::string::npos) << compiled.Messages();
}

TEST(CompileShaderTest, UnsupportedInputsFailWithAMessage) {
  const std::string blend = R"(
float4 vertex_shader(float4 p : POSITION, float4 w : BLENDWEIGHT) : POSITION
{
    return p * w;
}
)";
  Compiled compiled(blend, "vs_2_0");
  EXPECT_EQ(compiled.result, D3DXERR_INVALIDDATA);
  EXPECT_NE(compiled.Messages().find("BLENDWEIGHT"), std::string::npos) << compiled.Messages();
}

TEST(CompileShaderTest, HandlesOfAnotherTableAreRefused) {
  Compiled a(render::gVertexShaderGeomText, "vs_1_1");
  Compiled b(render::gVertexShaderGeomText, "vs_1_1");
  ASSERT_EQ(a.result, D3D_OK);
  ASSERT_EQ(b.result, D3D_OK);
  D3DXCONSTANT_DESC desc{};
  UINT count = 1;
  EXPECT_EQ(b.table->GetConstantDesc(a.table->GetConstantByName(nullptr, "Proj"), &desc, &count),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(b.table->GetConstantDesc(nullptr, &desc, &count), D3DERR_INVALIDCALL);
  EXPECT_EQ(b.table->GetConstantByName(b.table->GetConstantByName(nullptr, "Proj"), "Proj"), nullptr);
}

}  // namespace
