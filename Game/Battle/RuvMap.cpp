#include "Game/Battle/RuvMap.h"

#include <algorithm>
#include <cmath>

#include "Core/App/Application.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Tables/RuvDataSheet.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

// Loaded in this order at construction; the last one provides the set "ruv/ui".
constexpr const char16_t* kMapArtFolders[] = {
    u"ruv/units/t1units",   u"ruv/units/t2units", u"ruv/units/t3units",    u"ruv/towers/artillery",
    u"ruv/towers/dart",     u"ruv/towers/cannon", u"ruv/towers/support",   u"ruv/data/ui_parts",
};

struct MapTowerIcon {
  int id;
  const char16_t* frame;
};
constexpr MapTowerIcon kMapTowerIcons[] = {
    {10000, u"ui/tower_01"}, {10001, u"ui/tower_01"}, {10002, u"ui/tower_01"}, {10100, u"ui/tower_03"},
    {10200, u"ui/tower_02"}, {20000, u"ui/tower_05"}, {20001, u"ui/tower_05"}, {20002, u"ui/tower_05"},
    {20100, u"ui/tower_04"}, {20200, u"ui/tower_06"}, {30000, u"ui/tower_09"}, {30001, u"ui/tower_09"},
    {30002, u"ui/tower_09"}, {30100, u"ui/tower_11"}, {30200, u"ui/tower_10"}, {40000, u"ui/tower_08"},
    {40001, u"ui/tower_08"}, {40002, u"ui/tower_08"}, {40100, u"ui/tower_12"}, {40200, u"ui/tower_07"},
};

// Walks list by index: a finished element is deleted and removed in place, the others advance.
template <class List, class Finished, class Advance>
void mapUpdateOrRemove(List& list, Finished finished, Advance advance) {
  for (size_t i = 0; i < list.size();) {
    if (finished(*list[i])) {
      list.erase(list.begin() + std::ptrdiff_t(i));
    } else {
      advance(*list[i]);
      ++i;
    }
  }
}

bool mapEmitterPlaying(const render::ParticleEmitter* emitter) {
  return emitter && emitter->GetState() == render::ParticleEmitter::kPlaying;
}

framework::GameApplication* mapApplication() {
  return dynamic_cast<framework::GameApplication*>(app::Application::Instance());
}

}  // namespace

void RuvMap::loadUiArt() {
  for (const char16_t* folder : kMapArtFolders) RuvResources::Instance()->loadArtFolder(folder);
  loadUiFrames();
  mReady = true;
}

void RuvMap::loadUiFrames() {
  RuvArtSet* ui = RuvResources::Instance()->findArtByPsd(u"ruv/ui");
  const auto image = [ui](const char16_t* name) -> render::Image* {
    RuvFrameEntry* frame = ui ? ui->findFrame(name, u"") : nullptr;
    return frame ? frame->image : nullptr;
  };
  mWaveHint = std::make_unique<RuvWaveHint>(image(u"ui/wave_hint"));
  mPopups = std::make_unique<RuvPopupList>();
  mPopups->font = LoadGameFont(kFontMain42x3);
  mFont32_2 = LoadGameFont(kFontMain32x2);
  mRoadBrush = image(u"ui/brush");
  mArtPowerBuff = image(u"ui/power_buff");
  mArtLevel2 = image(u"ui/lvl2");
  mArtLevel3 = image(u"ui/lvl3");
  mArtSell = image(u"ui/sell");
  mArtBuy = image(u"ui/buy");
  mArtContextGem = image(u"ui/context_gem");
  mArtBar = image(u"ui/bar");
  mArtRadius = image(u"ui/radius");
  mArtTierMarks[0] = image(u"ui/l1");
  mArtTierMarks[1] = image(u"ui/l2");
  mArtTierMarks[2] = image(u"ui/l3");
  for (const MapTowerIcon& icon : kMapTowerIcons) mArtTowerIcons[icon.id] = image(icon.frame);
  for (const RuvAbilityBadge& badge : kRuvAbilityBadges) mArtAbilityIcons[badge.key] = image(badge.frame);
}

void RuvMap::update(float dt) {
  if (!mReady) return;
  const float g = mTickAfterLoad ? std::min(dt * mSpeed, kMaxStepAfterLoad) : dt * mSpeed;
  mTickAfterLoad = false;
  mFrameTime = dt;
  mGameTime += g;
  mEnemySpotAnim->update(dt);
  if (mSelectedUnit && mSelectedUnit->state == RuvUnit::kDying) mSelectedUnit = nullptr;
  if (mRadialMenu && mRadialMenu->active) mRadialMenu->update(dt);
  if (mArmedSpell && mActiveEmitter) mActiveEmitter->Update(double(g));
  if (mActiveButtonEmitter) {
    mActiveButtonEmitter->Update(double(g));
    if (!mapEmitterPlaying(mActiveButtonEmitter.get())) {
      mActiveButtonEmitter->SetState(render::ParticleEmitter::kPlaying);
    }
  }
  updateScreens(dt);
  const auto effectFinished = [](const RuvEffect& effect) { return !mapEmitterPlaying(effect.emitter); };
  const auto advanceEffect = [g](RuvEffect& effect) { effect.update(g); };
  mapUpdateOrRemove(mOverlayEffects, effectFinished, advanceEffect);
  mapUpdateOrRemove(
      mEmitters, [](const render::ParticleEmitter& emitter) { return !mapEmitterPlaying(&emitter); },
      [dt](render::ParticleEmitter& emitter) { emitter.Update(double(dt)); });
  if (mState != kStatePlaying) {
    mRadialMenu.reset();
    return;
  }
  mFxTriggers->update(g);
  updateSprites(mSprites, g);
  mWallet->update(dt);
  mapUpdateOrRemove(
      mParticles, [](const RuvParticle& particle) { return !isEffectRunning(particle.emitters); },
      [g](RuvParticle& particle) { particle.update(g); });
  mapUpdateOrRemove(mEffects, effectFinished, advanceEffect);
  mPopups->update(g);
  for (const std::unique_ptr<RuvTower>& tower : mTowers) {
    tower->clearCombatStats();
    tower->boosted = 0;
  }
  for (size_t i = 0; i < mModifiers.size(); ++i) mModifiers[i]->update(nullptr, g);
  for (size_t i = 0; i < mTowers.size(); ++i) {
    applyToTower(*mUpgrades, *mTowers[i]);
    mTowers[i]->update(g);
  }
  mWaves->updateUnitModifiers(g);
  for (size_t i = 0; i < mWaves->units.size(); ++i) mWaves->units[i]->update(g);
  mBullets->update(g);
  mapUpdateOrRemove(
      mModifiers, [](const RuvModifier& modifier) { return !modifier.active; },
      [](RuvModifier&) {});
  mWaves->update(g);
  for (const std::unique_ptr<RuvUnit>& unit : mWaves->units) unit->speedReduction = 0.0f;
}

void RuvMap::onAppPause() {
  if (mState == kStatePlaying) pause();
}

void RuvMap::onUnitRemoved(RuvUnit* unit) {
  if (unit == mSelectedUnit) mSelectedUnit = nullptr;
  mBullets->forgetUnit(unit);
  for (const std::unique_ptr<RuvParticle>& particle : mParticles) particle->forgetUnit(unit);
  for (const std::unique_ptr<RuvTower>& tower : mTowers) {
    if (tower->target == unit) tower->target = nullptr;
  }
  for (RuvSprite* sprite : mSprites) {
    auto* follower = dynamic_cast<RuvAnimatedSprite*>(sprite);
    if (follower && follower->owner == unit) follower->owner = nullptr;
  }
  RuvWaveEntry* entry = unit->entry;
  if (entry && entry->wave) entry->wave->onUnitKilled(entry->protoId, mGameTime, entry);
}

float RuvMap::difficultyOffset() const {
  if (mMode == 0) return -0.1f;
  if (mMode == 2) return 0.1f;
  return 0.0f;
}

void RuvMap::loadSheets() {
  if (!mProtos) mProtos = std::make_unique<RuvProtoLibrary>();
  RuvDataSheet::loadSheets(*mProtos, mEpisodes, mSellRatio, mDefaultGems);
}

int RuvMap::episodeCount() const { return int(mEpisodes.size()); }

int RuvMap::levelCount(int episode) const { return RuvDataSheet::levelCount(mEpisodes, episode); }

int RuvMap::hardcoreLevelCount(int episode) const { return RuvDataSheet::hardcoreLevelCount(mEpisodes, episode); }

int RuvMap::starsNeeded(int episode) const { return RuvDataSheet::starsNeeded(mEpisodes, episode); }

int RuvMap::totalLevelCount() const { return RuvDataSheet::totalLevelCount(mEpisodes); }

int RuvMap::levelCount(int episode, bool hardcore) const {
  return hardcore ? hardcoreLevelCount(episode) : levelCount(episode);
}

bool RuvMap::isAppFullscreen() {
  framework::GameApplication* application = mapApplication();
  if (application == nullptr) return false;
  // The window tells the mode in effect; the requested flag only tells the mode the game started in.
  if (const framework::GameWindow* window = application->GetWindow()) return !window->IsWindowed();
  return !application->IsWindowedRequested();
}

void RuvMap::switchScreenMode() {
  if (framework::GameApplication* application = mapApplication()) application->SwitchScreenMode();
}

bool RuvMap::isWorkAreaTooSmall() {
  framework::GameApplication* application = mapApplication();
  return application && application->IsWorkAreaTooSmall();
}

float distance(float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

bool drawDepthLess(const RuvFrameEntry* a, const RuvFrameEntry* b) { return a->depth < b->depth; }

bool isEffectRunning(const std::vector<render::ParticleEmitter*>& emitters) {
  if (emitters.empty()) return false;
  for (const render::ParticleEmitter* emitter : emitters) {
    if (!mapEmitterPlaying(emitter)) return false;
  }
  return true;
}
