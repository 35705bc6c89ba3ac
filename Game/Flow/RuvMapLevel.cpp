// The map's level start, level load and level end.
#include <cmath>
#include <string>

#include "Core/Base/Format.h"
#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvLevelPaths.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDLevelName.h"
#include "Game/Screens/HUDLevelResultWindow.h"
#include "Game/Screens/RootBoardAccess.h"
#include "Game/Screens/RuvTutorial.h"

namespace {

std::u16string levelDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string levelText(const char16_t* key) { return LocalStrings::Instance()->get(key); }

// Episode index 0 to 6 plays its own track; any other index the first.
std::u16string levelMusic(int episode) {
  const int track = episode >= 0 && episode <= 6 ? episode + 1 : 1;
  return u"ruv/data/music/ingame" + levelDecimal(track) + u".ogg";
}

// The difficulty's name for modes 0 to 2; empty for hardcore.
std::u16string levelModeName(int mode) {
  switch (mode) {
    case 0:
      return levelText(u"diff_easy");
    case 1:
      return levelText(u"diff_normal");
    case 2:
      return levelText(u"diff_hard");
    default:
      return std::u16string();
  }
}

void levelStopBattle(RuvMap& map) {
  map.mSpeed = 0.0f;
  map.refreshSpeedButtons();
}

}  // namespace

void RuvMap::startLevel() {
  mLevelPath = levelPathStem(mMode, mEpisode, mLevel) + u".xml";
  loadLevel();
  mHud->phase = 0;
  if (!mWaves->hasLevel()) return;  // the level select is open again: no level started
  RuvTutorial::Instance()->onEvent(u"level_" + levelDecimal(mEpisode + 1) + u"_" + levelDecimal(mLevel + 1) +
                                   u"_start");
}

void RuvMap::loadLevel() {
  mHud->phase = 0;
  mViewX = 0.0f;
  mViewY = 0.0f;
  mViewScale = 1.0f;
  // The loading picture stands on the screen while the rest of the load runs.
  showGameLoadingScreen();
  mWallet->reset();
  mEnemyCostBonus = 0.0f;
  mStartBudgetBonus = 0.0f;
  mMaxLivesBonus = 0;
  mUpgrades->applyGlobal();
  loadSheets();
  mArmedSpell = nullptr;
  mState = kStateLoading;
  mSpeed = 0.0f;
  mHud->phase = 0;
  mHud->resetSpellButtons();
  mWaves->clock = 0.0f;
  mWaves->reset();
  mWaves->currentIndex = 0;
  mWaveHint->clear();
  mWaves->deleteUnits();
  mTowers.clear();
  mModifiers.clear();
  mBullets->bullets.clear();
  mLives = mMaxLives = mMode == 3 ? 1.0f : 25.0f + static_cast<float>(mMaxLivesBonus);
  mHud->stack.clear();
  mHud->pending.clear();
  loadLevelFile(mLevelPath);
  if (!mWaves->hasLevel()) {
    // Nothing of the previous level stays playable: the player picks a level again.
    mHud->pushLevelSelect();
    return;
  }
  mSpeed = 1.0f;
  mState = kStatePlaying;
  mTickAfterLoad = true;
  refreshSpeedButtons();
  k2::SoundTags::Instance()->PlayMusic(levelMusic(mEpisode));
  RuvTutorial::Instance()->rearmSteps();
  std::vector<int> unlocked;
  mUnlocks->newlyUnlocked(unlocked);
  // A level that unlocks something opens with the unlock message instead of the banner; one that
  // unlocks everything (-1 first) shows neither.
  if (unlocked.empty()) {
    if (GameWindow* board = gameRootBoard()) board->setBanner(new HUDLevelName(*this));
  } else if (unlocked.front() != -1) {
    mHud->pushUnlockMessage(unlocked);
  }
  mHud->updateWaveText();
  mHud->updateCrystalsText();
  mHud->updateCoinsText();
  mHud->updateLivesText();
}

void RuvMap::loadLevelFile(const std::u16string& path) {
  mRadialMenu.reset();
  mHud->spellButtons.clear();
  deleteOwnedObjects(mSprites);
  for (int spell = 0; spell <= 4; ++spell) mHud->addSpellButton(spell);
  mArmedSpell = nullptr;
  mSelectedUnit = nullptr;
  mLevelPath = path;
  mWaveHint->clear();
  mWaves->unload();  // the units first: they point at their waves' entries
  mModifiers.clear();
  mTowers.clear();
  mSpotDefs.clear();
  mFxTriggers = std::make_unique<RuvFxTriggers>(&mOverlayEffects);
  mEffects.clear();
  mOverlayEffects.clear();
  mParticles.clear();

  RuvLevelFile level;
  if (readLevelFile(path, mMapScale, level) != VN_OK) {
    mBudget = 0;
    mPoints.clear();
    mLinks.clear();
    mSpots.reset();
    mRoutes->clear();
    return;
  }
  mBudget = level.budget;
  mPoints = std::move(level.points);
  mLinks = std::move(level.links);
  mWaves->load(level.waves, level.wavesTimeout, *this);
  const int money = mBudget + static_cast<int>(std::trunc(static_cast<float>(mBudget) * mStartBudgetBonus));
  mWallet->addMoney(money);
  loadSpots(level.spots, level.layoutPath);
  loadAmbientSpots(mSpots ? mSpots->layout() : nullptr);
  mWallet->shownMoney = mWallet->money;
  // The route table samples the lanes of this file's waves.
  mRoutes->build(RuvGraph(mPoints, mLinks), level.laneDemands(), levelPathStem(mMode, mEpisode, mLevel) + u".cache");
  renderSceneryCache();
}

void RuvMap::loadAmbientSpots(file::ImageContainer* layout) {
  if (!layout) return;
  std::vector<std::u16string> names;
  layout->ListLayers(u"fx", false, names, false);
  for (const std::u16string& name : names) {
    if (const base::ImageInfo* point = layout->GetLayerInfo(name)) mFxTriggers->addPoint(mEpisode, point->mX, point->mY);
  }
}

void RuvMap::loseLevel() {
  if (mState != kStatePlaying && mState != kStateBuyHealthOffer) return;
  levelStopBattle(*this);
  mLevelResult = 1;
  mProgress->setGems(mWallet->gems);
  mHud->updateCrystalsText();
  mState = kStateLevelLost;
  SoundSystem::Instance()->PlayMusic(std::string());
  k2::SoundTags::Instance()->Play(u"loseSound");
  auto* result = new HUDLevelResultWindow(*this);
  mHud->pushWindow(result);
  result->setFont(LoadGameFont(kFontMain42x2));
  for (const char16_t* frame : {u"back_win", u"diffictly", u"victory_label", u"defeat_label"}) {
    result->setFrameVisible(frame, false);
  }
  result->setFrameVisible(u"diffictly_lose", true);
  result->setText(u"levelResult", levelText(u"game_lose"));
  for (const char16_t* star : {u"star0", u"star1", u"star2"}) result->setFrameVisible(star, false);
  result->setText(u"gameName", levelModeName(mMode));
  result->setText(u"killScore", levelText(u"game_kill_score") + u"0");
  result->setText(u"goldBonus", std::u16string());
  result->setText(u"lifeBonus", levelText(u"game_life_bonus") + u"0");
  result->setText(u"totalScore", levelText(u"game_total_score") + u"0");
  result->setText(u"gems", levelText(u"gems") + u": " + levelDecimal(mWallet->levelGems));
}

void RuvMap::winLevel() {
  if (mState != kStatePlaying) return;
  levelStopBattle(*this);
  mLevelResult = 2;
  mState = kStateLevelWon;
  SoundSystem::Instance()->PlayMusic(std::string());
  k2::SoundTags::Instance()->Play(u"winSound");
  auto* result = new HUDLevelResultWindow(*this);
  mHud->pushWindow(result);
  for (const char16_t* frame : {u"back_lose", u"diffictly_lose", u"defeat_label", u"victory_label"}) {
    result->setFrameVisible(frame, false);
  }
  result->setText(u"levelResult", levelText(u"game_win"));
  result->setFont(LoadGameFont(kFontMain42x3));
  const std::u16string episodeKey = (mMode == 3 ? u"episodeHardcore" : u"episode") + levelDecimal(mEpisode);
  result->setText(u"levelName", LocalStrings::Instance()->get(episodeKey) + u" " + levelDecimal(mEpisode + 1) + u" - " +
                                    levelDecimal(mLevel + 1));
  result->setText(u"gameName", levelModeName(mMode));
  result->setText(u"killScore", levelText(u"game_kill_score") + u"0");
  result->setText(u"goldBonus", levelText(u"game_combo_bonus") + u"0");
  result->setText(u"lifeBonus", levelText(u"game_life_bonus") + u"0");
  result->setText(u"totalScore", levelText(u"game_total_score") + u"0");
}

void RuvMap::onUnitReachedGoal(RuvUnit* unit) {
  const RuvProto* proto = mProtos->findProto(unit->entry->protoId);
  unit->entry->state = RuvWaveEntry::kGotThrough;
  unit->alive = 0;
  unit->gotThrough = 1;
  auto effect = std::make_unique<RuvEffect>("damage_h");
  if (effect->emitter) {
    effect->emitter->SetPosition(unit->position, 0);
    effect->emitter->SetLoopMode(2);
    effect->emitter->SetState(render::ParticleEmitter::kPlaying);
  }
  mEffects.push_back(std::move(effect));
  if (mLives == 0.0f) return;
  mLives -= proto ? proto->strength : 0.0f;
  mHud->updateLivesText();
  if (mLives > 0.0f) return;
  mLives = 0.0f;
  if (!RuvFeatures::instance().getFlag(RuvFeatures::kLowLifeDialog, RuvFeatures::kIsActive)) {
    loseLevel();
    return;
  }
  levelStopBattle(*this);
  openBuyHealthOffer();
}

void RuvMap::openBuyHealthOffer() {
  const purchase::Product* product = purchase::PurchaseSystem::Instance()->FindProduct(u"buy_health");
  // Without the product the offer still opens, with an empty price.
  const std::u16string price = product ? product->price : std::u16string();
  mHud->pushModalDialog(levelText(u"buyHealthDialogTitle"),
                        (base::Format(levelText(u"buyHealthDialogText")) % price).GetResult(), kStateNone);
  mState = kStateBuyHealthOffer;
}
