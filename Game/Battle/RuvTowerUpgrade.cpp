// A tower's tier upgrade and its pop-up; the shop upgrades' bonuses on its tier.
#include <cmath>
#include <vector>

#include "Core/Base/Format.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvTower.h"

namespace {

constexpr float kUpgradeInfoSeconds = 2.5f;
constexpr float kUpgradeInfoRise = 30.0f;
constexpr float kUpgradeEffectDrop = 15.0f;
constexpr int kUpgradeInfoKind = 5;

// trunc((numerator / denominator - 1) x 100) when the values differ and the divisor is not 0.
void upgradeInfoLine(std::vector<RuvUpgradeInfoLine>& lines, const char16_t* key, float from, float to,
                     float numerator, float denominator) {
  if (from == to || denominator == 0.0f) return;
  lines.push_back({key, static_cast<int>(std::trunc((numerator / denominator - 1.0f) * 100.0f))});
}

}  // namespace

std::vector<RuvUpgradeInfoLine> towerUpgradeInfo(const RuvProto& from, const RuvProto& to) {
  std::vector<RuvUpgradeInfoLine> lines;
  upgradeInfoLine(lines, u"towerUpgradeInfoRange", from.r, to.r, to.r, from.r);
  if (from.strength > 0.0f) {
    upgradeInfoLine(lines, u"towerUpgradeInfoDamage", from.strength, to.strength, to.strength, from.strength);
  }
  upgradeInfoLine(lines, u"towerUpgradeInfoRof", from.cooldown, to.cooldown, from.cooldown, to.cooldown);
  upgradeInfoLine(lines, u"towerUpgradeInfoIncome", static_cast<float>(from.goldIncome),
                  static_cast<float>(to.goldIncome), static_cast<float>(to.goldIncome),
                  static_cast<float>(from.goldIncome));
  return lines;
}

void RuvTower::showUpgradeInfo(const RuvProto& from, const RuvProto& to) {
  if (!mMap->mPopups) return;
  std::u16string text;
  for (const RuvUpgradeInfoLine& line : towerUpgradeInfo(from, to)) {
    if (!text.empty()) text += u"\n";
    text += (base::Format(LocalStrings::Instance()->get(line.key)) % line.percent).GetResult();
  }
  RuvPopup* popup = mMap->mPopups->add(position.x, position.y - kUpgradeInfoRise, kUpgradeInfoKind);
  popup->text = text;
  popup->life = kUpgradeInfoSeconds;
}

void RuvTower::upgrade(int level, float price) {
  if (!baseProto || !mMap) return;
  const RuvProto* next = level <= 0 ? baseProto : baseProto->findTier(level);
  const RuvProto* current = tier();
  if (!next || !current) return;
  if (price > static_cast<float>(mMap->mWallet->money)) return;
  mMap->mWallet->spendMoney(static_cast<int>(std::trunc(std::floor(price))));
  showUpgradeInfo(*current, *next);
  tierLevel = level;
  animationTime = 0.0f;
  state = kIdle;
  target = nullptr;
  createAbilities();
  setArtSize(*next);
  if (render::ParticleEmitter* effect = render::ParticleSystem::Instance()->CreateEmitter("upgrade")) {
    effect->SetPosition(math::Point2(anchor.x, anchor.y + kUpgradeEffectDrop), 0);
    effect->SetState(render::ParticleEmitter::kPlaying);
    mMap->mEmitters.emplace_back(effect);
  }
  k2::SoundTags::Instance()->Play(u"upgradeTower");
  mMap->mNotices->tutorialEvent(u"tower_upgraded");
}

void applyToTower(const RuvUpgrades& upgrades, RuvTower& tower) {
  const RuvProto* base = tower.tier();
  if (!base || !tower.bonus) return;
  std::vector<const RuvUpgradeStep*> steps;
  upgrades.collectProtoSteps(base->id, steps);
  RuvProto& record = *tower.bonus;
  for (const RuvUpgradeStep* step : steps) {
    if (!step->attributes) continue;
    const RuvAttributes& bonus = *step->attributes;
    record.r += UpgradeShare(bonus.getFloat("radius"), base->r);
    record.strength += std::ceil(UpgradeShare(bonus.getFloat("strength"), base->strength));
    // The tower fires after its tier's cooldown minus this field: a positive "cooldown" shortens
    // the time between shots, as it does on a prototype copy.
    record.cooldown += UpgradeShare(bonus.getFloat("cooldown"), base->cooldown);
  }
}
