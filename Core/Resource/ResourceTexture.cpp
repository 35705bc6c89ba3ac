#include "Core/Resource/ResourceTexture.h"

#include <cassert>
#include <memory>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Render.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"

namespace resource {

namespace {

const char16_t* const kExtensions[] = {u"", u".dds", u".jpg", u".gif", u".png", u".tga"};
const unsigned kExtensionCount = sizeof(kExtensions) / sizeof(kExtensions[0]);

// From the last '.' after the last folder separator, case kept; empty without one.
std::u16string OwnExtension(const std::u16string& name) {
  const size_t dot = name.rfind(u'.');
  const size_t separator = name.find_last_of(u"/\\");
  if (dot == std::u16string::npos || (separator != std::u16string::npos && dot < separator)) return {};
  return name.substr(dot);
}

}  // namespace

const char16_t* const* ResourceTexture::GetExtensions() { return kExtensions; }

unsigned ResourceTexture::GetExtensionCount() { return kExtensionCount; }

VNResultEnum ResourceTexture::SetRender(render::Render* render) {
  mRender = render;
  return VN_OK;
}

VNResultEnum ResourceTexture::SetContainer(file::ImageContainer* container, const std::u16string& layerName) {
  mContainer = container;
  mLayerName = layerName;
  return VN_OK;
}

VNResultEnum ResourceTexture::Release() { return ResourceManager::ReleaseFromManager<ResourceTexture>(this); }

VNResultEnum ResourceTexture::DoLoad() {
  unsigned index = 0;
  if (mContainer) {
    std::unique_ptr<file::ImageFileInfo> layer(mContainer->FindLayer(mLayerName, kExtensions, kExtensionCount, &index));
    if (!layer) return VN_FAIL;
    static_cast<base::ImageInfo&>(*this) = *layer;
    return mInAtlas ? LoadAtlas() : LoadPixels(layer.get(), index, true);
  }
  file::FileManager* files = file::FileManager::Instance();
  std::unique_ptr<file::FileInfo> file(files ? files->Open(GetName(), kExtensions, kExtensionCount, &index) : nullptr);
  if (!file) return VN_FAIL;
  return LoadPixels(file.get(), index, false);
}

VNResultEnum ResourceTexture::LoadAtlas() {
  ResourceManager* manager = ResourceManager::Instance();
  if (manager) mAtlas = manager->Get<ResourceTexture>(mAtlasPath);
  if (!mAtlas) return VN_FAIL;
  mAtlas->SetRender(mRender);
  return mAtlas->IsLoaded() ? VN_OK : mAtlas->Load();
}

VNResultEnum ResourceTexture::LoadPixels(file::FileInfo* file, unsigned extensionIndex, bool fromContainer) {
  assert(mRender && "ResourceTexture: SetRender before Load");
  std::unique_ptr<base::Stream> stream(file->Open());
  if (!stream || !mRender) return VN_FAIL;
  const std::u16string extension =
      kExtensions[extensionIndex][0] ? std::u16string(kExtensions[extensionIndex]) : OwnExtension(GetName());
  render::ImageLoader* loader = render::ImageLoader::Instance();
  std::unique_ptr<render::ImageData> image(loader ? loader->Load(stream.get(), extension, this) : nullptr);
  if (!image) {
    // A missing picture is often only probed for; one that is there but unusable is data damage.
    base::LogDataFileProblem(u"ResourceTexture", kExtensions[extensionIndex][0] ? GetName() + extension : GetName(),
                             u"cannot be decoded: it is not drawn");
    return VN_FAIL;
  }
  if (!fromContainer) {
    mWidth = float(image->mWidth);
    mHeight = float(image->mHeight);
  }
  VNResultEnum result = mRender->CreateTexture(mTexture);
  if (result != VN_OK) return result;
  if (!mTexture) return VN_FAIL;
  result = mTexture->CreateFromImage(image.get());
  if (result != VN_OK) DoUnLoad();  // a later Load starts again without a stray texture
  return result;
}

VNResultEnum ResourceTexture::DoUnLoad() {
  delete mTexture;
  mTexture = nullptr;
  return VN_OK;
}

}  // namespace resource
