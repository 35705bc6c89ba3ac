#pragma once
#include <memory>

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
class ParticlesLayer;
class TextLayer;
}  // namespace layer
namespace render {
class Graphics;
class Image;
class ParticleEmitter;
}  // namespace render
class RuvProgress;

// One level on the level select: a small layer tree centred on its grid place (7 plates a row,
// 125 pixels apart from (80, 220)) showing the plate of its state, the 1-based number, the stars
// earned, the "new" badge and, on the next level to play, the "active_lvl" effect.
class LevelPlate {
 public:
  static constexpr int kPerRow = 7;
  static constexpr int kPitch = 125;
  static constexpr int kFirstX = 80;
  static constexpr int kFirstY = 220;

  // Reads the level's record and state from progress and builds the layers from the layout.
  LevelPlate(file::ImageContainer* layout, RuvProgress& progress, int episode, int level, int mode);
  ~LevelPlate();
  LevelPlate(const LevelPlate&) = delete;
  LevelPlate& operator=(const LevelPlate&) = delete;

  // Strictly inside the plate's rectangle.
  bool contains(int px, int py) const;
  // Real seconds: the hover scale (up to 1.1 at 0.5 per second while hovered, back to 1.0 at 1 per
  // second) and the effect.
  void update(float dt);
  void draw(render::Graphics& graphics);

  unsigned char open = 0;
  int episode = 0;
  unsigned char complete = 0;
  int stars = 0;
  std::unique_ptr<layer::Layer> root;
  std::unique_ptr<layer::ImageLayer> plate;
  std::unique_ptr<layer::TextLayer> number;
  std::unique_ptr<layer::ImageLayer> newBadge;
  std::unique_ptr<layer::TextLayer> newText;
  std::unique_ptr<layer::ImageLayer> starLayers[3];
  std::unique_ptr<layer::ImageLayer> starStrip;
  std::unique_ptr<render::Image> stripImage;
  std::unique_ptr<render::Image> plateImage;
  std::unique_ptr<layer::ParticlesLayer> activeEffect;
  std::unique_ptr<render::ParticleEmitter> activeEmitter;
  int hover = 0;
  float scale = 1.0f;
  int level = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The "new" badge of the level select: the layout's "plate/new" with its top-left corner at (x, y)
// and the "episodeSelectNew" caption centred on it. Both layers are the caller's.
void makeNewBadge(file::ImageContainer* layout, float x, float y, std::unique_ptr<layer::ImageLayer>& badge,
                  std::unique_ptr<layer::TextLayer>& caption);
