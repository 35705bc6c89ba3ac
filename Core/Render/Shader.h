#pragma once
// A shader resource: a back-end program and its variables by meaning. Built-in shaders wrap a program
// the renderer made; named shaders are loaded from the pair of texts <name>VS.hlsl and <name>PS.hlsl.
#include <string>

#include "Core/Render/ShaderVariable.h"
#include "Core/Resource/Resource.h"

namespace render {

class Render;
class ShaderImpl;

class Shader : public resource::Resource {
 public:
  // A named shader for the resource manager: no program, no renderer, not loaded.
  Shader() = default;
  // A built-in shader over an existing program (owned from now on); loaded; variables come with
  // InitVariables.
  Shader(ShaderImpl* program, Render* render);
  // Deletes the program when it is still held.
  ~Shader() override;

  VNResultEnum Release() override;
  // Reads <name>PS.hlsl and <name>VS.hlsl, has the renderer compile them, creates the variables. On a
  // failure nothing is kept.
  VNResultEnum DoLoad() override;
  // Deletes the program with its variables; 0.
  VNResultEnum DoUnLoad() override;
  // Creates the variables through the program; the first failure is returned.
  virtual VNResultEnum InitVariables();

  // 1 when null.
  VNResultEnum SetRender(Render* render);
  // Marks the projection changed when the pointer differs. The matrix must live until playback.
  // Inline: every draw sets it.
  VNResultEnum SetProjection(const math::Matrix4* projection) {
    if (mProjection != nullptr && mProjection->GetValue() != projection) mProjection->SetValue(projection);
    return VN_OK;
  }

  ShaderImpl* GetProgram() const { return mProgram; }
  Render* GetRender() const { return mRender; }

 protected:
  Render* mRender = nullptr;
  ShaderImpl* mProgram = nullptr;
  std::string mProjectionName = "Proj";
  ShaderScalarPointer<math::Matrix4, 1>* mProjection = nullptr;  // owned by the program
};

}  // namespace render
