#include "Core/Render/ShaderVariable.h"

#include "Core/Base/Stream.h"
#include "Core/Render/ShaderImpl.h"

namespace render {

namespace {

template <class T>
VNResultEnum WriteValue(base::Stream* stream, const T& value) {
  return stream->Write(&value, sizeof(value)) == sizeof(value) ? VN_OK : VN_FAIL;
}

template <class T>
VNResultEnum ReadValue(base::Stream* stream, T* value) {
  return stream->Read(value, sizeof(*value)) == sizeof(*value) ? VN_OK : VN_FAIL;
}

}  // namespace

ShaderVariable::~ShaderVariable() = default;

void ShaderVariable::SetChanged(bool changed) {
  mChanged = changed ? 1 : 0;
  mOwner->SetChanged();
}

VNResultEnum ShaderScalarPointer<math::Matrix4, 1>::Write(base::Stream* stream) {
  return WriteValue(stream, mValue);
}

VNResultEnum ShaderScalarPointer<math::Matrix4, 1>::Read(base::Stream* stream) {
  const math::Matrix4* value = nullptr;
  if (ReadValue(stream, &value) != VN_OK) return VN_FAIL;
  return mSetter->SetMatrix(value);
}

void ShaderScalarPointer<math::Matrix4, 1>::SetValue(const math::Matrix4* value) {
  mValue = value;
  SetChanged(true);
}

VNResultEnum ShaderTextureVariable<1>::Write(base::Stream* stream) {
  return WriteValue(stream, mValue);
}

VNResultEnum ShaderTextureVariable<1>::Read(base::Stream* stream) {
  Texture* value = nullptr;
  if (ReadValue(stream, &value) != VN_OK) return VN_FAIL;
  return mSetter->SetTexture(value);
}

void ShaderTextureVariable<1>::SetValue(Texture* value) {
  mValue = value;
  SetChanged(true);
}

VNResultEnum ShaderScalarVariable<math::Point4, 1>::Write(base::Stream* stream) {
  const float value[4] = {mValue.x, mValue.y, mValue.z, mValue.w};
  return WriteValue(stream, value);
}

VNResultEnum ShaderScalarVariable<math::Point4, 1>::Read(base::Stream* stream) {
  float value[4];
  if (ReadValue(stream, &value) != VN_OK) return VN_FAIL;
  return mSetter->SetVector4(math::Point4(value[0], value[1], value[2], value[3]));
}

void ShaderScalarVariable<math::Point4, 1>::SetValue(const math::Point4& value) {
  mValue = value;
  SetChanged(true);
}

}  // namespace render
