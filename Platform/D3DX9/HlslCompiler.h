#pragma once
// HLSL (Direct3D 9 dialect) -> SPIR-V (glslang) -> GLSL 330 (SPIRV-Cross), with the stage's constants.
#include <string>
#include <string_view>
#include <vector>

#include "Platform/D3DX9/D3DX9Shader.h"
#include "Platform/D3D9/ShaderCode.h"

namespace d3dx9 {

// The device's code format, which the compiler produces.
using d3d9::kPixelConstants;
using d3d9::kPixelRegisters;
using d3d9::kPositionFixup;
using d3d9::kVaryingPrefix;
using d3d9::kVertexConstants;
using d3d9::kVertexRegisters;
using d3d9::ShaderCode;
using d3d9::ShaderSampler;
using d3d9::ShaderStage;
using d3d9::VertexInputLocation;
using d3d9::WriteShaderCode;

// One constant of a stage; `desc.Name` is left null (the table points it at `name`).
struct ShaderConstant {
  std::string name;
  D3DXCONSTANT_DESC desc{};
};

struct CompiledShader {
  ShaderCode code;
  std::vector<ShaderConstant> constants;  // float4 constants in register order, then samplers
};

// Compiles `entry` of `source` for `stage`. False with the reason in *messages on any failure;
// on success *messages holds the compiler's warnings (usually empty).
bool CompileHlsl(std::string_view source, const char* entry, ShaderStage stage, CompiledShader* out,
                 std::string* messages);

}  // namespace d3dx9
