#pragma once
// Render::LoadShader: named shaders through the resource manager.
#include "Core/Render/Render.h"
#include "Core/Render/Shader.h"
#include "Core/Resource/ResourceManager.h"

namespace render {

template <class T>
VNResultEnum Render::LoadShader(const std::u16string& name, resource::ResourcePtr<T>& handle) {
  resource::ResourceManager* manager = resource::ResourceManager::Instance();
  if (manager == nullptr) return VN_FAIL;
  resource::ResourcePtr<T> shader = manager->Get<T>(name);
  if (!shader) return VN_FAIL;
  VNResultEnum result = shader->SetRender(this);
  if (result == VN_OK) result = shader->Load();
  if (result != VN_OK) return result;
  handle = shader;
  return VN_OK;
}

}  // namespace render
