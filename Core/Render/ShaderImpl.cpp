#include "Core/Render/ShaderImpl.h"

#include "Core/Base/Stream.h"
#include "Core/Render/Render.h"

namespace render {

ShaderImpl::ShaderImpl(Render* render) : mRender(render) {
  if (mRender != nullptr) mRender->AddShaderImpl(this);
}

ShaderImpl::~ShaderImpl() {
  for (ShaderVariable* variable : mVariables) delete variable;
  if (mRender != nullptr) mRender->RemoveShaderImpl(this);
}

VNResultEnum ShaderImpl::OnDeviceReset() {
  MarkAllChanged();
  return VN_OK;
}

VNResultEnum ShaderImpl::OnDeviceLost() { return VN_OK; }

VNResultEnum ShaderImpl::OnBind() { return VN_OK; }

VNResultEnum ShaderImpl::OnUnbind() {
  MarkAllChanged();
  return VN_OK;
}

template <class Variable, class Setter>
VNResultEnum ShaderImpl::AddVariable(Setter* setter, Variable** out) {
  if (setter == nullptr) return VN_FAIL;
  if (mVariables.size() >= kMaxVariables) {
    delete setter;
    return VN_FAIL;
  }
  auto* variable = new Variable(this, setter);
  mVariables.push_back(variable);
  *out = variable;
  return VN_OK;
}

VNResultEnum ShaderImpl::CreateMatrixVariable(const char* name, int kind,
                                              ShaderScalarPointer<math::Matrix4, 1>** out) {
  return AddVariable(CreateScalarVariableImpl(name, kind), out);
}

VNResultEnum ShaderImpl::CreateTextureVariable(const char* name, ShaderTextureVariable<1>** out) {
  return AddVariable(CreateTextureVariableImpl(name), out);
}

VNResultEnum ShaderImpl::CreateVector4Variable(const char* name, int kind,
                                               ShaderScalarVariable<math::Point4, 1>** out) {
  return AddVariable(CreateScalarVariableImpl(name, kind), out);
}

VNResultEnum ShaderImpl::WriteChangedVariables(base::Stream* stream) {
  std::uint8_t count = 0;
  for (const ShaderVariable* variable : mVariables) count += variable->IsChanged() ? 1 : 0;
  if (stream->Write(&count, 1) != 1) return VN_FAIL;
  for (std::size_t i = 0; i < mVariables.size(); ++i) {
    ShaderVariable* variable = mVariables[i];
    if (!variable->IsChanged()) continue;
    const auto index = static_cast<std::uint8_t>(i);
    if (stream->Write(&index, 1) != 1 || variable->Write(stream) != VN_OK) return VN_FAIL;
    variable->SetChanged(false);
  }
  mChanged = 0;
  return VN_OK;
}

VNResultEnum ShaderImpl::ReadVariables(base::Stream* stream) {
  std::uint8_t count = 0;
  if (stream->Read(&count, 1) != 1) return VN_FAIL;
  for (unsigned n = 0; n < count; ++n) {
    std::uint8_t index = 0;
    if (stream->Read(&index, 1) != 1 || index >= mVariables.size()) return VN_FAIL;
    const VNResultEnum result = mVariables[index]->Read(stream);
    if (result != VN_OK) return result;
  }
  return VN_OK;
}

void ShaderImpl::MarkAllChanged() {
  for (ShaderVariable* variable : mVariables) variable->SetChanged(true);
}

}  // namespace render
