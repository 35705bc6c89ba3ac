#include "Game/Screens/HUDButtons.h"

#include <algorithm>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/Tokenizer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Art/GameFonts.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Screens/HoverSwell.h"

namespace {

constexpr const char16_t* kHudButtonFont = kFontMain32x1;

RuvFrameEntry* hudButtonPicture(file::ImageContainer* container, const std::u16string& layerName, const float* rect) {
  RuvFrameEntry* frame = new RuvFrameEntry;
  frame->ownsImage = 1;
  std::copy(rect, rect + 4, frame->rect);
  const base::ImageInfo* info = findPsdLayer(container, layerName);
  if (info) frame->image = ruvLoadImage(info->mName, container);
  frame->name = base::GetFileNameNoExt(layerName);
  return frame;
}

layer::ImageLayer* hudButtonCentredPicture(const RuvFrameEntry& frame) {
  auto* picture = new layer::ImageLayer;
  picture->SetImage(frame.image, false);
  picture->SetPosition(math::Point3(-frame.rect[2] / 2.0f, -frame.rect[3] / 2.0f, 0.0f));
  return picture;
}

void hudButtonCopyRect(const base::ImageInfo& info, float* rect) {
  rect[0] = info.mX;
  rect[1] = info.mY;
  rect[2] = info.mWidth;
  rect[3] = info.mHeight;
}

}  // namespace

HUDButton::HUDButton() : font(LoadGameFont(kHudButtonFont)) {}

void growWhileHovered(HUDButton& button, float dt) {
  // Any other hover value leaves the scale as it is.
  if (button.hovered == 0 || button.hovered == 1) button.scale = hoverSwell(button.scale, button.hovered == 1, dt);
}

HUDButtonOver* HUDButtonOver::create(file::ImageContainer* container, const std::u16string& key) {
  if (!findPsdLayer(container, u"button/" + key + u"/pos")) {
    base::LogBlock(u"HUDButtonOver: the button '%s' has no position layer and is left out.\n") % key;
    return nullptr;
  }
  return new HUDButtonOver(container, key);
}

HUDButtonOver::HUDButtonOver(file::ImageContainer* container, const std::u16string& key) {
  visible = 1;
  base::TokenizerW tokens(key, u'_', true);
  std::u16string art;
  tokens.Next(&art);
  tokens.Next(&name);
  float position[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  if (const base::ImageInfo* pos = findPsdLayer(container, u"button/" + key + u"/pos")) {
    hudButtonCopyRect(*pos, position);
  }
  if (const base::ImageInfo* label = findPsdLayer(container, u"button/" + key + u"/label")) {
    hasCaption = 1;
    hudButtonCopyRect(*label, captionRect);
  }
  normalFrame = hudButtonPicture(container, u"button/" + art + u"_normal", position);
  pressedFrame = hudButtonPicture(container, u"button/" + art + u"_over", position);
}

HUDButtonOver::~HUDButtonOver() {
  delete normalFrame;
  delete pressedFrame;
}

const RuvFrameEntry* HUDButtonOver::shownFrame() const { return pressed == 1 ? pressedFrame : normalFrame; }

bool HUDButtonOver::hitTest(int x, int y) {
  if (!visible) return false;
  const float* r = shownFrame()->rect;
  const float fx = float(x);
  const float fy = float(y);
  return r[0] + xOffset <= fx && fx <= r[0] + r[2] + xOffset && r[1] <= fy && fy <= r[1] + r[3];
}

void HUDButtonOver::update(float dt) {
  time += dt;
  growWhileHovered(*this, dt);
}

void HUDButtonOver::press(int x, int y) { pressed = hitTest(x, y) ? 1 : 0; }

void HUDButtonOver::release(int, int) { pressed = 0; }

void HUDButtonOver::hover(int x, int y) { hovered = hitTest(x, y) ? 1 : 0; }

void HUDButtonOver::draw(render::Graphics& graphics) {
  if (!visible) return;
  const RuvFrameEntry* frame = shownFrame();
  const float* r = frame->rect;
  {
    auto request = graphics.DrawImage(frame->image);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    auto scaled = request.ScaleUniform(scale);
    scaled.GetTransform().Translate(r[0] + r[2] * 0.5f + xOffset, r[1] + r[3] * 0.5f);
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  if (font) graphics.mFont = font.Get();
  if (!hasCaption || caption.empty()) return;
  auto request = graphics.DrawText(&caption);
  request->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  auto scaled = request.ScaleUniform(scale);
  scaled.GetTransform().Translate(captionRect[0] + captionRect[2] * 0.5f + xOffset,
                                  captionRect[1] + captionRect[3] * 0.5f);
}

HUDLayerButton::HUDLayerButton(const RuvFrameEntry& normalFrame, const RuvFrameEntry& overFrame,
                               const std::u16string& caption)
    : normalImage(normalFrame.image), overImage(overFrame.image) {
  normalLayer = hudButtonCentredPicture(normalFrame);
  overLayer = hudButtonCentredPicture(overFrame);
  captionLayer =
      new layer::TextLayer(LoadGameFont(kFontMain42x3), caption, 400.0f, 0.0f, 2, true);
  captionLayer->mHorizontalAnchor = 2;
  captionLayer->mVerticalAnchor = 2;
  captionLayer->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
  AddChild(normalLayer);
  AddChild(overLayer);
  AddChild(captionLayer);
  captionLayer->mLocalBoxValid = false;
  normalLayer->UpdateBoundsTree();
  overLayer->UpdateBoundsTree();
  captionLayer->UpdateBoundsTree();
}

HUDLayerButton::~HUDLayerButton() {
  for (layer::Layer* child : {static_cast<layer::Layer*>(normalLayer), static_cast<layer::Layer*>(overLayer),
                              static_cast<layer::Layer*>(captionLayer)}) {
    detachLayer(child);
    delete child;
  }
}

bool HUDLayerButton::hitTest(int x, int y) const {
  if (!mVisible || !normalImage) return false;
  const float left = mPosition.x + normalLayer->mPosition.x;
  const float top = mPosition.y + normalLayer->mPosition.y;
  const float fx = float(x);
  const float fy = float(y);
  return left < fx && fx < left + float(normalImage->GetWidth()) && top < fy &&
         fy < top + float(normalImage->GetHeight());
}

void HUDLayerButton::hover(int x, int y) { hovered = hitTest(x, y) ? 1 : 0; }

void HUDLayerButton::update(float dt) {
  scale = hovered ? std::min(scale + dt, 1.1f) : std::max(scale - 0.5f * dt, 1.0f);
  if (mScaleX == scale && mScaleY == scale && mScaleZ == scale) return;
  mScaleX = mScaleY = mScaleZ = scale;
  mTransformChanged = true;
}
