// How a tower looks: its frame by state and angle, placed on its anchor, and its overlay marks.
#include <cmath>
#include <string>

#include "Core/Base/FormatSpec.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"

namespace {

constexpr float kStarMarksRight = 15.0f;
constexpr float kBoostSignRise = 50.0f;

const RuvArtSet::FrameList* towerFrames(const RuvArtSet* art, const char* group) {
  if (!art) return nullptr;
  const auto found = art->groups.find(group);
  return found == art->groups.end() || found->second.empty() ? nullptr : &found->second;
}

}  // namespace

bool RuvTower::placeFrame(RuvFrameEntry& record) {
  const RuvProto* current = tier();
  const RuvArtSet* art = current ? current->art : nullptr;
  if (!art) return false;
  int index = static_cast<int>(std::floor(currentAngle / kSectorDegrees)) % 32;
  if (index < 0) index += 32;
  directionIndex = index;
  const RuvFrameEntry* frame = nullptr;
  if (current->rotating) {
    const RuvArtSet::FrameList* frames = towerFrames(art, "");
    if (frames) frame = (*frames)[static_cast<size_t>(index) % frames->size()];
  } else if (const RuvArtSet::FrameList* blast = towerFrames(art, "blast");
             blast && (state == kFiring || state == kFlameInFlight)) {
    const int last = static_cast<int>(blast->size()) - 1;
    const int shown = state == kFlameInFlight ? last : static_cast<int>(std::floor(animationTime * current->fps));
    frame = (*blast)[static_cast<size_t>(std::max(0, std::min(last, shown)))];
  } else if (const RuvArtSet::FrameList* idle = towerFrames(art, "idle")) {
    const int last = static_cast<int>(idle->size()) - 1;
    frame = (*idle)[static_cast<size_t>(std::max(0, std::min(last, static_cast<int>(std::floor(animationTime * current->fps)))))];
  }
  if (!frame) return false;
  const float* r = frame->rect;
  record = RuvFrameEntry();
  record.image = frame->image;
  std::copy(r, r + 4, record.rect);
  record.transform.Translate(0.5f * r[2], 0.5f * r[3]);
  record.transform.Translate(r[0], r[1]);
  record.transform.Translate(-0.5f * artSize.x, -0.5f * artSize.y);
  if (const RuvArtSet::FrameList* base = towerFrames(art, "base_point")) {
    const RuvFrameEntry& b = *base->front();
    record.transform.Translate(anchor.x + 0.5f * artSize.x - b.rect[0], anchor.y + 0.5f * artSize.y - b.rect[1]);
  } else {
    record.transform.Translate(anchor.x, anchor.y - 0.5f * artSize.y);
  }
  record.depth = anchor.y;
  record.owner = this;
  return true;
}

void RuvTower::draw(render::Graphics& graphics) {
  if (!mMap || !placeFrame(mDrawRecord)) return;
  mDrawRecord.colour = math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  mMap->mDrawLayers[1].push_back(&mDrawRecord);
  if (mMap->mShowWaveList && target) graphics.DrawLine(position, target->position);
}

void RuvTower::drawDirect(render::Graphics& graphics) {
  RuvFrameEntry record;
  if (!placeFrame(record) || !record.image) return;
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, fade);
  auto request = graphics.DrawImage(record.image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  request.Transform(record.transform);
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

void RuvTower::drawOverlay(render::Graphics& graphics) {
  if (!mMap) return;
  const math::Point2 screen(position.x * mMap->mViewScale + mMap->mViewX, position.y * mMap->mViewScale + mMap->mViewY);
  const RuvProto* current = tier();
  const int marks = current ? current->stars : 0;
  render::Image* mark = marks >= 1 && marks <= 3 ? mMap->mArtTierMarks[marks - 1] : nullptr;
  for (int i = 0; mark && i < marks; ++i) {
    auto request = graphics.DrawImage(mark);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Translate(math::Point2(screen.x + kStarMarksRight, screen.y));
  }
  if (boosted && mMap->mArtPowerBuff) {
    auto request = graphics.DrawImage(mMap->mArtPowerBuff);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Translate(math::Point2(screen.x, screen.y - kBoostSignRise));
  }
}

void RuvTower::drawDebug(render::Graphics& graphics) {
  if (!mMap) return;
  const RuvProto* current = tier();
  if (current && mMap->mArtRadius) {
    const float scale = current->r / RuvMap::kArtRadiusDiameter;
    auto request = graphics.DrawImage(mMap->mArtRadius);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    auto scaled = request.Scale(scale, scale);
    scaled.GetTransform().Translate(position.x, position.y);
  }
  // The map's font lives until the frame's commands have played; without it no number.
  if (!mMap->mFont32_2) return;
  render::Font* previous = graphics.mFont;
  graphics.mFont = mMap->mFont32_2.Get();
  const std::u16string number = base::FormatSpec().PutInt(directionIndex).GetOutput();
  {
    auto text = graphics.DrawText(&number);
    text->mHorizontalAnchor = render::DrawTextParam::kAnchorStart;
    text->mVerticalAnchor = render::DrawTextParam::kAnchorBase;
    text.Translate(position);
  }
  graphics.mFont = previous;
}
