#pragma once
// The shader variables of a program (ShaderImpl). A variable holds its value by meaning; when the value
// changes it is marked, and the program writes the marked values into the command buffer (its variable
// record) for the back-end setter to apply during playback.
#include <cstdint>

#include "Core/Base/Result.h"
#include "Core/Math/Matrix4.h"
#include "Core/Math/Point.h"
#include "Core/Render/ShaderVariableImpl.h"

namespace base {
class Stream;
}

namespace render {

class ShaderImpl;

class ShaderVariable {
 public:
  explicit ShaderVariable(ShaderImpl* owner) : mOwner(owner) {}
  ShaderVariable(const ShaderVariable&) = delete;
  ShaderVariable& operator=(const ShaderVariable&) = delete;
  // Frees nothing; each variable deletes its own setter.
  virtual ~ShaderVariable();

  // Appends the value's bytes to the stream; 1 on a short write.
  virtual VNResultEnum Write(base::Stream* stream) = 0;
  // Reads a value written by Write and applies it through the setter; 1 on a short read, else the
  // setter's code.
  virtual VNResultEnum Read(base::Stream* stream) = 0;

  // The variable's flag becomes `changed`; the owner is marked changed in any case.
  void SetChanged(bool changed);
  bool IsChanged() const { return mChanged != 0; }

 protected:
  ShaderImpl* mOwner;
  std::uint8_t mChanged = 1;
};

template <class T, int N>
class ShaderScalarPointer;
template <int N>
class ShaderTextureVariable;
template <class T, int N>
class ShaderScalarVariable;

// A matrix sent by pointer: the matrix must stay alive and unchanged until the frame is played back.
template <>
class ShaderScalarPointer<math::Matrix4, 1> final : public ShaderVariable {
 public:
  // Takes ownership of the setter; the value starts null.
  ShaderScalarPointer(ShaderImpl* owner, ShaderScalarVariableImpl* setter) : ShaderVariable(owner), mSetter(setter) {}
  ~ShaderScalarPointer() override { delete mSetter; }

  VNResultEnum Write(base::Stream* stream) override;
  VNResultEnum Read(base::Stream* stream) override;

  const math::Matrix4* GetValue() const { return mValue; }
  // Stores the pointer and marks the variable changed.
  void SetValue(const math::Matrix4* value);

 private:
  ShaderScalarVariableImpl* mSetter;
  const math::Matrix4* mValue = nullptr;
};

// A texture sent by pointer: it must stay alive until the frame is played back.
template <>
class ShaderTextureVariable<1> final : public ShaderVariable {
 public:
  ShaderTextureVariable(ShaderImpl* owner, ShaderTextureVariableImpl* setter) : ShaderVariable(owner), mSetter(setter) {}
  ~ShaderTextureVariable() override { delete mSetter; }

  VNResultEnum Write(base::Stream* stream) override;
  VNResultEnum Read(base::Stream* stream) override;

  Texture* GetValue() const { return mValue; }
  void SetValue(Texture* value);

 private:
  ShaderTextureVariableImpl* mSetter;
  Texture* mValue = nullptr;
};

// Four floats sent by value (16 bytes).
template <>
class ShaderScalarVariable<math::Point4, 1> final : public ShaderVariable {
 public:
  ShaderScalarVariable(ShaderImpl* owner, ShaderScalarVariableImpl* setter) : ShaderVariable(owner), mSetter(setter) {}
  ~ShaderScalarVariable() override { delete mSetter; }

  VNResultEnum Write(base::Stream* stream) override;
  VNResultEnum Read(base::Stream* stream) override;

  const math::Point4& GetValue() const { return mValue; }
  void SetValue(const math::Point4& value);

 private:
  ShaderScalarVariableImpl* mSetter;
  math::Point4 mValue;
};

}  // namespace render
