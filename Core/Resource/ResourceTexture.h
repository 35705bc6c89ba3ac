#pragma once
#include <string>

#include "Core/Base/ImageInfo.h"
#include "Core/Resource/Resource.h"
#include "Core/Resource/ResourcePtr.h"

namespace file {
class FileInfo;
class ImageContainer;
}  // namespace file

namespace render {
class Render;
class Texture;
}  // namespace render

namespace resource {

// One named image: a file found by the file manager, or a layer of an image container. It owns its
// texture, unless it is a layer inside an atlas: then it keeps the atlas's resource loaded instead.
class ResourceTexture : public Resource, public base::ImageInfo {
 public:
  ~ResourceTexture() override = default;  // the texture goes with DoUnLoad

  // Candidate extensions in order of preference: the name as given, ".dds", ".jpg", ".gif",
  // ".png", ".tga". Bitmap files are found only by their own extension in the name.
  static const char16_t* const* GetExtensions();
  static unsigned GetExtensionCount();

  // Before Load.
  VNResultEnum SetRender(render::Render* render);
  // Makes the resource a layer of container (not owned; must outlive the load).
  VNResultEnum SetContainer(file::ImageContainer* container, const std::u16string& layerName);

  VNResultEnum Release() override;
  VNResultEnum DoLoad() override;
  // Deletes the texture.
  VNResultEnum DoUnLoad() override;

  // The atlas's resource for an atlas layer, else empty.
  const ResourcePtr<ResourceTexture>& GetAtlas() const { return mAtlas; }
  // Null for an atlas layer and while unloaded.
  render::Texture* GetTexture() const { return mTexture; }

 private:
  VNResultEnum LoadAtlas();
  VNResultEnum LoadPixels(file::FileInfo* file, unsigned extensionIndex, bool fromContainer);

  ResourcePtr<ResourceTexture> mAtlas;
  render::Render* mRender = nullptr;
  render::Texture* mTexture = nullptr;
  file::ImageContainer* mContainer = nullptr;
  std::u16string mLayerName;
};

}  // namespace resource
