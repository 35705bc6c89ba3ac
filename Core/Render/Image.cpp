#include "Core/Render/Image.h"

#include <cstring>

#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"
#include "Core/Resource/ResourceTexture.h"

namespace render {

namespace {
// Atlases of atlases are followed this deep at most, so a cycle in the data cannot hang.
const int kMaxAtlasDepth = 8;

// One texture coordinate pair from the image's 0..1 range into its atlas region.
inline void MapImageUVIntoAtlas(const resource::ResourceTexture& info, float uv[2]) {
  uv[0] = uv[0] * info.mTextureWidth + info.mTextureU;
  uv[1] = uv[1] * info.mTextureHeight + info.mTextureV;
}
}  // namespace

Image::Image(Texture* texture) : mTexture(texture) {
  if (texture) {
    mWidth = texture->GetWidth();
    mHeight = texture->GetHeight();
  }
}

Image::~Image() {
  if (!mResource && mTexture) delete mTexture;
  mTexture = nullptr;
}

VNResultEnum Image::SetResource(const resource::ResourcePtr<resource::ResourceTexture>& resource) {
  mResource = resource;
  mTexture = nullptr;
  if (!resource) return VN_OK;
  const resource::ResourceTexture* root = resource.Get();
  for (int depth = 0; depth < kMaxAtlasDepth && root->GetAtlas(); ++depth) root = root->GetAtlas().Get();
  mTexture = root->GetTexture();
  mWidth = int(unsigned(resource->mWidth));
  mHeight = int(unsigned(resource->mHeight));

  const float textureWidth = mTexture ? float(mTexture->GetWidth()) : 0.0f;
  const float textureHeight = mTexture ? float(mTexture->GetHeight()) : 0.0f;
  mAtlasOffsetX = int(resource->mTextureU * textureWidth + 0.5f);
  mAtlasOffsetY = int(resource->mTextureV * textureHeight + 0.5f);
  // Texture pixels per image pixel: 1 for a layer stored unscaled in its atlas.
  const float regionWidth = resource->mTextureWidth * textureWidth;
  const float regionHeight = resource->mTextureHeight * textureHeight;
  mAtlasScaleX = mWidth > 0 && regionWidth > 0.0f ? regionWidth / float(mWidth) : 1.0f;
  mAtlasScaleY = mHeight > 0 && regionHeight > 0.0f ? regionHeight / float(mHeight) : 1.0f;
  return VN_OK;
}

VNResultEnum Image::MapAtlasUV(void* vertices, unsigned count, unsigned setIndex, const VertexFormat& format) const {
  if (!mResource || !mResource->mInAtlas) return VN_OK;
  const auto& sets = format.GetTexCoordSets();  // (components, offset)
  if (setIndex >= sets.size() || sets[setIndex].first < 2) return VN_FAIL;
  const resource::ResourceTexture& info = *mResource;
  auto* vertex = static_cast<unsigned char*>(vertices) + sets[setIndex].second;
  for (unsigned i = 0; i < count; ++i, vertex += format.GetStride()) {
    float uv[2];
    std::memcpy(uv, vertex, sizeof(uv));
    MapImageUVIntoAtlas(info, uv);
    std::memcpy(vertex, uv, sizeof(uv));
  }
  return VN_OK;
}

void Image::MapAtlasPoints(math::Point2* points, unsigned count) const {
  if (!mResource || !mResource->mInAtlas) return;
  for (unsigned i = 0; i < count; ++i) {
    float uv[2] = {points[i].x, points[i].y};
    MapImageUVIntoAtlas(*mResource, uv);
    points[i] = math::Point2(uv[0], uv[1]);
  }
}

bool Image::HitTest(int x, int y) const {
  if (x < 0 || y < 0 || x >= mWidth || y >= mHeight || !mTexture) return false;
  if (mResource) {
    x = int(float(x) * mAtlasScaleX + float(mAtlasOffsetX) + 0.5f);
    y = int(float(y) * mAtlasScaleY + float(mAtlasOffsetY) + 0.5f);
  }
  return mTexture->HitTest(x, y);
}

}  // namespace render
