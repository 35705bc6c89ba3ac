#include "Game/Screens/HUDLevelResultWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"

namespace {

std::u16string levelResultDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string levelResultLine(const char16_t* key, int value) {
  return LocalStrings::Instance()->get(key) + levelResultDecimal(value);
}

int levelResultNear(float value) { return static_cast<int>(value + 0.5f); }

}  // namespace

int levelStars(float lives, float maxLives) {
  const float ratio = lives / maxLives;
  if (ratio == 1.0f) return 3;
  if (ratio >= 0.5f && ratio < 1.0f) return 2;
  if (ratio > 0.0f && ratio < 0.5f) return 1;
  return 0;
}

int newStarGems(int oldStars, int newStars) {
  static constexpr int kGems[3][4] = {{0, 3, 8, 13}, {0, 0, 5, 10}, {0, 0, 0, 5}};
  if (oldStars < 0 || oldStars > 2 || newStars <= oldStars || newStars > 3) return 0;
  return kGems[oldStars][newStars];
}

HUDLevelResultWindow::HUDLevelResultWindow(RuvMap& map) : HUDWindow(kLayout), mMap(map) {
  offsetX = 0.0f;
  offsetY = 0.0f;
  scale = 0.0f;
  for (const std::unique_ptr<RuvEffect>& effect : map.mOverlayEffects) {
    if (effect && effect->emitter) effect->emitter->SetState(render::ParticleEmitter::kInterrupted);
  }
  const int stars = levelStars(map.mLives, map.mMaxLives);
  for (int i = 0; i < 3; ++i) setFrameVisible(u"star" + levelResultDecimal(i), i < stars);

  RuvProgress& progress = *map.mProgress;
  const std::unique_ptr<RuvLevelRecord> old(progress.getLevelRecord(map.mEpisode, map.mLevel, map.mMode));
  RuvLevelRecord result;
  map.mWallet->makeLevelRecord(result);
  int gems = newStarGems(old->stars, stars);
  gems += episodeBonus();
  if (gems > 0) map.mWallet->addGems(gems);
  result.stars = map.mState == kStateLevelWon ? stars : 0;
  setText(u"gems", LocalStrings::Instance()->get(u"gems") + u": " + levelResultDecimal(gems));
  const int best = result.score() > old->high ? result.score() : old->high;
  setText(u"bestScore", levelResultLine(u"game_best_score", best));
  progress.saveLevelResult(map.mEpisode, map.mLevel, map.mMode, result);
}

int HUDLevelResultWindow::episodeBonus() {
  RuvProgress& progress = *mMap.mProgress;
  const int flag = mMap.mEpisode + 1;
  if (progress.getEventFlag(flag)) return 0;
  const int levels = mMap.levelCount(mMap.mEpisode);
  int starred = 0;
  for (int j = 0; j < levels; ++j) {
    const std::unique_ptr<RuvLevelRecord> record(progress.getLevelRecord(mMap.mEpisode, j, 1));
    if (record->stars > 0) ++starred;
  }
  if (starred != levels) return 0;
  progress.setEventFlag(flag);
  return kEpisodeBonus;
}

void HUDLevelResultWindow::update(float dt) {
  HUDWindow::update(dt);
  switch (phase) {
    case 0:
      if (time > kEntrance) {
        time = 0.0f;
        phase = 1;
      }
      scale += kGrowthRate * dt;
      break;
    case 1:
      if (mMap.mWallet->killScore == 0) {
        phase = 2;
        time = 0.0f;
      }
      offsetY = 0.0f;
      scale = 1.0f;
      break;
    case 2:
      if (mMap.mWallet->comboTotal == 0) {
        phase = 3;
        time = 0.0f;
      }
      break;
    default:
      break;
  }
}

void HUDLevelResultWindow::draw(render::Graphics& graphics) {
  const float t = std::min(time, kCountUp);
  const int kills = mMap.mWallet->killScore;
  const int life = static_cast<int>(std::floor(mMap.mLives * 100.0f));
  // The line of the phase and the phase that follows it once its second is over.
  int next = phase;
  switch (phase) {
    case 0:
      graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 2.0f * time);
      break;
    case 1:
      setText(u"killScore", levelResultLine(u"game_kill_score", levelResultNear(float(kills) * t)));
      next = 3;
      break;
    case 2:
      setText(u"goldBonus", std::u16string());
      next = 3;
      break;
    case 3:
      setText(u"lifeBonus", levelResultLine(u"game_life_bonus", levelResultNear(float(life) * t)));
      next = 4;
      break;
    case 4:
      setText(u"totalScore", levelResultLine(u"game_total_score", levelResultNear(float(life + kills) * t)));
      next = 5;
      break;
    default:
      break;
  }
  if (next != phase) {
    graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
    if (time > kCountUp) {
      phase = next;
      time = 0.0f;
    }
  }
  HUDWindow::draw(graphics);
}
