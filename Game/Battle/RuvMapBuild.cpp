// The map's build spots and the towers on them: building, finding and selling towers, and the
// enemy queries that switch towers off or slow them.
#include <algorithm>
#include <cmath>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

namespace {

constexpr float kTowerHitDistance = 50.0f;  // exclusive
constexpr int kBuildTowerType = 1;

void startBuildEffect(RuvMap& map, const math::Point2& position) {
  render::ParticleEmitter* effect = render::ParticleSystem::Instance()->CreateEmitter("build");
  if (!effect) return;
  effect->SetPosition(position, 0);
  effect->SetState(render::ParticleEmitter::kPlaying);
  map.mEmitters.emplace_back(effect);
}

// A unit of such a tier near the tower; fully stopped units are ignored. The library's farthest
// reach of such tiers rules out most units by distance before their tier is looked up.
template <class Has>
bool buildUnitNear(const RuvMap& map, const RuvTower& tower, float reachShare, Has has) {
  if (tower.spellBoosted || !map.mProtos) return false;
  float farthest = -1.0f;
  for (const std::unique_ptr<RuvProto>& proto : map.mProtos->getList()) {
    if (has(*proto)) farthest = std::max(farthest, proto->r * reachShare);
    for (const std::unique_ptr<RuvProto>& tier : proto->tiers) {
      if (has(*tier)) farthest = std::max(farthest, tier->r * reachShare);
    }
  }
  if (farthest < 0.0f) return false;
  for (const std::unique_ptr<RuvUnit>& unit : map.mWaves->units) {
    if (!unit->alive || unit->isDying()) continue;
    const float away = distance(tower.position.x, tower.position.y, unit->position.x, unit->position.y);
    if (away > farthest) continue;
    const RuvProto* tier = unit->proto();
    if (!tier || !has(*tier) || unit->speedReduction == tier->speed) continue;
    if (away <= tier->r * reachShare) return true;
  }
  return false;
}

}  // namespace

bool RuvMap::isTowerBlocked(const RuvTower& tower) const {
  return buildUnitNear(*this, tower, 0.5f, [](const RuvProto& tier) { return tier.blockTower; });
}

bool RuvMap::isTowerDebuffed(const RuvTower& tower) const {
  return buildUnitNear(*this, tower, 1.0f, [](const RuvProto& tier) { return tier.debuffTower; });
}

RuvTower* RuvMap::findTowerAt(float x, float y) const {
  for (const std::unique_ptr<RuvTower>& tower : mTowers) {
    if (distance(tower->position.x, tower->position.y, x, y) < kTowerHitDistance) return tower.get();
  }
  return nullptr;
}

RuvTower* RuvMap::buildTower(const RuvProto* proto, RuvFrameEntry* spotEntry) {
  if (!proto || !spotEntry) return nullptr;
  RuvProto priced;
  priced.copyFrom(*proto);
  mUpgrades->applyToProto(priced);
  if (priced.cost > static_cast<float>(mWallet->money)) return nullptr;
  mWallet->spendMoney(static_cast<int>(std::trunc(priced.cost)));
  updateCoinsText();
  spotEntry->visible = 0;
  auto tower = std::make_unique<RuvTower>(*this);
  tower->setProto(proto);
  tower->spot = spotEntry;
  tower->position = math::Point2(frameCentreX(*spotEntry), frameCentreY(*spotEntry));
  tower->anchor = tower->position;
  RuvTower* built = tower.get();
  mTowers.push_back(std::move(tower));
  // A boost tower built last must still come first, or it would boost no tower updated before it.
  sortTowersBoostFirst(*this);
  k2::SoundTags::Instance()->Play(u"buildTower");
  startBuildEffect(*this, built->position);
  return built;
}

int towerRefund(const RuvProtoLibrary& protos, const RuvProto& tier, float sellRatio) {
  float sum = std::trunc(tier.cost);
  // Only a tier of a library tower has a parent price: the column reads 0 on other rows.
  const RuvProto* parent = tier.parent != -1 ? protos.findProto(tier.parent) : nullptr;
  if (parent && parent != &tier && parent->type == kBuildTowerType) sum += std::trunc(parent->cost);
  return static_cast<int>(std::trunc(std::floor(sum * sellRatio)));
}

void RuvMap::sellTower(RuvTower* tower) {
  const auto found = std::find_if(mTowers.begin(), mTowers.end(),
                                  [tower](const std::unique_ptr<RuvTower>& listed) { return listed.get() == tower; });
  if (found == mTowers.end()) return;
  if (const RuvProto* tier = tower->tier()) mWallet->addMoney(towerRefund(*mProtos, *tier, mSellRatio));
  updateCoinsText();
  mBullets->removeTowerBullets(tower);
  // Every unit drops what the tower put on it (a hold-and-teleport forgot it already), so nothing
  // keeps the address of the deleted tower.
  for (const std::unique_ptr<RuvUnit>& unit : mWaves->units) unit->dropModifiersOf(tower);
  if (RuvParticle* beam = tower->beam.get()) {
    if (isEffectRunning(beam->emitters)) {
      for (render::ParticleEmitter* emitter : beam->emitters) emitter->SetState(render::ParticleEmitter::kInterrupted);
    }
  }
  startBuildEffect(*this, tower->position);
  k2::SoundTags::Instance()->Play(u"sellTower");
  for (RuvSprite* sprite : {tower->switchedOffSprite, tower->slowedSprite}) {
    if (sprite) removeOwnedObject(mSprites, sprite);
  }
  mTowers.erase(found);
}

void RuvMap::loadSpots(const std::vector<RuvLevelSpot>& spots, const std::string& layoutPath) {
  mSpots.reset();
  mSpotDefs.clear();
  for (const RuvLevelSpot& definition : spots) mSpotDefs.push_back(std::make_unique<RuvSpot>(definition));
  mSpots = std::make_unique<RuvSpotList>(base::ToWide(layoutPath, base::kEncodingUtf8));
  for (std::size_t i = 0; i < mSpotDefs.size(); ++i) {
    RuvSpot& spot = *mSpotDefs[i];
    const std::string digits = "#" + std::to_string(i);
    const bool bought = mProgress->isSpotOwned(std::u16string(digits.begin(), digits.end()), mEpisode, mLevel);
    RuvFrameEntry* entry = mSpots->addSpot(spot, static_cast<int>(i), bought);
    const int towerId = static_cast<int>(spot.attributes.getFloat("tower_id"));
    if (towerId == 0) continue;
    const RuvProto* proto = mProtos->findProto(towerId);
    if (!proto) continue;
    mWallet->addMoney(static_cast<int>(std::trunc(proto->cost)));
    buildTower(proto, entry);
  }
  mSpots->sortScenery();
  mState = kStatePlaying;
}
