#pragma once
#include <string>

#include "Core/Math/Color.h"
#include "Core/Math/Point.h"
#include "Core/Math/Transform2D.h"

namespace base {
class ImageInfo;
}
namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
}  // namespace layer
namespace render {
class Graphics;
class Image;
class ParticleEmitter;
class Render;
class ShaderTextured;
}  // namespace render

// The game's one drawable record: an image with its rectangle in the canvas of its layout, a name,
// a colour, optional shader values, flags and a 2-D transform. Frames of art sets are shared; a
// copy (assignment) copies every field, the image pointer too.
class RuvFrameEntry {
 public:
  RuvFrameEntry() = default;
  RuvFrameEntry(const RuvFrameEntry&) = default;
  RuvFrameEntry& operator=(const RuvFrameEntry&) = default;
  // Deletes the image only when ownsImage is set.
  virtual ~RuvFrameEntry();

  virtual void draw(render::Graphics& graphics, float screenScale);
  virtual void hoverTest(int x, int y);
  virtual void update(float dt);

  render::ShaderTextured* shader = nullptr;
  float shaderValues[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  unsigned char ownsImage = 0;
  math::Color colour{1.0f, 1.0f, 1.0f, 1.0f};
  render::Image* image = nullptr;
  std::u16string name;  // full layer name inside its container
  unsigned char additive = 0;
  unsigned char flipX = 0;
  float rect[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // x, y, width, height in canvas pixels
  int index = 0;                             // layer index in its container
  math::Transform2D transform;
  float depth = 0.0f;
  void* owner = nullptr;
  render::ParticleEmitter* emitter = nullptr;
  std::string tag;
  unsigned char visible = 1;
};

// A frame with hover feedback: grows to 1.1 while hovered, shrinks back to 1.0 otherwise.
class RuvButtonFrame : public RuvFrameEntry {
 public:
  // Centred on the frame's rectangle centre, scaled by the hover scale, then by screenScale about
  // the scenery centre (RuvResources::getSceneryCentre). Leaves the colour set to the frame's.
  void draw(render::Graphics& graphics, float screenScale) override;
  // Strictly inside the rectangle: edges do not count.
  void hoverTest(int x, int y) override;
  void update(float dt) override;

  float scale = 1.0f;
  float unused = 0.0f;
  int hovered = 0;
};

// How the game turns a layer or image name into a texture: the layout's layer when a container is
// given, else a file relative to the data root. The application installs its renderer at start-up
// (RuvResources::setRender); without one every load answers null. The caller owns the image.
render::Image* ruvLoadImage(const std::u16string& name, file::ImageContainer* container);

// The layer's description, owned by the container; null when absent.
const base::ImageInfo* findPsdLayer(file::ImageContainer* container, const std::u16string& name);
// The layer's image (the caller's), null when it has no such layer or the load fails.
render::Image* loadLayerImage(file::ImageContainer* container, const std::u16string& name);
// A new frame owning its image, with the layer's rectangle, name and index; null without the layer.
RuvFrameEntry* createFrameEntry(file::ImageContainer* container, const std::u16string& name);
// Loads the layer's image into imageLayer (which owns it) and places it at the layer's corner
// minus origin.
void placePsdImage(layer::ImageLayer* imageLayer, file::ImageContainer* container, const std::u16string& name,
                   const math::Point2& origin);
// Takes the layer out of its parent's children; nothing without layer or parent.
void detachLayer(layer::Layer* child);
// Ascending layer index, for the stable sort of a screen's frames.
bool frameIndexLess(const RuvFrameEntry* a, const RuvFrameEntry* b);
