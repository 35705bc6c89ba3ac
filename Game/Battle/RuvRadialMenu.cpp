#include "Game/Battle/RuvRadialMenu.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"

namespace {

constexpr float kRadialPi = 3.14f;  // as the menu has always placed its icons
constexpr int kRadialTowerType = 1;

std::unique_ptr<RuvProto> radialUpgradedCopy(RuvMap& map, const RuvProto& proto) {
  auto copy = std::make_unique<RuvProto>();
  copy->copyFrom(proto);
  map.mUpgrades->applyToProto(*copy);
  return copy;
}

render::Image* radialUiImage(const char16_t* frame) {
  RuvFrameEntry* entry = RuvResources::Instance()->getFrame(u"ruv/ui", frame, u"");
  return entry ? entry->image : nullptr;
}

}  // namespace

const std::array<RuvAbilityBadge, 11> kRuvAbilityBadges = {{
    {u"dot", "dot", u"ui/acid_01"},
    {u"aim", "aimed", u"ui/beam_01"},
    {u"splash", "splash", u"ui/aoe_01"},
    {u"fsplash", "firesplash", u"ui/burn_01"},
    {u"stun", "stun", u"ui/dazed_01"},
    {u"boost", "towerBoost", u"ui/hammer_01"},
    {u"gold", "goldIncome", u"ui/money_01"},
    {u"tele", "teleportEnemy", u"ui/portal_01"},
    {u"air", "air", u"ui/wing_01"},
    {u"star1", "stars1", u"ui/might_01"},
    {u"star2", "stars2", u"ui/might_02"},
}};

std::vector<render::Image*> radialBadgeImages(const RuvProto& proto, const RuvMap& map) {
  std::vector<render::Image*> badges;
  for (const std::u16string& addon : proto.addons) {
    const auto badge = std::find_if(kRuvAbilityBadges.begin(), kRuvAbilityBadges.end(),
                                    [&addon](const RuvAbilityBadge& entry) { return addon == entry.addon; });
    if (badge == kRuvAbilityBadges.end()) continue;
    const auto icon = map.mArtAbilityIcons.find(badge->key);
    if (icon != map.mArtAbilityIcons.end() && icon->second) badges.push_back(icon->second);
  }
  return badges;
}

RuvRadialItem::RuvRadialItem(const resource::ResourcePtr<render::Font>& font)
    : moneyIcon(radialUiImage(u"ui/context_money")), gemIcon(radialUiImage(u"ui/context_gem")) {
  text.font = font;
  text.addIcon(u'$', moneyIcon);
  text.addIcon(u'#', gemIcon);
}

RuvRadialEdge RuvRadialMenu::edgeAt(float x, float y) {
  const bool top = y < 150.0f;
  const bool bottom = y > 650.0f;
  const bool left = x < 150.0f;
  const bool right = x > 874.0f;
  RuvRadialEdge edge;
  edge.atEdge = top || bottom || left || right;
  edge.reversesItems = edge.atEdge && y > 150.0f && x > 150.0f;
  if (right) {
    edge.arcStart = 180.0f;
    edge.arcEnd = 360.0f;
  } else if (left) {
    edge.arcStart = 0.0f;
    edge.arcEnd = 180.0f;
  } else if (bottom) {
    edge.arcStart = 90.0f;
    edge.arcEnd = 270.0f;
  } else if (top) {
    edge.arcStart = 270.0f;
    edge.arcEnd = 450.0f;
  }
  return edge;
}

float radialChainCost(const std::vector<const RuvProto*>& listed, const RuvProto& tier, int towerLevel) {
  if (tier.require == towerLevel) return tier.cost;
  float path = 0.0f;
  std::set<const RuvProto*> seen{&tier};
  int wanted = tier.require;
  while (true) {
    const auto found = std::find_if(listed.begin(), listed.end(),
                                    [wanted](const RuvProto* candidate) { return candidate->levelId == wanted; });
    if (found == listed.end() || !seen.insert(*found).second) break;
    path += (*found)->cost;
    if ((*found)->require == towerLevel) break;
    wanted = (*found)->require;
  }
  return std::trunc(path) + tier.cost;
}

RuvRadialMenu::RuvRadialMenu() : mFont(LoadGameFont(kFontMain32x2)) {
  k2::SoundTags::Instance()->Play(u"context_in");
}

RuvRadialMenu::~RuvRadialMenu() { clearItems(); }

RuvRadialItem& RuvRadialMenu::addItem(int positionIndex, int id) {
  items.push_back(std::make_unique<RuvRadialItem>(mFont));
  items.back()->positionIndex = positionIndex;
  items.back()->id = id;
  return *items.back();
}

void RuvRadialMenu::clearItems() {
  hoveredItem = nullptr;
  items.clear();
}

void RuvRadialMenu::openOn(RuvMap& map) {
  mMap = &map;
  mMap->mNotices->tutorialEvent(u"tower_select");
}

void RuvRadialMenu::openBuildMenu(RuvMap& map, RuvFrameEntry* spotEntry) {
  openOn(map);
  spot = spotEntry;
  arcStart = 90.0f;
  arcEnd = 270.0f;
  radius = kRadius;
  mode = kBuildMode;
  int index = 0;
  for (const std::unique_ptr<RuvProto>& proto : map.mProtos->getList()) {
    if (proto->type != kRadialTowerType || !map.mUnlocks->isUnlocked(proto->id)) continue;
    RuvRadialItem& item = addItem(++index, proto->id);
    item.icon = proto->art ? proto->art->image : nullptr;
    item.copy = radialUpgradedCopy(map, *proto);
    item.proto = item.copy.get();
    item.cost = item.copy->cost;
  }
}

void RuvRadialMenu::openBuySpotMenu(RuvMap& map, RuvFrameEntry* spotEntry) {
  openOn(map);
  spot = spotEntry;
  mode = kBuySpotMode;
  RuvRadialItem& item = addItem(1, 1);
  item.angle = 90.0f;
  const auto* definition = spotEntry ? static_cast<const RuvSpot*>(spotEntry->owner) : nullptr;
  if (!definition) return;
  if (definition->cost_gold != 0) item.label = "$" + std::to_string(definition->cost_gold);
  if (definition->cost_real != 0) {
    if (!item.label.empty()) item.label += "; ";
    item.label += "#" + std::to_string(definition->cost_real);
  }
}

void RuvRadialMenu::openTowerMenu(RuvMap& map, RuvTower& owner) {
  openOn(map);
  mode = kTowerMode;
  tower = &owner;
  arcStart = 0.0f;
  arcEnd = 360.0f;
  spot = owner.spot;
  const RuvProto* base = owner.baseProto ? map.mProtos->findProto(owner.baseProto->id) : nullptr;
  addItem(0, 0);
  if (!base) return;
  if (owner.stars < base->tierUpdates) {
    mode = kStarMode;
    addItem(1, 1).proto = base;
    return;
  }
  std::vector<std::unique_ptr<RuvProto>> copies;
  std::vector<const RuvProto*> listed;
  for (const std::unique_ptr<RuvProto>& child : base->tiers) {
    if (child->require < owner.tierLevel || !map.mUnlocks->isUnlocked(child->id)) continue;
    copies.push_back(radialUpgradedCopy(map, *child));
    listed.push_back(copies.back().get());
  }
  int index = 0;
  for (std::unique_ptr<RuvProto>& copy : copies) {
    RuvRadialItem& item = addItem(++index, copy->levelId);
    item.icon = copy->art ? copy->art->image : nullptr;
    item.cost = radialChainCost(listed, *copy, owner.tierLevel);
    item.proto = copy.get();
    item.copy = std::move(copy);
  }
}

void RuvRadialMenu::close() {
  if (phase == kClosing) return;
  k2::SoundTags::Instance()->Play(u"context_out");
  phase = kClosing;
  timer = 0.0f;
}

void RuvRadialMenu::update(float dt) {
  timer += dt;
  if (phase == kOpening && timer > kTransitionSeconds) {
    phase = kOpen;
    timer = 0.0f;
  } else if (phase == kClosing && timer > kTransitionSeconds) {
    active = 0;
    phase = kOpen;
  }
}

int RuvRadialMenu::itemAt(float x, float y) {
  if (items.empty() || phase != kOpen) return -1;
  const float k = edgeAt(centreX, centreY).atEdge ? kEdgeScale : 1.0f;
  for (const std::unique_ptr<RuvRadialItem>& item : items) {
    const float a = item->angle * kRadialPi / 180.0f;
    const float iconX = centreX + std::sin(a) * radius * k;
    const float iconY = centreY + std::cos(a) * radius * k;
    if (distance(iconX, iconY, x, y) < kIconHitDistance) {
      hoveredItem = item.get();
      return item->id;
    }
  }
  hoveredItem = nullptr;
  return -1;
}

float RuvRadialMenu::priceOf(int id) const {
  for (const std::unique_ptr<RuvRadialItem>& item : items) {
    if (item->id == id) return item->cost;
  }
  return 0.0f;
}

void RuvRadialMenu::runAction(int id) {
  if (!mMap) {
    close();
    return;
  }
  switch (mode) {
    case kBuildMode:
      buildAction(id);
      break;
    case kBuySpotMode:
      buySpotAction(id);
      break;
    case kTowerMode:
    case kStarMode:
      towerAction(id);
      break;
    default:
      close();
      break;
  }
}

void RuvRadialMenu::buildAction(int id) {
  if (id <= 0) {
    close();
    return;
  }
  if (!mMap->buildTower(mMap->mProtos->findProto(id), spot)) return;
  mMap->mNotices->tutorialEvent(u"tower_built");
  close();
}

void RuvRadialMenu::buySpotAction(int id) {
  auto* definition = spot ? static_cast<RuvSpot*>(spot->owner) : nullptr;
  RuvWallet& wallet = *mMap->mWallet;
  if (id <= 0 || !definition || wallet.money < definition->cost_gold) {
    close();
    return;
  }
  if (wallet.gems >= definition->cost_real) {
    mMap->mNotices->tutorialEvent(u"buildspot_bought");
    wallet.spendMoney(definition->cost_gold);
    wallet.spendGems(definition->cost_real);
    if (mMap->mSpots) spot->image = mMap->mSpots->spotImages[0];
    definition->isFree = 1;
    mMap->mProgress->addOwnedSpot(spot->name, mMap->mEpisode, mMap->mLevel);
    k2::SoundTags::Instance()->Play(u"buySpot");
  } else if (RuvFeatures::instance().getFlag(RuvFeatures::kLowPremiumPointsDialog, RuvFeatures::kIsActive)) {
    LocalStrings* strings = LocalStrings::Instance();
    mMap->mNotices->pushModalDialog(strings->get(u"gemShopDialogTitle"), strings->get(u"gemShopDialogText"), kStateNone);
    mMap->mState = kStateBattleGemOffer;
    mMap->mSpeed = 0.0f;
    mMap->refreshSpeedButtons();
  }
  close();
}

void RuvRadialMenu::towerAction(int id) {
  RuvTower* owner = tower.get();
  if (id < 0 || !owner) {
    close();
    return;
  }
  if (id == 0) {
    if (spot) spot->visible = 1;
    mMap->sellTower(owner);
    close();
    return;
  }
  const RuvProto* base = owner->baseProto ? mMap->mProtos->findProto(owner->baseProto->id) : nullptr;
  if (base && owner->stars >= base->tierUpdates) {
    owner->stars = 0;
    owner->upgrade(id, priceOf(id));
  } else {
    owner->buyStar();
  }
  close();
}
