// How an enemy looks: its frame by state handed to the map's draw lists, and its overlay in screen
// space (the health bar after a hit; the numbers and picking outline of the debug view).
#include <algorithm>
#include <cmath>
#include <string>

#include "Core/Base/FormatSpec.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Art/RuvResources.h"
#include "Game/Art/TMobShader.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvUnit.h"

namespace {

constexpr float kHealthBarRise = 0.75f;        // of the art height, above the unit's position
constexpr float kHealthBarFadeSeconds = 0.5f;  // the bar fades out over the timer's last half second
constexpr float kDebugTextScale = 0.5f;

std::u16string unitDecimal(float value) { return base::FormatSpec().PutInt(static_cast<int>(value)).GetOutput(); }

}  // namespace

float RuvUnit::drawRandom() {
  // A linear congruential sequence of the unit's own, so that drawing leaves the game's alone.
  mDrawSequence = mDrawSequence * 1664525u + 1013904223u;
  return static_cast<float>(mDrawSequence >> 8) / 16777216.0f;
}

void RuvUnit::draw(render::Graphics&) {
  const RuvProto* tier = proto();
  if (!tier || !tier->art || state == kDead) return;
  const bool keepsWalking = tier->ice || tier->stone;
  const char* group = state == kDying || (state == kHeldByBeam && !keepsWalking) ? "death"
                      : state == kSpecial                                        ? "special"
                                                                                 : "walk";
  const auto found = tier->art->groups.find(group);
  const float facing = facingLeft ? -1.0f : 1.0f;
  mDrawRecord = RuvFrameEntry();
  if (found == tier->art->groups.end() || found->second.empty()) {
    // Without frames: the set's still image at half scale.
    mDrawRecord.image = tier->art->image;
    mDrawRecord.transform.Scale(0.5f, 0.5f);
    mDrawRecord.transform.Translate(position.x, position.y);
  } else {
    const RuvArtSet::FrameList& frames = found->second;
    const int last = static_cast<int>(frames.size()) - 1;
    int index = std::min(last, static_cast<int>(std::floor(animationTime * tier->fps)));
    if (state == kHeldByBeam && !keepsWalking) index = std::min(last, drawRandom() < 0.5f ? 1 : 2);
    currentFrame = frames[static_cast<size_t>(std::max(0, index))];
    const float* r = currentFrame->rect;
    const auto unnamed = tier->art->groups.find("");
    const bool hasPivot = unnamed != tier->art->groups.end() && !unnamed->second.empty();
    const math::Point2 pivot =
        hasPivot ? math::Point2(unnamed->second[0]->rect[0], unnamed->second[0]->rect[1]) : math::Point2();
    mDrawRecord.image = currentFrame->image;
    std::copy(r, r + 4, mDrawRecord.rect);
    mDrawRecord.transform.RotateDegrees(facing * drift.x);
    mDrawRecord.transform.Translate(-0.5f * facing * r[2], 0.5f * r[3]);
    mDrawRecord.transform.Translate(-facing * r[0], r[1]);
    mDrawRecord.transform.Translate(0.5f * facing * artSize.x, -0.5f * artSize.y);
    mDrawRecord.transform.Translate(position.x - facing * (0.5f * artSize.x - pivot.x),
                                    position.y + drift.y + 0.5f * artSize.y - pivot.y);
  }
  mDrawRecord.flipX = facingLeft;
  // The enemy shader multiplies the frame by "color2", the tint; without it the frame draws untinted.
  mDrawRecord.shader = mMap->mMobShader;
  const std::uint32_t fill = tier->fillColor;
  for (int channel = 0; channel < 4; ++channel) {
    // 0xAARRGGBB: red, green, blue, alpha.
    const int shift = channel == 3 ? 24 : 16 - 8 * channel;
    mDrawRecord.shaderValues[channel] = static_cast<float>((fill >> shift) & 0xFFu) / 255.0f;
  }
  mDrawRecord.colour = math::Color(1.0f, 1.0f, 1.0f, brightness * fade);
  mDrawRecord.depth = position.y;
  mDrawRecord.owner = this;
  mMap->mDrawLayers[!tier->air && layer == 0.0f ? 1 : 3].push_back(&mDrawRecord);
  if (tier->air && shadow) {
    mShadowRecord = RuvFrameEntry();
    mShadowRecord.image = shadow.get();
    mShadowRecord.transform.Translate(position.x + 5.0f, position.y + 15.0f);
    mShadowRecord.depth = position.y;
    mShadowRecord.owner = this;
    mMap->mDrawLayers[4].push_back(&mShadowRecord);
  }
}

bool RuvUnit::showsHealthBar() const {
  // A tier without health has no share to show.
  return healthBarTimer > 0.0f && maxHealth() > 0.0f && health != maxHealth() && health != 0.0f && !isDying();
}

void RuvUnit::drawOverlay(render::Graphics& graphics) {
  if (!mMap) return;
  const float scale = mMap->mViewScale;
  const math::Point2 screen(position.x * scale + mMap->mViewX, position.y * scale + mMap->mViewY);
  render::Image* bar = mMap->mArtBar;
  if (bar && showsHealthBar()) {
    const float alpha = healthBarTimer < kHealthBarFadeSeconds ? 2.0f * healthBarTimer : 1.0f;
    const float left = screen.x - static_cast<float>(bar->GetWidth() / 2);
    const float top = screen.y - kHealthBarRise * artSize.y * scale;
    const float share = std::max(0.0f, health) / maxHealth();
    graphics.SetColorRGBA(1.0f, 0.0f, 0.0f, alpha);
    graphics.DrawImage(bar).Translate(math::Point2(left, top));
    graphics.SetColorRGBA(0.0f, 1.0f, 0.0f, alpha);
    auto green = graphics.DrawImage(bar);
    auto scaled = green.Scale(share, 1.0f);
    scaled.GetTransform().Translate(left, top);
  }
  if (!mMap->mShowDebug) return;
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  // The map's font lives until the frame's commands have played; without it no text.
  render::Font* previous = graphics.mFont;
  graphics.mFont = mMap->mFont32_2.Get();
  const std::u16string numbers = unitDecimal(health) + u"/" + unitDecimal(maxHealth());
  if (graphics.mFont) {
    auto text = graphics.DrawText(&numbers);
    text->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
    text->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
    text.ScaleUniform(kDebugTextScale).GetTransform().Translate(screen.x, screen.y);
  }
  graphics.mFont = previous;
  const math::Rect pick = bounds();
  const float halfWidth = pick.width * 0.5f * scale;
  const float halfHeight = pick.height * 0.5f * scale;
  const math::Point2 corners[4] = {{screen.x - halfWidth, screen.y - halfHeight},
                                   {screen.x + halfWidth, screen.y - halfHeight},
                                   {screen.x + halfWidth, screen.y + halfHeight},
                                   {screen.x - halfWidth, screen.y + halfHeight}};
  for (int i = 0; i < 4; ++i) graphics.DrawLine(corners[i], corners[(i + 1) % 4]);
}
