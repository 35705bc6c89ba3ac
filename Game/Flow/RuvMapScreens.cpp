// The map where it meets the screens: it builds the HUD with the notices the battle sends it, and
// drives the HUD, the tutorial and the pause menu.
#include "Game/Battle/RuvMap.h"

#include "Core/Base/Delegate.h"
#include "Core/Purchase/PurchaseResultEvent.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/RenderTarget.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDIngameMenu.h"
#include "Game/Screens/RuvTutorial.h"
#include "Game/Tables/RuvDataSheet.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/SoundTags.h"

namespace {

// A button missing from the HUD's layout is left alone.
void showHudButton(HUD& hud, const char16_t* name, bool visible) {
  if (RuvButtonFrame* button = hud.findButton(name)) button->visible = visible ? 1 : 0;
}

// The battle's notices reach the map's HUD and the tutorial.
class MapScreenNotices : public RuvScreenNotices {
 public:
  explicit MapScreenNotices(HUD& hud) : mHud(hud) {}
  void tutorialEvent(const std::u16string& name) override { RuvTutorial::Instance()->onEvent(name); }
  void updateWaveText() override { mHud.updateWaveText(); }
  void pushModalDialog(const std::u16string& caption, const std::u16string& message, int id) override {
    mHud.pushModalDialog(caption, message, id);
  }

 private:
  HUD& mHud;
};

}  // namespace

RuvMap::RuvMap() {
  mUpgrades = std::make_unique<RuvUpgrades>(std::u16string(RuvUpgrades::kPath), this);
  mRoutes = std::make_unique<RuvRouteTable>();
  loadUiArt();
  mUnlocks = std::make_unique<RuvUnlocks>(this);
  mEnemySpotAnim = std::make_unique<RuvAnimation>(u"ruv/enemy_spot", u"");
  k2::SoundTags* soundTags = k2::SoundTags::Instance();
  soundTags->Load(k2::SoundTags::kSheetPath);
  soundTags->SetMapState(this);
  mWallet = std::make_unique<RuvWallet>(this);
  mHud = std::make_unique<HUD>(*this);
  mNotices = std::make_unique<MapScreenNotices>(*mHud);
  mSpells = std::make_unique<RuvSpellSheet>();
  for (const char16_t* name : {u"speed_btn_ac", u"pause_btn_ac", u"play_btn_ac", u"options_btn_ac"}) {
    showHudButton(*mHud, name, false);
  }
  mProgress = std::make_unique<RuvProgress>(this);
  mMode = mProgress->getMode();
  mFxTriggers = std::make_unique<RuvFxTriggers>(&mOverlayEffects);
  mWaves = std::make_unique<RuvWaveManager>();
  mBullets = std::make_unique<RuvBulletList>();
  loadSheets();
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  mActiveEmitter.reset(particles->CreateEmitter("active"));
  mActiveButtonEmitter.reset(particles->CreateEmitter("active_btn"));
  for (render::ParticleEmitter* emitter : {mActiveEmitter.get(), mActiveButtonEmitter.get()}) {
    if (emitter) emitter->SetState(render::ParticleEmitter::kPlaying);
  }
  refreshSpeedButtons();
  purchase::PurchaseResultEvent::Subscribe(
      this, base::DelegatePtr<purchase::PurchaseResultEvent::Handler>(
                new base::MemberDelegate1<RuvMap, const TPurchaseResult&, void>(this, &RuvMap::onPurchaseResult)));
}

RuvMap::~RuvMap() {
  purchase::PurchaseResultEvent::Unsubscribe(this);
  if (k2::SoundTags::Exists()) k2::SoundTags::Instance()->SetMapState(nullptr);
  mSpots.reset();
  mProtos.reset();
  mWallet.reset();
  mPopups.reset();
  mSpells.reset();
  mParticles.clear();
  mEmitters.clear();
  mOverlayEffects.clear();
  mEffects.clear();
  mModifiers.clear();
  mTowers.clear();
  mWaveHint.reset();
  mWaves.reset();
  mBullets.reset();
  mLinks.clear();
  mPoints.clear();
  mSpotDefs.clear();
  mNotices.reset();
  mHud.reset();
  mRadialMenu.reset();
  mEnemySpotAnim.reset();
  mActiveButtonEmitter.reset();
  mActiveEmitter.reset();
  mFxTriggers.reset();
  deleteOwnedObjects(mSprites);
  mUnlocks.reset();
  mUpgrades.reset();
  mRoutes.reset();
  mSceneryCache.reset();
  RuvResources::Instance()->clear();
  // A tutorial that was never built has nothing on screen; building one now would read a dying map.
  if (RuvTutorial::Exists()) RuvTutorial::Instance()->hide();
  mProgress.reset();
}

void RuvMap::pause() {
  mSpeed = 0.0f;
  refreshSpeedButtons();
  mState = kStatePauseMenu;
  RuvTutorial::Instance()->suspend();
  mHud->pushWindow(new HUDIngameMenu);
}

void RuvMap::refreshSpeedButtons() {
  showHudButton(*mHud, u"play_btn_ac", mSpeed == 1.0f);
  showHudButton(*mHud, u"play_btn", mSpeed != 1.0f);
  showHudButton(*mHud, u"speed_btn_ac", mSpeed == 2.0f);
  showHudButton(*mHud, u"speed_btn", mSpeed != 2.0f);
  showHudButton(*mHud, u"pause_btn_ac", mSpeed == 0.0f);
  showHudButton(*mHud, u"pause_btn", mSpeed != 0.0f);
  showHudButton(*mHud, u"options_btn_ac", false);
  const char16_t* active = mSpeed == 0.0f ? u"pause_btn_ac"
                           : mSpeed == 1.0f ? u"play_btn_ac"
                           : mSpeed == 2.0f ? u"speed_btn_ac"
                                            : nullptr;
  RuvButtonFrame* button = active ? mHud->findButton(active) : nullptr;
  if (button && mActiveButtonEmitter) {
    const float* r = button->rect;
    mActiveButtonEmitter->SetPosition(math::Point2(r[0] + r[2] / 2.0f, r[1] + r[3] / 2.0f), 1);
  }
}

void RuvMap::updateCoinsText() {
  if (mHud) mHud->updateCoinsText();
}

void RuvMap::updateCrystalsText() {
  if (mHud) mHud->updateCrystalsText();
}

void RuvMap::reloadTutorialProgress() { RuvTutorial::Instance()->reloadProgress(); }

void RuvMap::updateScreens(float dt) {
  mHud->update(dt);
  RuvTutorial::Instance()->update(dt);
}

void RuvMap::drawHud(render::Graphics& graphics) {
  mHud->draw(graphics);
  mHud->drawWindows(graphics, 0);
}

void RuvMap::drawHudTop(render::Graphics& graphics) { mHud->drawWindows(graphics, 1); }
