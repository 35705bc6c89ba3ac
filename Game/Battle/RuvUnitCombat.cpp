// A unit under fire: the damage rule of a bullet and the admission of modifiers.
#include <algorithm>
#include <cmath>

#include "Game/Art/RuvPopupList.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvBullet.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr int kImmunePopupKind = 2;
constexpr float kImmunePopupRise = 20.0f;

bool unitIsImmune(const RuvProto& unitProto, const RuvProto& tier) {
  if ((unitProto.ice || unitProto.stone) && (tier.dot || tier.stun)) return true;
  if (unitProto.poisonImmun && tier.hold) return true;
  const bool fireAmmo = tier.ammoId == 2001 || tier.ammoId == 2002 || tier.ammoId == 2003;
  return unitProto.fireDmgOnly && !fireAmmo;
}

}  // namespace

bool RuvUnit::canAdmit(const RuvModifier& modifier) const {
  return std::none_of(modifiers.begin(), modifiers.end(), [&modifier](const std::unique_ptr<RuvModifier>& held) {
    return held->source == modifier.source && !held->ability;
  });
}

void RuvUnit::dropModifiersOf(const void* source) {
  modifiers.erase(std::remove_if(modifiers.begin(), modifiers.end(),
                                 [source](const std::unique_ptr<RuvModifier>& held) { return held->source == source; }),
                  modifiers.end());
}

void RuvUnit::hit(const RuvBullet& bullet, bool direct) {
  const RuvProto* tier = bullet.tier;
  if (health <= 0.0f || !tier || !mMap || !entry) return;
  RuvMap& map = *mMap;
  RuvTower* tower = bullet.tower;
  const RuvProto* ammunition = bullet.ammo();
  const RuvProto* unitProto = map.mProtos->findProto(entry->protoId);
  float amount = tier->strength;
  if (tower) amount += (tower->bonus ? tower->bonus->strength : 0.0f) + tower->spotAttribute("damage_mult");
  // An ammunition of "r" 0 has no fall-off (there is no distance to fall off over).
  if (!direct && ammunition && ammunition->r > 0.0f) {
    const float away = distance(position.x, position.y, bullet.position.x, bullet.position.y);
    amount *= std::max(0.0f, (ammunition->r - away) / ammunition->r);
  }
  if (unitProto && unitIsImmune(*unitProto, *tier)) {
    if (map.mPopups) map.mPopups->add(position.x, position.y - kImmunePopupRise, kImmunePopupKind);
    return;
  }
  const auto admit = [this](std::unique_ptr<RuvModifier> modifier) {
    if (canAdmit(*modifier)) modifiers.push_back(std::move(modifier));
  };
  if (tier->teleportEnemy && tower) admit(std::make_unique<HoldAndTeleport>(map, "", 0.0f, 3.0f, tower));
  if (tier->dot) {
    auto poison = std::make_unique<DotModifier>(map, "health", 0.5f, 2.0f, tower);
    poison->period = 0.9f;
    admit(std::move(poison));
  }
  if (tier->stun) admit(std::make_unique<StunModifier>(map, "speed", 0.5f, 3.0f, tower));
  if (tier->hold) admit(std::make_unique<HoldModifier>(map, "speed", 0.5f, 3.0f, tower));
  if (tier->fireSplash) {
    auto fire = std::make_unique<FireSplashModifier>(map, "", 1.0f, 10.0f, tower, position.x, position.y, 64.0f);
    fire->period = 1.0f;
    map.mModifiers.push_back(std::move(fire));
  }
  if (tier->splash && direct) {
    map.mModifiers.push_back(
        std::make_unique<AreaDamageModifier>("", 0.0f, 1.5f, tower, position.x, position.y, 100.0f));
    const float reach = ammunition ? ammunition->r / 2.0f : 0.0f;
    std::vector<RuvUnit*> around;
    for (const std::unique_ptr<RuvUnit>& other : map.mWaves->units) {
      if (other.get() == this || !other->alive || other->isDying()) continue;
      if (distance(position.x, position.y, other->position.x, other->position.y) < reach) around.push_back(other.get());
    }
    for (RuvUnit* other : around) other->hit(bullet, false);
  }
  damage(amount);
}
