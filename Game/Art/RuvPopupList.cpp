#include "Game/Art/RuvPopupList.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"

namespace {

constexpr float kRuvPopupSpeed = 15.0f;
constexpr float kRuvPopupFade = 0.25f;
constexpr float kRuvPopupTextScale = 0.75f;
constexpr float kRuvPopupTextOffset = 14.0f;

render::Image* RuvPopupIcon(const char16_t* frameName) {
  RuvFrameEntry* frame = RuvResources::Instance()->getFrame(u"ruv/ui", frameName, u"");
  return frame ? frame->image : nullptr;
}

}  // namespace

RuvPopupList::RuvPopupList() {
  icons[2] = RuvPopupIcon(u"ui/immune");
  icons[4] = RuvPopupIcon(u"ui/money");
}

RuvPopupList::~RuvPopupList() {
  for (RuvPopup* popup : popups) delete popup;
  popups.clear();
}

RuvPopup* RuvPopupList::add(float x, float y, int kind) {
  RuvPopup* popup = new RuvPopup;
  popup->x = x;
  popup->y = y;
  popup->kind = kind;
  popup->icon = (kind >= 0 && kind < kIconSlots) ? icons[kind] : nullptr;
  popups.push_back(popup);
  return popup;
}

void RuvPopupList::update(float dt) {
  for (RuvPopup* popup : popups) {
    if (!popup->alive) continue;
    popup->time += dt;
    popup->x += popup->dx * kRuvPopupSpeed * dt;
    popup->y += popup->dy * kRuvPopupSpeed * dt;
    popup->alive = popup->time < popup->life ? 1 : 0;
  }
  for (auto it = popups.begin(); it != popups.end();) {
    if ((*it)->alive) {
      ++it;
    } else {
      delete *it;
      it = popups.erase(it);
    }
  }
}

void RuvPopupList::draw(render::Graphics& graphics) {
  if (font) graphics.mFont = font.Get();
  for (RuvPopup* popup : popups) {
    math::Transform2D at;
    at.Translate(popup->x, popup->y);
    if (double(popup->time) > double(popup->life) - 0.25) {
      graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, (popup->life - popup->time) * (1.0f / kRuvPopupFade));
    }
    if (popup->icon) {
      auto icon = graphics.DrawImage(popup->icon);
      icon->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
      icon->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
      icon.Transform(at);
    }
    if (!popup->text.empty()) {
      auto text = graphics.DrawText(&popup->text);
      text->mFormat.mAlignment = 0;
      text->mHorizontalAnchor = render::DrawTextParam::kAnchorStart;
      text->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
      auto scaled = text.ScaleUniform(kRuvPopupTextScale);
      scaled.GetTransform().Translate(popup->x + kRuvPopupTextOffset, popup->y);
    }
    graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  }
}
