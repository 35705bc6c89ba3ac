// The renderer's side of the shader programs: switches, changed variables, the built-in shaders.
// The program classes come with the shader module; until it is linked in, no program exists, so
// nothing is ever switched, changed or created here.
#include "Core/Render/Render.h"

namespace render {

bool Render::HasChangedVariables(const ShaderImpl*) const { return false; }

VNResultEnum Render::NotifyProgramSwitch(ShaderImpl*, ShaderImpl*) { return VN_OK; }

VNResultEnum Render::RecordChangedVariables(ShaderImpl*) { return VN_OK; }

// Only a program writes variable records.
VNResultEnum Render::PlayShaderVariables() { return VN_FAIL; }

VNResultEnum Render::CreateBuiltInShaders() { return VN_OK; }

void Render::ReleaseBuiltInShaders() {}

void Render::NotifyProgramsLost() {}

void Render::NotifyProgramsReset() {}

}  // namespace render
