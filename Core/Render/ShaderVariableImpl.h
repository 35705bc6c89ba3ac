#pragma once
// Back-end setters behind the shader variables: they put a value into the device's constant or
// sampler during command-buffer playback.
#include "Core/Base/Result.h"
#include "Core/Math/Matrix4.h"
#include "Core/Math/Point.h"

namespace render {

class Texture;

// A float constant of a program (kind 0 vertex, 1 pixel).
class ShaderScalarVariableImpl {
 public:
  virtual ~ShaderScalarVariableImpl() = default;
  virtual VNResultEnum SetMatrix(const math::Matrix4* matrix) = 0;
  virtual VNResultEnum SetVector4(const math::Point4& value) = 0;
  // Sent as (x, y, z, 1).
  virtual VNResultEnum SetVector3(const math::Point3& value) = 0;
  // Sent as (x, y, 0, 1).
  virtual VNResultEnum SetVector2(const math::Point2& value) = 0;
  virtual VNResultEnum SetFloat(float value) = 0;
};

// A sampler of the pixel program.
class ShaderTextureVariableImpl {
 public:
  virtual ~ShaderTextureVariableImpl() = default;
  virtual VNResultEnum SetTexture(Texture* texture) = 0;
};

}  // namespace render
