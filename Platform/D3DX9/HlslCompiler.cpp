#include "Platform/D3DX9/HlslCompiler.h"

#include <glslang/MachineIndependent/localintermediate.h>
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv_cross_c.h>

#include <cctype>
#include <memory>
#include <mutex>
#include <utility>

namespace d3dx9 {

namespace {

constexpr UINT kRegisterBytes = 16;
constexpr const char* kGlobalBlock = "$Global";

std::string Semantic(spvc_compiler compiler, spvc_variable_id id) {
  const char* text = spvc_compiler_get_decoration_string(compiler, id, SpvDecorationUserSemantic);
  std::string semantic = text != nullptr ? text : "";
  for (char& c : semantic) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (!semantic.empty() && !std::isdigit(static_cast<unsigned char>(semantic.back()))) semantic += '0';
  return semantic;
}

bool IsBuiltIn(spvc_compiler compiler, spvc_variable_id id) {
  return spvc_compiler_has_decoration(compiler, id, SpvDecorationBuiltIn) != 0;
}

bool ParseHlsl(std::string_view source, const char* entry, ShaderStage stage, std::vector<std::uint32_t>* spirv,
               std::string* messages) {
  static std::once_flag sInit;
  std::call_once(sInit, [] { glslang::InitializeProcess(); });

  const EShLanguage language = stage == ShaderStage::kVertex ? EShLangVertex : EShLangFragment;
  const auto rules = static_cast<EShMessages>(EShMsgReadHlsl | EShMsgHlslDX9Compatible | EShMsgSpvRules);
  glslang::TShader shader(language);
  const char* text = source.data();
  const int length = static_cast<int>(source.size());
  shader.setStringsWithLengths(&text, &length, 1);
  shader.setEntryPoint(entry);
  shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientOpenGL, 100);
  shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
  shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
  shader.setEnvTargetHlslFunctionality1();  // keeps the semantics in the SPIR-V for linking by name
  shader.setAutoMapLocations(true);
  if (!shader.parse(GetDefaultResources(), 100, false, rules)) {
    *messages = shader.getInfoLog();
    return false;
  }
  // The HLSL front end accepts a text without the entry point and translates an empty program.
  if (shader.getIntermediate()->getNumEntryPoints() == 0) {
    *messages = std::string("ERROR: entry point '") + entry + "' not found\n";
    return false;
  }
  glslang::TProgram program;
  program.addShader(&shader);
  if (!program.link(rules)) {
    *messages = std::string(shader.getInfoLog()) + program.getInfoLog();
    return false;
  }
  spv::SpvBuildLogger logger;
  glslang::GlslangToSpv(*program.getIntermediate(language), *spirv, &logger);
  *messages = shader.getInfoLog();
  return true;
}

// Turns the SPIR-V of one stage into GLSL 330 following the contract of ShaderCode.h.
class CrossCompiler {
 public:
  CrossCompiler(ShaderStage stage, std::string* messages) : mStage(stage), mMessages(messages) {}
  ~CrossCompiler() {
    if (mContext != nullptr) spvc_context_destroy(mContext);
  }
  CrossCompiler(const CrossCompiler&) = delete;
  CrossCompiler& operator=(const CrossCompiler&) = delete;

  bool Run(const std::vector<std::uint32_t>& spirv, CompiledShader* out) {
    spvc_parsed_ir ir = nullptr;
    spvc_resources resources = nullptr;
    if (!Check(spvc_context_create(&mContext)) ||
        !Check(spvc_context_parse_spirv(mContext, spirv.data(), spirv.size(), &ir)) ||
        !Check(spvc_context_create_compiler(mContext, SPVC_BACKEND_GLSL, ir, SPVC_CAPTURE_MODE_TAKE_OWNERSHIP,
                                            &mCompiler)) ||
        !Check(spvc_compiler_create_shader_resources(mCompiler, &resources))) {
      return false;
    }
    out->code.stage = mStage;
    const bool vertex = mStage == ShaderStage::kVertex;
    if (!MapInputs(resources, vertex) || !MapOutputs(resources, vertex) || !MapConstants(resources, out) ||
        !MapSamplers(resources, out) || !Emit(&out->code.glsl)) {
      return false;
    }
    return !vertex || AddPositionFixup(&out->code.glsl);
  }

 private:
  bool Fail(std::string text) {
    *mMessages += text + "\n";
    return false;
  }

  bool Check(spvc_result result) {
    if (result == SPVC_SUCCESS) return true;
    return Fail(mContext != nullptr ? spvc_context_get_last_error_string(mContext) : "SPIRV-Cross failed");
  }

  bool List(spvc_resources resources, spvc_resource_type type, const spvc_reflected_resource** list,
            size_t* count) {
    return Check(spvc_resources_get_resource_list_for_type(resources, type, list, count));
  }

  void Rename(spvc_variable_id id, const std::string& semantic) {
    spvc_compiler_set_name(mCompiler, id, (kVaryingPrefix + semantic).c_str());
  }

  bool MapInputs(spvc_resources resources, bool vertex) {
    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    if (!List(resources, SPVC_RESOURCE_TYPE_STAGE_INPUT, &list, &count)) return false;
    for (size_t i = 0; i < count; ++i) {
      if (IsBuiltIn(mCompiler, list[i].id)) continue;
      const std::string semantic = Semantic(mCompiler, list[i].id);
      if (semantic.empty()) return Fail(std::string("input '") + list[i].name + "' has no semantic");
      if (!vertex) {
        Rename(list[i].id, semantic);
        continue;
      }
      const int location = VertexInputLocation(semantic);
      if (location < 0) return Fail("unsupported vertex input semantic " + semantic);
      spvc_compiler_set_decoration(mCompiler, list[i].id, SpvDecorationLocation, static_cast<unsigned>(location));
    }
    return true;
  }

  bool MapOutputs(spvc_resources resources, bool vertex) {
    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    if (!List(resources, SPVC_RESOURCE_TYPE_STAGE_OUTPUT, &list, &count)) return false;
    for (size_t i = 0; i < count; ++i) {
      if (IsBuiltIn(mCompiler, list[i].id)) continue;
      const std::string semantic = Semantic(mCompiler, list[i].id);
      if (semantic.empty()) return Fail(std::string("output '") + list[i].name + "' has no semantic");
      if (vertex && semantic == "POSITION0") {
        spvc_compiler_set_decoration(mCompiler, list[i].id, SpvDecorationBuiltIn, SpvBuiltInPosition);
      } else if (vertex) {
        Rename(list[i].id, semantic);
      } else if (semantic.rfind("COLOR", 0) == 0 && semantic.size() == 6) {
        spvc_compiler_set_decoration(mCompiler, list[i].id, SpvDecorationLocation,
                                     static_cast<unsigned>(semantic[5] - '0'));
      } else {
        return Fail("unsupported pixel output semantic " + semantic);
      }
    }
    return true;
  }

  // Gives every constant of the global block its own registers in declaration order, as Direct3D 9
  // does, and flattens the block into the stage's register array.
  bool MapConstants(spvc_resources resources, CompiledShader* out) {
    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    if (!List(resources, SPVC_RESOURCE_TYPE_UNIFORM_BUFFER, &list, &count)) return false;
    for (size_t i = 0; i < count; ++i) {
      if (std::string_view(list[i].name) != kGlobalBlock) {
        return Fail(std::string("constant buffers are not supported: ") + list[i].name);
      }
      const spvc_type block = spvc_compiler_get_type_handle(mCompiler, list[i].base_type_id);
      const unsigned members = spvc_type_get_num_member_types(block);
      UINT next = 0;
      for (unsigned m = 0; m < members; ++m) {
        ShaderConstant constant;
        if (!DescribeMember(list[i].base_type_id, block, m, next, &constant)) return false;
        spvc_compiler_set_member_decoration(mCompiler, list[i].base_type_id, m, SpvDecorationOffset,
                                            next * kRegisterBytes);
        next += constant.desc.RegisterCount;
        out->constants.push_back(std::move(constant));
      }
      const UINT available = mStage == ShaderStage::kVertex ? kVertexRegisters : kPixelRegisters;
      if (next > available) {
        return Fail("constants need " + std::to_string(next) + " registers, the stage has " +
                    std::to_string(available));
      }
      out->code.constantRegisters = next;
      if (!Check(spvc_compiler_flatten_buffer_block(mCompiler, list[i].id))) return false;
      spvc_compiler_set_name(mCompiler, list[i].base_type_id,
                             mStage == ShaderStage::kVertex ? kVertexConstants : kPixelConstants);
    }
    return true;
  }

  bool DescribeMember(spvc_type_id blockId, spvc_type block, unsigned index, UINT registerIndex,
                      ShaderConstant* out) {
    const char* name = spvc_compiler_get_member_name(mCompiler, blockId, index);
    out->name = name != nullptr ? name : "";
    const spvc_type type = spvc_compiler_get_type_handle(mCompiler, spvc_type_get_member_type(block, index));
    if (spvc_type_get_basetype(type) != SPVC_BASETYPE_FP32) {
      return Fail("only float constants are supported: " + out->name);
    }
    size_t size = 0;
    if (!Check(spvc_compiler_get_declared_struct_member_size(mCompiler, block, index, &size))) return false;
    const unsigned columns = spvc_type_get_columns(type);
    const unsigned vectorSize = spvc_type_get_vector_size(type);
    const UINT elements = spvc_type_get_num_array_dimensions(type) > 0 ? spvc_type_get_array_dimension(type, 0) : 1;

    D3DXCONSTANT_DESC& desc = out->desc;
    desc.RegisterSet = D3DXRS_FLOAT4;
    desc.RegisterIndex = registerIndex;
    desc.RegisterCount = static_cast<UINT>((size + kRegisterBytes - 1) / kRegisterBytes);
    desc.Type = D3DXPT_FLOAT;
    desc.Elements = elements;
    if (columns > 1) {
      // SPIR-V keeps the HLSL matrix transposed: a row-major SPIR-V matrix is an HLSL column_major one,
      // whose registers hold its columns.
      const bool hlslColumns = spvc_compiler_has_member_decoration(mCompiler, blockId, index, SpvDecorationRowMajor);
      desc.Class = hlslColumns ? D3DXPC_MATRIX_COLUMNS : D3DXPC_MATRIX_ROWS;
      desc.Rows = columns;
      desc.Columns = vectorSize;
    } else {
      desc.Class = vectorSize > 1 ? D3DXPC_VECTOR : D3DXPC_SCALAR;
      desc.Rows = 1;
      desc.Columns = vectorSize;
    }
    desc.Bytes = desc.Rows * desc.Columns * elements * 4;
    return true;
  }

  // A sampler with an explicit register(sN) keeps unit N; the others take the free units in order.
  bool MapSamplers(spvc_resources resources, CompiledShader* out) {
    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    if (!List(resources, SPVC_RESOURCE_TYPE_SEPARATE_SAMPLERS, &list, &count)) return false;
    if (count > 0) return Fail("separate sampler objects are not supported: use sampler2D with tex2D");
    if (!List(resources, SPVC_RESOURCE_TYPE_SAMPLED_IMAGE, &list, &count)) return false;
    std::vector<bool> used;
    std::vector<size_t> unbound;
    std::vector<ShaderSampler> samplers(count);
    for (size_t i = 0; i < count; ++i) {
      const spvc_type type = spvc_compiler_get_type_handle(mCompiler, list[i].type_id);
      if (spvc_type_get_image_dimension(type) != SpvDim2D) {
        return Fail(std::string("only 2-D samplers are supported: ") + list[i].name);
      }
      samplers[i].name = list[i].name;
      if (!spvc_compiler_has_decoration(mCompiler, list[i].id, SpvDecorationBinding)) {
        unbound.push_back(i);
        continue;
      }
      samplers[i].unit = spvc_compiler_get_decoration(mCompiler, list[i].id, SpvDecorationBinding);
      if (samplers[i].unit >= used.size()) used.resize(samplers[i].unit + 1, false);
      used[samplers[i].unit] = true;
    }
    std::uint32_t unit = 0;
    for (size_t i : unbound) {
      while (unit < used.size() && used[unit]) ++unit;
      samplers[i].unit = unit++;
    }
    for (ShaderSampler& sampler : samplers) {
      ShaderConstant constant;
      constant.name = sampler.name;
      constant.desc.RegisterSet = D3DXRS_SAMPLER;
      constant.desc.RegisterIndex = sampler.unit;
      constant.desc.RegisterCount = 1;
      constant.desc.Class = D3DXPC_OBJECT;
      constant.desc.Type = D3DXPT_SAMPLER2D;
      constant.desc.Rows = 1;
      constant.desc.Columns = 1;
      constant.desc.Elements = 1;
      constant.desc.Bytes = 4;
      out->constants.push_back(std::move(constant));
      out->code.samplers.push_back(std::move(sampler));
    }
    return true;
  }

  bool Emit(std::string* glsl) {
    spvc_compiler_options options = nullptr;
    if (!Check(spvc_compiler_create_compiler_options(mCompiler, &options))) return false;
    spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 330);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ENABLE_420PACK_EXTENSION, SPVC_FALSE);
    const char* source = nullptr;
    if (!Check(spvc_compiler_install_compiler_options(mCompiler, options)) ||
        !Check(spvc_compiler_compile(mCompiler, &source))) {
      return false;
    }
    *glsl = source;
    return true;
  }

  // Renames the translated entry point and wraps it in a main that applies the device's fix-up.
  bool AddPositionFixup(std::string* glsl) {
    static constexpr std::string_view kMain = "\nvoid main()\n";
    const size_t at = glsl->find(kMain);
    if (at == std::string::npos) return Fail("no entry point in the translated vertex program");
    glsl->replace(at, kMain.size(), "\nvoid dx9_main()\n");
    *glsl += std::string("uniform vec4 ") + kPositionFixup + ";\n\n" +
             "void main()\n"
             "{\n"
             "    dx9_main();\n"
             "    gl_Position.xy += " + kPositionFixup + ".xy * gl_Position.w;\n"
             "    gl_Position.y *= " + kPositionFixup + ".z;\n"
             "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n"
             "}\n";
    return true;
  }

  ShaderStage mStage;
  std::string* mMessages;
  spvc_context mContext = nullptr;
  spvc_compiler mCompiler = nullptr;
};

}  // namespace

bool CompileHlsl(std::string_view source, const char* entry, ShaderStage stage, CompiledShader* out,
                 std::string* messages) {
  std::vector<std::uint32_t> spirv;
  if (!ParseHlsl(source, entry, stage, &spirv, messages)) return false;
  CompiledShader result;
  CrossCompiler cross(stage, messages);
  if (!cross.Run(spirv, &result)) return false;
  *out = std::move(result);
  return true;
}

}  // namespace d3dx9
