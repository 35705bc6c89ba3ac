// The renderer's side of the shader programs: switches, changed variables, the built-in shaders.
#include "Core/Render/Render.h"
#include "Core/Render/Shader.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Render/ShaderTextured.h"

namespace render {

namespace {

// Makes a program through `create`, wraps it in a built-in shader and creates its variables (their
// result is not needed: a built-in program has them).
template <class T>
VNResultEnum MakeBuiltIn(Render* render, VNResultEnum (Render::*create)(ShaderImpl*&), T** out) {
  ShaderImpl* program = nullptr;
  const VNResultEnum result = (render->*create)(program);
  if (result != VN_OK) return result;
  *out = new T(program, render);
  (*out)->InitVariables();
  return VN_OK;
}

void ReleaseBuiltIn(Shader* shader) {
  if (shader == nullptr) return;
  shader->UnLoad();
  delete shader;
}

}  // namespace

VNResultEnum Render::NotifyProgramSwitch(ShaderImpl* from, ShaderImpl* to) {
  if (from != nullptr) from->OnUnbind();
  if (to != nullptr) to->OnBind();
  return VN_OK;
}

VNResultEnum Render::RecordChangedVariables(ShaderImpl* program) {
  if (!mCommands.Put(Command::kShaderVariables, program)) return VN_FAIL;
  return program->WriteChangedVariables(&mCommands);
}

VNResultEnum Render::PlayShaderVariables() {
  ShaderImpl* program = nullptr;
  if (!mCommands.Get(program) || program == nullptr) return VN_FAIL;
  return program->ReadVariables(&mCommands);
}

VNResultEnum Render::CreateBuiltInShaders() {
  VNResultEnum result = MakeBuiltIn(this, &Render::CreateGeomShaderImpl, &mGeomShader);
  if (result == VN_OK) result = MakeBuiltIn(this, &Render::CreateTexturedShaderImpl, &mTexturedShader);
  if (result == VN_OK) result = MakeBuiltIn(this, &Render::CreateTintShaderImpl, &mTintShader);
  return result;
}

void Render::ReleaseBuiltInShaders() {
  ReleaseBuiltIn(mGeomShader);
  ReleaseBuiltIn(mTexturedShader);
  ReleaseBuiltIn(mTintShader);
  mGeomShader = nullptr;
  mTexturedShader = nullptr;
  mTintShader = nullptr;
}

VNResultEnum Render::GetGeomShader(resource::ResourcePtr<Shader>& out) {
  out = resource::ResourcePtr<Shader>(mGeomShader, nullptr);
  return VN_OK;
}

VNResultEnum Render::GetTexturedShader(resource::ResourcePtr<ShaderTextured>& out) {
  out = resource::ResourcePtr<ShaderTextured>(mTexturedShader, nullptr);
  return VN_OK;
}

VNResultEnum Render::GetTintShader(resource::ResourcePtr<ShaderTextured>& out) {
  out = resource::ResourcePtr<ShaderTextured>(mTintShader, nullptr);
  return VN_OK;
}

void Render::NotifyProgramsLost() {
  for (ShaderImpl* program : mShaderImpls) program->OnDeviceLost();
}

void Render::NotifyProgramsReset() {
  for (ShaderImpl* program : mShaderImpls) program->OnDeviceReset();
}

}  // namespace render
