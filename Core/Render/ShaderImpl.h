#pragma once
// A back-end program with its variables. Changed variables travel through the command buffer as the
// program's variable record: a count byte, then per variable its index byte and its value bytes, in
// ascending index order.
#include <cstdint>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Render/ShaderVariable.h"

namespace base {
class Stream;
}

namespace render {

class Render;

class ShaderImpl {
 public:
  // The record numbers variables with one byte.
  static constexpr std::size_t kMaxVariables = 255;

  // Registers with the renderer (none in tests of the variable record).
  explicit ShaderImpl(Render* render);
  ShaderImpl(const ShaderImpl&) = delete;
  ShaderImpl& operator=(const ShaderImpl&) = delete;
  // Deletes the variables and unregisters.
  virtual ~ShaderImpl();

  // After a device reset: every variable is sent again at the next use.
  virtual VNResultEnum OnDeviceReset();
  virtual VNResultEnum OnDeviceLost();
  virtual VNResultEnum OnBind();
  // The next program may overwrite the device's constants: every variable is sent again.
  virtual VNResultEnum OnUnbind();
  // A setter for the float constant `name` of the vertex (kind 0) or pixel (kind 1) program; null
  // when the program has no such constant.
  virtual ShaderScalarVariableImpl* CreateScalarVariableImpl(const char* name, int kind) = 0;
  // A setter for the pixel program's sampler `name`; null when there is none.
  virtual ShaderTextureVariableImpl* CreateTextureVariableImpl(const char* name) = 0;

  // Each creates a variable over a new setter and appends it (its index is the list position); 1 and
  // nothing created when there is no setter or the list is full. The program owns the variable.
  VNResultEnum CreateMatrixVariable(const char* name, int kind, ShaderScalarPointer<math::Matrix4, 1>** out);
  VNResultEnum CreateTextureVariable(const char* name, ShaderTextureVariable<1>** out);
  VNResultEnum CreateVector4Variable(const char* name, int kind, ShaderScalarVariable<math::Point4, 1>** out);

  // Writes the record of the changed variables and clears their flags and the program's; 1 on a short
  // write.
  VNResultEnum WriteChangedVariables(base::Stream* stream);
  // Reads a record and applies each value; 1 on a short read or an unknown index, a setter's failure
  // at once.
  VNResultEnum ReadVariables(base::Stream* stream);
  void MarkAllChanged();

  // Some variable changed since the last record.
  bool IsChanged() const { return mChanged != 0; }
  void SetChanged() { mChanged = 1; }

 private:
  template <class Variable, class Setter>
  VNResultEnum AddVariable(Setter* setter, Variable** out);

  std::vector<ShaderVariable*> mVariables;
  Render* mRender;
  std::uint8_t mChanged = 1;
};

}  // namespace render
