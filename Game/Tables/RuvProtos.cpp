#include "Game/Tables/RuvProtos.h"

#include <tinyxml2.h>

#include "Core/Base/StringEncoding.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Art/RuvResources.h"

namespace {

void ProtoReadInt(const tinyxml2::XMLElement* element, const char* name, int& value) {
  element->QueryIntAttribute(name, &value);
}

void ProtoReadFloat(const tinyxml2::XMLElement* element, const char* name, float& value) {
  element->QueryFloatAttribute(name, &value);
}

void ProtoReadFlag(const tinyxml2::XMLElement* element, const char* name, bool& value) {
  element->QueryBoolAttribute(name, &value);
}

void ProtoReadText(const tinyxml2::XMLElement* element, const char* name, std::u16string& value) {
  if (const char* text = element->Attribute(name)) value = base::ToWide(text, base::kEncodingUtf8);
}

// Any character shifts a digit in; one that is not a hexadecimal digit adds nothing.
std::uint32_t ProtoParseColour(const char* text) {
  std::uint32_t value = 0;
  for (const char* c = text; *c; ++c) {
    std::uint32_t digit = 0;
    if (*c >= '0' && *c <= '9') digit = std::uint32_t(*c - '0');
    else if (*c >= 'a' && *c <= 'f') digit = std::uint32_t(*c - 'a' + 10);
    else if (*c >= 'A' && *c <= 'F') digit = std::uint32_t(*c - 'A' + 10);
    value = (value << 4) + digit;
  }
  return value;
}

std::vector<std::u16string> ProtoSplitAddons(const std::u16string& text) {
  std::vector<std::u16string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'/', start);
    if (end == std::u16string::npos) end = text.size();
    std::size_t first = start;
    std::size_t last = end;
    while (first < last && (text[first] == u' ' || text[first] == u'\t')) ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t')) --last;
    if (last > first) pieces.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return pieces;
}

}  // namespace

void RuvProto::load(const tinyxml2::XMLElement* element, bool withChildren) {
  // The two columns whose default is not the empty record's zero.
  id = -1;
  fillColor = 0xFFFFFFFFu;
  ProtoReadFloat(element, "strength", strength);
  ProtoReadFloat(element, "cooldown", cooldown);
  ProtoReadFloat(element, "r", r);
  ProtoReadFloat(element, "health", health);
  ProtoReadFloat(element, "speed", speed);
  ProtoReadInt(element, "parent", parent);
  ProtoReadText(element, "special", special);
  ProtoReadFlag(element, "haste_buff", hasteBuff);
  ProtoReadFlag(element, "fire_dmg_only", fireDmgOnly);
  ProtoReadFloat(element, "explodeStr", explodeStr);
  ProtoReadFloat(element, "explodeRadius", explodeRadius);
  float debuff = debuffTower ? 1.0f : 0.0f;
  ProtoReadFloat(element, "debufftower", debuff);
  debuffTower = debuff != 0.0f;
  ProtoReadFlag(element, "poisonImmun", poisonImmun);
  ProtoReadFlag(element, "regen", regen);
  ProtoReadFlag(element, "raiseDead", raiseDead);
  ProtoReadFlag(element, "invisible", invisible);
  ProtoReadFlag(element, "invisibleArea", invisibleArea);
  ProtoReadFlag(element, "blocktower", blockTower);
  ProtoReadFlag(element, "healer", healer);
  ProtoReadFlag(element, "commander", commander);
  ProtoReadFlag(element, "summon", summon);
  ProtoReadFlag(element, "carrier", carrier);
  ProtoReadFlag(element, "straight", straight);
  ProtoReadFlag(element, "ice", ice);
  ProtoReadFlag(element, "stone", stone);
  ProtoReadFlag(element, "pierce", pierce);
  ProtoReadFlag(element, "splash", splash);
  ProtoReadFlag(element, "firesplash", fireSplash);
  ProtoReadFlag(element, "dot", dot);
  ProtoReadFlag(element, "aoe", aoe);
  ProtoReadFlag(element, "hold", hold);
  ProtoReadFlag(element, "stun", stun);
  ProtoReadFlag(element, "aimed", aimed);
  ProtoReadFlag(element, "rotating", rotating);
  ProtoReadInt(element, "type", type);
  int airValue = air ? 1 : 0;
  ProtoReadInt(element, "air", airValue);
  air = airValue == 1;
  ProtoReadInt(element, "id", id);
  ProtoReadInt(element, "require", require);
  ProtoReadInt(element, "levelid", levelId);
  ProtoReadInt(element, "level", level);
  ProtoReadText(element, "psd", psd);
  // Null only while the process shuts down.
  if (RuvResources* resources = RuvResources::Instance()) art = resources->getArt(element);
  ProtoReadInt(element, "tierUpdates", tierUpdates);
  ProtoReadFloat(element, "tierK", tierK);
  ProtoReadInt(element, "ammoid", ammoId);
  ProtoReadFloat(element, "cost", cost);
  ProtoReadFloat(element, "tierCost", tierCost);
  ProtoReadFloat(element, "fps", fps);
  ProtoReadText(element, "onFire", onFire);
  ProtoReadText(element, "onAmmo", onAmmo);
  ProtoReadText(element, "onHit", onHit);
  ProtoReadFlag(element, "showInvisible", showInvisible);
  ProtoReadFlag(element, "boostTower", boostTower);
  ProtoReadFloat(element, "timeout", timeout);
  ProtoReadInt(element, "goldIncome", goldIncome);
  ProtoReadFlag(element, "teleportEnemy", teleportEnemy);
  ProtoReadInt(element, "dropChance", dropChance);
  if (element->Attribute("addons")) {
    ProtoReadText(element, "addons", addonsText);
    addons = ProtoSplitAddons(addonsText);
  }
  ProtoReadInt(element, "stars", stars);
  if (const char* colour = element->Attribute("fillColor")) fillColor = ProtoParseColour(colour);

  if (!withChildren) return;
  for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
    auto tier = std::make_unique<RuvProto>();
    tier->load(child, false);
    tiers.push_back(std::move(tier));
  }
}

const RuvProto* RuvProto::findTier(int wanted) const {
  for (const auto& tier : tiers) {
    if (tier->levelId == wanted) return tier.get();
  }
  return nullptr;
}

const RuvProto* RuvProto::tierForLevel(int wanted) const {
  if (wanted <= 0 || tiers.empty()) return this;
  const RuvProto* tier = findTier(wanted);
  return tier ? tier : tiers.back().get();
}

RuvProtoLibrary::RuvProtoLibrary(const tinyxml2::XMLElement* data) { load(data); }

void RuvProtoLibrary::load(const tinyxml2::XMLElement* data) {
  mList.clear();
  if (!data) return;
  const auto append = [this](const tinyxml2::XMLElement* row) {
    auto proto = std::make_unique<RuvProto>();
    proto->load(row, true);
    mList.push_back(std::move(proto));
  };
  if (const tinyxml2::XMLElement* units = data->FirstChildElement("units")) {
    for (const tinyxml2::XMLElement* row = units->FirstChildElement(); row; row = row->NextSiblingElement()) append(row);
  }
  // Towers and ammunition: the first row and its siblings of the same element name.
  for (const char* group : {"towers", "ammo"}) {
    const tinyxml2::XMLElement* groupElement = data->FirstChildElement(group);
    const tinyxml2::XMLElement* first = groupElement ? groupElement->FirstChildElement() : nullptr;
    if (!first) continue;
    for (const tinyxml2::XMLElement* row = first; row; row = row->NextSiblingElement(first->Name())) append(row);
  }
}

RuvProto* RuvProtoLibrary::findProto(int wanted) const {
  for (const auto& proto : mList) {
    if (proto->id == wanted) return proto.get();
    for (const auto& tier : proto->tiers) {
      if (tier->id == wanted) return tier.get();
    }
  }
  return nullptr;
}

std::unique_ptr<RuvProto> RuvProtoLibrary::makeUpgradedProto(int wanted, const RuvUpgrades* upgrades) const {
  const RuvProto* source = findProto(wanted);
  if (!source) return nullptr;
  auto copy = std::make_unique<RuvProto>();
  copy->copyFrom(*source);
  if (upgrades) upgrades->applyToProto(*copy);
  return copy;
}
