#pragma once
// The compiled shader format of the OpenGL device: what CreateVertexShader / CreatePixelShader take
// and D3DXCompileShader produces. GLSL 330 plus what the device needs to link and feed the program.
// The contract:
// - Constants live in one `uniform vec4` array per stage (kVertexConstants / kPixelConstants), one
//   element per Direct3D 9 float4 register; SetVertexShaderConstantF / SetPixelShaderConstantF data
//   is uploaded to it. `constantRegisters` is its length (0: the stage has no array).
// - Samplers are `uniform sampler2D <name>`; the device sets each to its texture unit (the register).
// - Vertex inputs sit at fixed attribute locations by semantic (VertexInputLocation).
// - Varyings are named by semantic ("dx9_COLOR0", "dx9_TEXCOORD1"), so any vertex program links with
//   any pixel program that reads a subset of its outputs.
// - The vertex program ends with a position fix-up from the vec4 uniform kPositionFixup:
//   xy += fixup.xy * w (the half-pixel shift that puts Direct3D 9 pixel centres on integer
//   coordinates: 1 / width, -1 / height), then y *= fixup.z (-1 for a target stored top row first,
//   as the device stores all of them), then z = 2 z - w (depth 0..1 to -1..1).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace d3d9 {

enum class ShaderStage : std::uint32_t { kVertex = 0, kPixel = 1 };

// Float4 registers of the vertex and the pixel stage.
constexpr std::uint32_t kVertexRegisters = 256;
constexpr std::uint32_t kPixelRegisters = 224;

constexpr const char* kVertexConstants = "dx9_VSConst";
constexpr const char* kPixelConstants = "dx9_PSConst";
constexpr const char* kPositionFixup = "dx9_PosFixup";
constexpr const char* kVaryingPrefix = "dx9_";

struct ShaderSampler {
  std::string name;
  std::uint32_t unit = 0;
};

struct ShaderCode {
  ShaderStage stage = ShaderStage::kVertex;
  std::uint32_t constantRegisters = 0;
  std::vector<ShaderSampler> samplers;
  std::string glsl;
};

// Attribute location of a vertex input semantic ("POSITION", "COLOR1", "TEXCOORD0"; upper case, with its
// index): POSITION 0, COLOR0 1 (diffuse), COLOR1 2 (specular), NORMAL 3, TEXCOORD0..7 4..11, PSIZE 12;
// -1 when unsupported.
int VertexInputLocation(std::string_view semantic);

// Serialises the code into 4-byte words (the form the device's creation calls take).
std::vector<std::uint32_t> WriteShaderCode(const ShaderCode& code);

// Size in bytes of serialised code from its header; 0 when `data` does not start with a valid header.
std::size_t ShaderCodeSize(const void* data);

// Parses serialised code of ShaderCodeSize bytes; false when it is malformed or needs more registers
// than its stage has.
bool ReadShaderCode(const void* data, ShaderCode* out);

}  // namespace d3d9
