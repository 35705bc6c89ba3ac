#pragma once
#include "Core/Layer/Layer.h"

namespace render {
class Image;
}

namespace layer {

// Draws one image with anchors; the mouse is tested against the image's hit mask.
class ImageLayer : public Layer {
 public:
  enum Anchor { kAnchorStart = 0, kAnchorEnd = 1, kAnchorCentre = 2 };

  ImageLayer();
  // Deletes the image when owned.
  ~ImageLayer() override;

  // Deletes the previous image when owned (not when it is the same image). The bounds are not
  // marked: a caller giving an image of another size clears mLocalBoxValid itself.
  void SetImage(render::Image* image, bool owns);
  render::Image* GetImage() const { return mImage; }
  bool OwnsImage() const { return mOwnsImage; }

  VNResultEnum DrawContent(render::Graphics* graphics) override;
  // From the image size and anchors; empty without an image.
  void UpdateBounds() override;
  bool HitTestPoint(const math::Point3& local) override;

  int mHorizontalAnchor = kAnchorStart;  // 0 left, 1 right, 2 centre at the origin
  int mVerticalAnchor = kAnchorStart;    // 0 top, 1 bottom, 2 centre

 private:
  render::Image* mImage = nullptr;
  bool mOwnsImage = false;
};

}  // namespace layer
