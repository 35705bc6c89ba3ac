#pragma once
// Layers, images with hit masks, a tiny synthetic font and a journal of recording listeners on a
// recording renderer: the scene that the layer and widget tests build on.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Font.h"
#include "fakes/RecordingHitTestListener.h"
#include "tests/Graphics/DrawFrame.h"

namespace testlayer {

// A texture whose hit mask is filled from a rule (through the real HitMask).
class MaskTexture : public fakes::FakeTexture {
 public:
  MaskTexture(render::Render* render, int width, int height, const std::function<bool(int, int)>& solid)
      : fakes::FakeTexture(render) {
    CreateRenderTarget(width, height);
    mHitMask.Resize(unsigned(width * height), false);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) mHitMask.Set(solid(x, y), unsigned(x + y * width));
    }
  }
};

// Every glyph 10 pixels wide, lines 20 high, base line at 16; a wrap width without fit-to-text
// makes the block that wide. Records the requests it was given.
class TinyFont : public render::Font {
 public:
  TinyFont() {
    mBase = 16.0f;
    mSize = 20.0f;
  }
  VNResultEnum Release() override { return VN_OK; }
  VNResultEnum DoLoad() override { return VN_OK; }
  VNResultEnum DoUnLoad() override { return VN_OK; }
  VNResultEnum DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::u16string& text,
                        const render::TextFormat& format, float* size) override {
    mRequests.push_back(Request{graphics != nullptr, param->mHorizontalAnchor, param->mVerticalAnchor,
                                format.mFitToText, format.mWrapWidth, text});
    float width = 10.0f * float(text.size());
    if (format.mWrapWidth > 0.0f && !format.mFitToText) width = format.mWrapWidth;
    if (size) {
      size[0] = width;
      size[1] = 20.0f;
    }
    return VN_OK;
  }
  bool HasGlyph(char16_t) const override { return true; }

  struct Request {
    bool mDrawn;  // false: measured
    int mHorizontalAnchor;
    int mVerticalAnchor;
    bool mFitToText;
    float mWrapWidth;
    std::u16string mText;
  };
  std::vector<Request> mRequests;
};

class LayerSceneTest : public testgraphics::DrawFrameTest {
 protected:
  ~LayerSceneTest() override {
    // Layers first: they unlink from each other; images are owned by the fixture.
    mLayers.clear();
  }

  // An image whose pixels are solid where solid says (all solid by default).
  render::Image* MakeMaskedImage(int width, int height,
                                 const std::function<bool(int, int)>& solid = [](int, int) { return true; }) {
    mImages.emplace_back(new render::Image(new MaskTexture(&mRender, width, height, solid)));
    return mImages.back().get();
  }

  template <class T>
  T* Keep(T* layer) {
    mLayers.emplace_back(layer);
    return layer;
  }

  layer::Layer* MakeGroup(layer::Layer* parent, float x, float y, layer::HitTestListener* listener = nullptr) {
    layer::Layer* group = Keep(new layer::Layer);
    group->SetPosition(math::Point3(x, y, 0.0f));
    group->mHitTestListener = listener;
    if (parent) parent->AddChild(group);
    return group;
  }

  layer::ImageLayer* MakeImageLayer(layer::Layer* parent, float x, float y, int width, int height,
                                    layer::HitTestListener* listener = nullptr) {
    layer::ImageLayer* image = Keep(new layer::ImageLayer);
    image->SetImage(MakeMaskedImage(width, height), false);
    image->SetPosition(math::Point3(x, y, 0.0f));
    image->mHitTestListener = listener;
    if (parent) parent->AddChild(image);
    return image;
  }

  layer::RectHitLayer* MakeRectLayer(layer::Layer* parent, const math::Rect& rect,
                                     layer::HitTestListener* listener = nullptr) {
    layer::RectHitLayer* hit = Keep(new layer::RectHitLayer);
    hit->mRect = rect;
    hit->mHitTestListener = listener;
    if (parent) parent->AddChild(hit);
    return hit;
  }

  fakes::RecordingHitTestListener* MakeListener(const std::string& name) {
    mListeners.emplace_back(new fakes::RecordingHitTestListener(name, &mJournal));
    return mListeners.back().get();
  }

  // One press search from root at (x, y); returns the result code.
  int32_t Press(layer::Layer* root, float x, float y, int button = 1) {
    layer::OnMouseDown event;
    event.mButton = button;
    int32_t result = -1;
    EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(x, y, 0.0f), event, result), VN_OK);
    return result;
  }

  std::vector<std::string> mJournal;
  std::vector<std::unique_ptr<fakes::RecordingHitTestListener>> mListeners;
  std::vector<std::unique_ptr<layer::Layer>> mLayers;
};

// Restores an event kind's process-wide handler when it goes out of scope.
template <class Event>
class HandlerRestore {
 public:
  HandlerRestore() : mSaved(Event::Handler()) {}
  ~HandlerRestore() { Event::Handler() = mSaved; }
  HandlerRestore(const HandlerRestore&) = delete;
  HandlerRestore& operator=(const HandlerRestore&) = delete;

 private:
  typename Event::HandlerPtr mSaved;
};

}  // namespace testlayer
