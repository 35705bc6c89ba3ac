#pragma once
#include "Core/Base/NoCopy.h"
#include "Core/Base/Result.h"
#include "Core/Math/Point.h"
#include "Core/Resource/ResourcePtr.h"

namespace resource {
class ResourceTexture;
}

namespace render {

class Texture;
class VertexFormat;

// What every draw and hit test of an image takes: the texture to sample, the image's size and
// where its pixels lie in that texture (an atlas layer samples its atlas's texture).
class Image : public base::NoCopy {
 public:
  Image() = default;
  // An image over its own texture (deleted with the image), sized as the texture.
  explicit Image(Texture* texture);
  // Deletes the texture when it is the image's own; drops the resource handle.
  ~Image();

  // Binds the image to a loaded texture resource (drops the old handle) and takes size, texture
  // and atlas placement from it.
  VNResultEnum SetResource(const resource::ResourcePtr<resource::ResourceTexture>& resource);
  // For an atlas layer, maps the texture coordinates of set setIndex of count vertices from the
  // image's 0..1 range into its atlas region; 1 when the format has no such set of at least two
  // components. Other images are left unchanged.
  VNResultEnum MapAtlasUV(void* vertices, unsigned count, unsigned setIndex, const VertexFormat& format) const;
  // The same mapping for count texture coordinate pairs.
  void MapAtlasPoints(math::Point2* points, unsigned count) const;
  // Pixel (x, y) of the image is solid; false outside the image or without a hit mask.
  bool HitTest(int x, int y) const;

  Texture* GetTexture() const { return mTexture; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  int GetAtlasOffsetX() const { return mAtlasOffsetX; }
  int GetAtlasOffsetY() const { return mAtlasOffsetY; }
  const resource::ResourcePtr<resource::ResourceTexture>& GetResource() const { return mResource; }

 private:
  resource::ResourcePtr<resource::ResourceTexture> mResource;
  Texture* mTexture = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAtlasOffsetX = 0;  // texture pixel of the image's pixel (0, 0)
  int mAtlasOffsetY = 0;
  float mAtlasScaleX = 1.0f;  // texture pixels per image pixel, for the hit test
  float mAtlasScaleY = 1.0f;
};

}  // namespace render
