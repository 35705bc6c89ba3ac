#include "Game/Screens/HUDButtons.h"

#include <algorithm>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/Tokenizer.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Screens/Options/TalvenDialog.h"

namespace {

const char16_t kHudButtonFont[] = u"ruv/data/fonts/main_32_1";

RuvFrameEntry* hudButtonPicture(file::ImageContainer* container, const std::u16string& layerName, const float* rect) {
  RuvFrameEntry* frame = new RuvFrameEntry;
  frame->ownsImage = 1;
  std::copy(rect, rect + 4, frame->rect);
  const base::ImageInfo* info = findPsdLayer(container, layerName);
  if (info) frame->image = ruvLoadImage(info->mName, container);
  frame->name = base::GetFileNameNoExt(layerName);
  return frame;
}

void hudButtonCopyRect(const base::ImageInfo& info, float* rect) {
  rect[0] = info.mX;
  rect[1] = info.mY;
  rect[2] = info.mWidth;
  rect[3] = info.mHeight;
}

}  // namespace

HUDButton::HUDButton() : font(TalvenDialog::GetFont(kHudButtonFont)) {}

void growWhileHovered(HUDButton& button, float dt) {
  if (button.hovered == 1) {
    button.scale = std::min(button.scale + 0.5f * dt, 1.1f);
  } else if (button.hovered == 0) {
    button.scale = std::max(button.scale - dt, 1.0f);
  }
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
