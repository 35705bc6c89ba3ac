#include "Game/Screens/EpisodeCarousel.h"

#include <algorithm>
#include <cmath>

#include "Core/Base/Format.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvMapState.h"

namespace {

constexpr float kPlateTextWrap = 320.0f;
constexpr float kPlateTextScale = 0.8f;
constexpr float kNewBadgeAcross = 0.4f;  // of the pitch, times the plate's scale
constexpr float kNewBadgeRise = 180.0f;  // times the plate's scale
constexpr float kNewLabelWrap = 270.0f;

void drawCarouselImage(render::Graphics& graphics, const RuvFrameEntry* frame, float x, float y, float scale) {
  if (!frame || !frame->image) return;
  auto request = graphics.DrawImage(frame->image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  auto scaled = request.ScaleUniform(scale);
  scaled.GetTransform().Translate(x, y);
}

void drawCarouselText(render::Graphics& graphics, const std::u16string& text, float wrap, float x, float y,
                      float scale) {
  auto request = graphics.DrawTextBox(&text, wrap, 0.0f, 2, true);
  request->mHorizontalAnchor = 2;
  request->mVerticalAnchor = 2;
  auto scaled = request.ScaleUniform(scale);
  scaled.GetTransform().Translate(x, y);
}

}  // namespace

float EpisodeCarousel::plateX(int n) const {
  return pitch * static_cast<float>(n - current) + kCentreX - offset;
}

float EpisodeCarousel::plateScale(float x) const {
  const float d = std::fabs(kCentreX - x);
  return d < kScaleReach ? 1.0f - falloff * d / kScaleReach : 1.0f - falloff;
}

void EpisodeCarousel::update(float dt) {
  dragTime += dt;
  if (state == kReturningFromRight) {
    offset -= kReturnSpeed * dt;
    if (offset < 0.0f) settled();
  } else if (state == kReturningFromLeft) {
    offset += kReturnSpeed * dt;
    if (offset > 0.0f) settled();
  }
}

void EpisodeCarousel::startDrag(float x, float y) {
  state = kDragging;
  dragTime = 0.0f;
  lastX = x;
  lastY = y;
  moveStarted();
}

void EpisodeCarousel::dragTo(float x, float y) {
  offset += lastX - x;
  lastX = x;
  lastY = y;
  const float reach = static_cast<float>(plateCount() - 1) * pitch;
  offset = std::clamp(offset, -reach, reach);
  if (offset < 0.0f && current == 0) offset = 0.0f;
  if (offset > 0.0f && current == plateCount() - 1) offset = 0.0f;
}

void EpisodeCarousel::release() {
  if (offset == 0.0f) {
    settled();
    return;
  }
  state = offset > 0.0f ? kReturningFromRight : kReturningFromLeft;
  if (std::fabs(offset) > kSwitchOffset || dragTime < kFlickTime) switchPlate();
}

void EpisodeCarousel::step(int direction) {
  moveStarted();
  current += direction;
  offset = -static_cast<float>(direction) * pitch;
  state = direction < 0 ? kReturningFromRight : kReturningFromLeft;
  select(current);
}

void EpisodeCarousel::switchPlate() {
  if (offset > 0.0f) {
    if (++current > plateCount() - 1) {
      current = plateCount() - 1;
      return;
    }
    select(current);
    offset -= pitch;
    state = kReturningFromLeft;
  } else {
    if (--current < 0) {
      current = 0;
      return;
    }
    select(current);
    offset += pitch;
    state = kReturningFromRight;
  }
}

void EpisodeCarousel::draw(render::Graphics& graphics, render::Font* font, const std::u16string& newLabel) const {
  for (int n = 0; n < plateCount(); ++n) {
    const EpisodePlate& plate = plates[static_cast<size_t>(n)];
    const float x = plateX(n);
    const float s = plateScale(x);
    drawCarouselImage(graphics, plate.image.get(), x, kCentreY, s);
    drawCarouselImage(graphics, plate.lock, x, kCentreY, s);
    graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
    if (font) graphics.mFont = font;
    if (!plate.text.empty()) drawCarouselText(graphics, plate.text, kPlateTextWrap, x, kCentreY, kPlateTextScale * s);
    if (plate.newOverlay) {
      const float badgeX = x + kNewBadgeAcross * pitch * s;
      const float badgeY = kCentreY - kNewBadgeRise * s;
      drawCarouselImage(graphics, plate.newOverlay, badgeX, badgeY, s);
      drawCarouselText(graphics, newLabel, kNewLabelWrap, badgeX, badgeY, s);
    }
  }
}

void EpisodeCarousel::select(int index) {
  if (onSelect) onSelect->Invoke(index);
}

void EpisodeCarousel::moveStarted() {
  if (onMoveStart) onMoveStart->Invoke();
}

void EpisodeCarousel::settled() {
  offset = 0.0f;
  state = kIdle;
  if (onSettled) onSettled->Invoke();
}

EpisodePlate makeEpisodePlate(file::ImageContainer* layout, RuvMapState& map, int episode, RuvFrameEntry* lock,
                              RuvFrameEntry* newOverlay) {
  EpisodePlate plate;
  const std::u16string number = base::FormatSpec().PutInt(episode + 1).GetOutput();
  plate.image.reset(createFrameEntry(layout, u"plates/chapter_0" + number));
  const bool available = map.isEpisodeAvailable(episode);
  const int levels = map.levelCount(episode, false);
  LocalStrings* strings = LocalStrings::Instance();
  if (!available && levels > 0) {
    plate.text = (base::Format(strings->get(u"unlockEpisodeText")) % map.starsNeeded(episode)).GetResult();
    plate.lock = lock;
  } else {
    if (levels == -1) plate.text = strings->get(u"comingSoon");
    plate.lock = available ? nullptr : lock;
  }
  RuvProgress* progress = map.getProgress();
  if (available && progress &&
      (progress->getEpisodeVisits(episode, 1) < levels ||
       progress->getEpisodeVisits(episode, 3) < map.levelCount(episode, true))) {
    plate.newOverlay = newOverlay;
  }
  return plate;
}
