#include "Game/Screens/HUDSpellButton.h"

#include <algorithm>
#include <string>

#include "Core/App/Application.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Math/Rect.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Screens/HUD.h"

namespace {

bool spellFeatureActive(const char* feature) {
  return RuvFeatures::instance().getFlag(feature, RuvFeatures::kIsActive);
}

float spellApplicationScale() {
  return app::Application::Exists() ? app::Application::Instance()->GetImageScale() : 1.0f;
}

}  // namespace

HUDSpellButton::HUDSpellButton(RuvMap& map, int number) : spellNumber(number), mMap(map) {}

const RuvSpellRow* HUDSpellButton::row() const { return mMap.mSpells ? mMap.mSpells->findSpell(spellNumber) : nullptr; }

bool HUDSpellButton::lacksTower() const { return spellNumber == kSpellNeedingTower && mMap.mTowers.empty(); }

int HUDSpellButton::rechargePrice() const {
  const RuvSpellRow* spell = row();
  const int price = spell ? spell->rechargePrice : 0;
  return mMap.mProgress && mMap.mProgress->getUpgradeLevel(kHalvingUpgrade) >= 0 ? price / 2 : price;
}

std::u16string HUDSpellButton::countdownText() const {
  return base::ToWide(std::to_string(int(time + 1.0f)), base::kEncodingUtf8);
}

float HUDSpellButton::overlayRatio() const {
  const RuvSpellRow* spell = row();
  const RuvProto* library = spell && mMap.mProtos ? mMap.mProtos->findProto(spell->protoId) : nullptr;
  if (!library || !(library->cooldown > 0.0f)) return 0.0f;
  return std::min(std::max(time / library->cooldown, 0.0f), 1.0f);
}

bool HUDSpellButton::hitTest(int x, int y) {
  const RuvSpellRow* spell = row();
  const render::Image* icon = spell ? spell->icon.get() : nullptr;
  if (!icon || icon->GetWidth() <= 0) return false;
  const float k = kHitWidth / float(icon->GetWidth());
  const float halfWidth = k * float(icon->GetWidth()) / 2.0f;
  const float halfHeight = k * float(icon->GetHeight()) / 2.0f;
  const float fx = float(x);
  const float fy = float(y);
  return centreX - halfWidth <= fx && fx <= centreX + halfWidth && centreY - halfHeight <= fy &&
         fy <= centreY + halfHeight;
}

void HUDSpellButton::hover(int x, int y) { hovered = hitTest(x, y) ? 1 : 0; }

bool HUDSpellButton::click(int x, int y) {
  if (!hitTest(x, y)) return false;
  if (!pressed) return !lacksTower();
  if (!spellFeatureActive(RuvFeatures::kSpellRecharge) || !row()) return false;
  const int price = rechargePrice();
  if (mMap.mWallet->gems < price) {
    if (spellFeatureActive(RuvFeatures::kLowPremiumPointsDialog)) {
      LocalStrings* strings = LocalStrings::Instance();
      mMap.mHud->pushModalDialog(strings->get(u"convertCristallToMoneyDialogTitle"),
                                 strings->get(u"gemShopDialogText"), kStateNone);
      mMap.mState = kStateBattleGemOffer;
      mMap.mSpeed = 0.0f;
      mMap.refreshSpeedButtons();
    }
    return false;
  }
  mMap.mWallet->spendGems(price);
  playReadyEffect();
  return false;
}

void HUDSpellButton::markUsed() {
  const RuvSpellRow* spell = row();
  if (!spell || !mMap.mProtos) return;
  pressed = 1;
  const std::unique_ptr<RuvProto> proto = mMap.mProtos->makeUpgradedProto(spell->protoId, mMap.mUpgrades.get());
  time = proto ? proto->cooldown : 0.0f;
}

void HUDSpellButton::playReadyEffect() {
  pressed = 0;
  time = 0.0f;
  if (!readyEffect) readyEffect.reset(render::ParticleSystem::Instance()->CreateEmitter("blik_6"));
  if (!readyEffect) return;
  readyEffect->SetPosition(math::Point2(centreX, centreY), 1);
  readyEffect->SetState(render::ParticleEmitter::kPlaying);
}

void HUDSpellButton::update(float dt) {
  if (pressed) {
    time -= mMap.mSpeed * dt;
    if (time <= 0.0f) playReadyEffect();
  }
  growWhileHovered(*this, dt);
  if (readyEffect) {
    readyEffect->Update(double(dt));
    if (readyEffect->GetState() != render::ParticleEmitter::kPlaying) readyEffect.reset();
  }
}

void HUDSpellButton::draw(render::Graphics& graphics) {
  const RuvSpellRow* spell = row();
  render::Image* icon = spell ? spell->icon.get() : nullptr;
  render::Image* dark = spell ? spell->secondIcon.get() : nullptr;
  if (icon && dark && time > 0.0f) {
    const float x0 = centreX - float(icon->GetWidth() / 2);
    const float y0 = centreY - float(icon->GetHeight() / 2);
    const float w = float(dark->GetWidth());
    const float h = float(dark->GetHeight());
    graphics.DrawImagePartToRect(icon, math::Rect(0.0f, 0.0f, w, h), math::Rect(x0, y0, w, h));
    const float r = overlayRatio();
    if (r > 0.0f) graphics.DrawImagePartToRect(dark, math::Rect(0.0f, 0.0f, w, h * r), math::Rect(x0, y0, w, h * r));
    const resource::ResourcePtr<render::Font> countdownFont = LoadGameFont(kFontMain42x3);
    if (countdownFont) graphics.mFont = countdownFont.Get();
    const std::u16string seconds = countdownText();
    {
      auto text = graphics.DrawText(&seconds);
      text->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
      text->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
      text.Translate(math::Point2(x0 + float(dark->GetWidth() / 2), y0 + float(dark->GetHeight() / 2)));
    }
    if (spellFeatureActive(RuvFeatures::kSpellRecharge) && mMap.mArtContextGem) {
      render::Image* gem = mMap.mArtContextGem;
      const float q = spellApplicationScale();
      const float top = y0 - q * float(gem->GetHeight() / 2);
      {
        auto request = graphics.DrawImage(gem);
        request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
        request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
        request.Translate(math::Point2(x0 + q * float(dark->GetWidth() / 2) - q * float(gem->GetWidth() / 2), top));
      }
      const std::u16string price = base::ToWide(std::to_string(rechargePrice()), base::kEncodingUtf8);
      auto text = graphics.DrawText(&price);
      text->mHorizontalAnchor = render::DrawTextParam::kAnchorStart;
      text->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
      text.Translate(math::Point2(x0 + q * float(dark->GetWidth() / 2), top));
    }
  } else if (icon) {
    math::Transform2D transform;
    transform.Scale(scale, scale);
    transform.Translate(centreX, centreY);
    auto request = graphics.DrawImage(lacksTower() && dark ? dark : icon);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Transform(transform);
  }
  if (readyEffect) graphics.DrawParticles(readyEffect.get());
}
