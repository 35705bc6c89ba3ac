#pragma once
#include <memory>

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
}  // namespace layer

// A vertical bar with a slider dragged along a fixed track: the pointer's y is taken within
// 251 .. 494 and the slider's top stands 30 pixels above it, so position 0 .. 1 puts the slider at
// y 221 .. 464. The owner forwards its pointer, reads and writes position (then syncSlider) and
// deletes the bar.
class HUDScrollBar {
 public:
  static constexpr float kTrackTop = 251.0f;
  static constexpr float kTrackLength = 243.0f;
  static constexpr float kSliderAbovePointer = 30.0f;
  static constexpr float kSliderTop = kTrackTop - kSliderAbovePointer;

  // The pictures "scroll/bar" and "scroll/slider_in" at their layout places, the slider at the top;
  // the root is appended to boardLayer (the root board's layer tree).
  HUDScrollBar(file::ImageContainer* layout, layer::Layer* boardLayer);
  // Unlinks the root from the board.
  ~HUDScrollBar();
  HUDScrollBar(const HUDScrollBar&) = delete;
  HUDScrollBar& operator=(const HUDScrollBar&) = delete;

  // A press strictly inside the slider starts a drag, whether the bar is shown or not.
  void onMouseDown(int x, int y);
  // While dragging: the slider follows the pointer's y along the track and position follows it.
  void onMouseMove(int x, int y);
  void onMouseUp();
  // Slider at the top, position 0.
  void reset();
  // The slider to where position puts it.
  void syncSlider();

  int dragState = -1;  // 0 while dragging
  std::unique_ptr<layer::Layer> root;
  std::unique_ptr<layer::ImageLayer> slider;
  std::unique_ptr<layer::ImageLayer> bar;
  float position = 0.0f;
};
