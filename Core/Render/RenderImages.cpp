// The renderer's image loading and render-target creation.
#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"

namespace render {

VNResultEnum Render::LoadImage(const std::u16string& name, file::ImageContainer* container, Image** out,
                               base::ImageInfo* info) {
  resource::ResourceManager* manager = resource::ResourceManager::Instance();
  if (!manager || !out) return VN_FAIL;
  const std::u16string path = container ? container->GetPath() + name : name;
  resource::ResourcePtr<resource::ResourceTexture> texture = manager->Get<resource::ResourceTexture>(path);
  if (!texture) return VN_FAIL;
  VNResultEnum result = texture->SetRender(this);
  if (result == VN_OK && container) result = texture->SetContainer(container, name);
  if (result == VN_OK && !texture->IsLoaded()) result = texture->Load();
  if (result != VN_OK) return result;
  *out = new Image;
  (*out)->SetResource(texture);
  if (info) *info = *texture;
  return VN_OK;
}

VNResultEnum Render::CreateRenderTarget(unsigned width, unsigned height, RenderTarget** out, bool ownProjection) {
  Texture* texture = nullptr;
  VNResultEnum result = CreateTexture(texture);
  if (result != VN_OK) return result;
  if (!texture || !out) {
    delete texture;
    return VN_FAIL;
  }
  result = texture->CreateRenderTarget(int(width), int(height));
  if (result != VN_OK) {
    delete texture;
    return result;
  }
  *out = new RenderTarget(texture, ownProjection);
  return VN_OK;
}

}  // namespace render
