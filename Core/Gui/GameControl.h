#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Layer/Layer.h"

namespace base {
class ImageInfo;
}
namespace file {
class ImageContainer;
}
namespace layer {
class HitTestListener;
class ImageLayer;
}  // namespace layer
namespace math {
struct Rect;
}
namespace render {
class Render;
}
namespace widget {
class TrapHitTestListener;
class Widget;
}  // namespace widget

namespace gui {

// A new image layer (the caller's) for the image or layout layer named path, placed at the image's
// position; info receives the image's description when given. Nothing is made on failure.
VNResultEnum LoadImageLayer(render::Render* render, const std::u16string& path, file::ImageContainer* container,
                            layer::ImageLayer** out, base::ImageInfo* info);

// Builds layer trees from a layout: image layers for named layout layers, placed under a parent
// layer relative to it, with a hit-test listener or a trap that swallows the mouse. Owns the layers
// it made.
class GameControlHelper {
 public:
  // How AddLayer treats the layer: as it is, not mouse enabled, or swallowing the mouse.
  enum Mode { kModeNormal = 0, kModeNoMouse = 1, kModeTrap = 2 };

  GameControlHelper();
  // Removes and deletes the layers it made, the trap listener, and the container when owned.
  virtual ~GameControlHelper();

  // The renderer the images are loaded with; set by the application at start-up.
  static void SetRender(render::Render* render) { sRender = render; }
  static render::Render* GetRender() { return sRender; }

  // The parent defaults to the owner's layer. Returns 0.
  VNResultEnum Init(file::ImageContainer* container, widget::Widget* owner, layer::HitTestListener* listener,
                    layer::Layer* parent, bool ownsContainer);
  // The layout opened through the file manager; 1 when it cannot be opened.
  VNResultEnum InitFromPath(const std::u16string& path, widget::Widget* owner, layer::HitTestListener* listener,
                            layer::Layer* parent, bool ownsContainer);
  widget::TrapHitTestListener* GetTrapListener();
  // An image layer (the caller's) for the layout layer, with the builder's listener; rect gets
  // the image's rectangle.
  VNResultEnum CreateImageLayer(const std::u16string& name, math::Rect& rect, layer::ImageLayer*& out);
  // Records the layer and appends it (in front) under parent, or the builder's parent.
  void AddLayer(layer::Layer* layer, int mode, layer::Layer* parent = nullptr);
  // The same, behind the other children.
  void AddLayerBack(layer::Layer* layer, int mode, layer::Layer* parent = nullptr);
  // A layout image placed relative to the builder's parent layer, then added.
  VNResultEnum AddImage(const std::u16string& name, int mode, layer::Layer* parent = nullptr,
                        layer::ImageLayer** out = nullptr);
  VNResultEnum AddImageBack(const std::u16string& name, int mode, layer::Layer* parent = nullptr,
                            layer::ImageLayer** out = nullptr);

  file::ImageContainer* GetContainer() const { return mContainer; }
  layer::Layer* GetParentLayer() const { return mParent; }
  const std::vector<layer::Layer*>& GetCreatedLayers() const { return mCreated; }

 private:
  VNResultEnum MakeImage(const std::u16string& name, layer::ImageLayer*& out);
  void Record(layer::Layer* layer, int mode);

  std::vector<layer::Layer*> mCreated;
  file::ImageContainer* mContainer = nullptr;
  bool mOwnsContainer = false;
  widget::Widget* mOwner = nullptr;
  layer::Layer* mParent = nullptr;
  layer::HitTestListener* mListener = nullptr;
  std::unique_ptr<widget::TrapHitTestListener> mTrap;

  static inline render::Render* sRender = nullptr;
};

// A layer that is also a builder: one image layer per visual state, laid out around the centre of
// their common rectangle so the control moves as one layer.
class GameControl : public layer::Layer, public GameControlHelper {
 public:
  // Removes and deletes the state layers.
  ~GameControl() override;

  // An empty name does nothing. Otherwise the image becomes the state's layer (index below the
  // state count; 1 otherwise) and its rectangle joins the state rectangle.
  VNResultEnum SetStateImage(int state, const std::u16string& name, layer::ImageLayer** out);
  // Moves the control to the centre of the state rectangle and its state layers under it.
  void Layout();
  // Grows the state rectangle by rect (it becomes the rectangle when none is set yet).
  void JoinStateRect(const math::Rect& rect);

  // The table of the concrete control, of count entries.
  void SetStateTable(layer::ImageLayer** states, int count) {
    mStates = states;
    mStateCount = count;
  }

  std::int32_t mStateX = 0;
  std::int32_t mStateY = 0;
  std::int32_t mStateWidth = 0;
  std::int32_t mStateHeight = 0;
  bool mStateRectSet = false;

 private:
  layer::ImageLayer** mStates = nullptr;
  std::int32_t mStateCount = 0;
};

}  // namespace gui
