#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EntitiesTestSupport.h"
#include "Game/Tables/RuvProtos.h"

namespace {

class ProtoTest : public entitiestest::SheetFolderTest {
 protected:
  // A record loaded from one row element.
  std::unique_ptr<RuvProto> Load(const char* xml, bool withChildren = true) {
    tinyxml2::XMLDocument document;
    EXPECT_EQ(document.Parse(xml), tinyxml2::XML_SUCCESS) << xml;
    auto proto = std::make_unique<RuvProto>();
    proto->load(document.RootElement(), withChildren);
    return proto;
  }
  static std::vector<int> Ids(const std::vector<std::unique_ptr<RuvProto>>& list) {
    std::vector<int> ids;
    for (const auto& proto : list) ids.push_back(proto->id);
    return ids;
  }
};

struct AttributeCase {
  const char* row;
  std::function<double(const RuvProto&)> read;
  double expected;
};

TEST_F(ProtoTest, AttributesAndTheirDefaults) {
  const auto id = [](const RuvProto& p) { return p.id; };
  const auto air = [](const RuvProto& p) { return p.air; };
  const auto regen = [](const RuvProto& p) { return p.regen; };
  const auto debuff = [](const RuvProto& p) { return p.debuffTower; };
  const auto colour = [](const RuvProto& p) { return p.fillColor; };
  const auto strength = [](const RuvProto& p) { return p.strength; };
  const AttributeCase cases[] = {
      {"<unit/>", id, -1},
      {R"(<unit id="7x"/>)", id, 7},  // "%d" stops at the first other character
      {R"(<unit id="none"/>)", id, -1},
      {R"(<unit air="1"/>)", air, 1},
      {R"(<unit air="true"/>)", air, 0},  // read as an integer: only 1 flies
      {R"(<unit air="2"/>)", air, 0},
      {R"(<unit regen="1"/>)", regen, 1},
      {R"(<unit regen="2"/>)", regen, 1},
      {R"(<unit regen="true"/>)", regen, 1},
      {R"(<unit regen="false"/>)", regen, 0},
      {R"(<unit regen="yes"/>)", regen, 0},
      {R"(<unit debufftower="0.5"/>)", debuff, 1},
      {R"(<unit debufftower="0"/>)", debuff, 0},
      {"<unit/>", colour, 0xFFFFFFFFu},
      {R"(<unit fillColor="ff0000"/>)", colour, 0x00FF0000u},  // alpha 0
      {R"(<unit fillColor="80FFa0Cc"/>)", colour, 0x80FFA0CCu},
      {R"(<unit fillColor=""/>)", colour, 0},
      {R"(<unit fillColor="1g"/>)", colour, 0x10},  // a non-digit still shifts
      {R"(<unit strength="12.5"/>)", strength, 12.5},
      {R"(<unit strength="much"/>)", strength, 0},
  };
  for (const AttributeCase& c : cases) EXPECT_DOUBLE_EQ(c.read(*Load(c.row)), c.expected) << c.row;
}

TEST_F(ProtoTest, EveryColumnIsRead) {
  const auto proto = Load(
      R"(<unit parent="4" type="1" id="9" strength="2" cooldown="3" health="4" speed="5" r="6" special="s" psd="" haste_buff="1" fire_dmg_only="1" explodeStr="7" explodeRadius="8" debufftower="1" poisonImmun="1" regen="1" raiseDead="1" invisible="1" invisibleArea="1" blocktower="1" healer="1" commander="1" summon="1" carrier="1" straight="1" ice="1" stone="1" pierce="1" splash="1" firesplash="1" dot="1" aoe="1" hold="1" stun="1" boostTower="1" showInvisible="1" air="1" aimed="1" rotating="1" ammoid="2001" tierUpdates="3" tierK="0.1" cost="70" tierCost="15" require="2" levelid="3" level="4" fps="12" timeout="1.5" teleportEnemy="1" goldIncome="6" stars="2" dropChance="5" fillColor="ff000000" onFire="f" onAmmo="a&#xE9;" onHit="h" addons="air"/>)");
  const RuvProto& p = *proto;
  EXPECT_EQ(std::vector<double>({double(p.parent), double(p.type), double(p.id), p.strength, p.cooldown, p.health,
                                 p.speed, p.r, p.explodeStr, p.explodeRadius, double(p.ammoId), double(p.tierUpdates),
                                 p.tierK, p.cost, p.tierCost, double(p.require), double(p.levelId), double(p.level), p.fps,
                                 p.timeout, double(p.goldIncome), double(p.stars), double(p.dropChance),
                                 double(p.fillColor)}),
            std::vector<double>({4, 1, 9, 2, 3, 4, 5, 6, 7, 8, 2001, 3, 0.1f, 70, 15, 2, 3, 4, 12, 1.5, 6, 2, 5, 0xFF000000u}));
  const std::vector<bool> flags{p.hasteBuff, p.fireDmgOnly, p.debuffTower, p.poisonImmun, p.regen,      p.raiseDead,
                                p.invisible, p.invisibleArea, p.blockTower, p.healer,     p.commander,  p.summon,
                                p.carrier,   p.straight,     p.ice,        p.stone,       p.pierce,     p.splash,
                                p.fireSplash, p.dot,         p.aoe,        p.hold,        p.stun,       p.boostTower,
                                p.showInvisible, p.air,      p.aimed,      p.rotating,    p.teleportEnemy};
  EXPECT_EQ(flags, std::vector<bool>(flags.size(), true));
  EXPECT_EQ(p.special, u"s");
  EXPECT_EQ(p.onFire, u"f");
  EXPECT_EQ(p.onAmmo, u"a\u00e9");  // UTF-8 text becomes wide
  EXPECT_EQ(p.onHit, u"h");
  EXPECT_EQ(p.art, nullptr);  // an empty "psd" names no art
}

TEST_F(ProtoTest, AddonsAreSplitTrimmedAndKeptWhole) {
  const auto proto = Load(R"(<unit addons=" a //b/ c "/>)");
  EXPECT_EQ(proto->addons, (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_EQ(proto->addonsText, u" a //b/ c ");
  EXPECT_TRUE(Load(R"(<unit addons=" / "/>)")->addons.empty());
}

TEST_F(ProtoTest, TiersAreOneLevelDeep) {
  const char* tower = R"(<unit id="10000"><unit id="10001" levelid="1"/><tier id="10002" levelid="2"><unit id="99"/></tier></unit>)";
  const auto proto = Load(tower);
  ASSERT_EQ(Ids(proto->tiers), (std::vector<int>{10001, 10002}));
  EXPECT_TRUE(proto->tiers[1]->tiers.empty());
  EXPECT_TRUE(Load(tower, false)->tiers.empty());

  const RuvProto* first = proto->tiers[0].get();
  const RuvProto* last = proto->tiers[1].get();
  struct TierCase {
    int level;
    const RuvProto* exact;   // findTier
    const RuvProto* chosen;  // tierForLevel
  };
  const TierCase cases[] = {{-1, nullptr, proto.get()}, {0, nullptr, proto.get()}, {1, first, first},
                            {2, last, last},             {3, nullptr, last}};
  for (const TierCase& c : cases) {
    EXPECT_EQ(proto->findTier(c.level), c.exact) << c.level;
    EXPECT_EQ(proto->tierForLevel(c.level), c.chosen) << c.level;
  }
  // Without tiers every level is the record itself.
  const auto plain = Load(R"(<unit id="3"/>)");
  EXPECT_EQ(plain->tierForLevel(2), plain.get());
}

TEST_F(ProtoTest, CopyLeavesTiersDropChanceAndAddonsText) {
  const auto source = Load(R"(<unit id="5" strength="7" fillColor="12345678" dropChance="40" addons="air/aim" onHit="x"><unit id="6"/></unit>)");
  RuvProto copy;
  copy.dropChance = 3;
  copy.copyFrom(*source);
  EXPECT_EQ(copy.id, 5);
  EXPECT_FLOAT_EQ(copy.strength, 7.0f);
  EXPECT_EQ(copy.fillColor, 0x12345678u);
  EXPECT_EQ(copy.onHit, u"x");
  EXPECT_EQ(copy.addons, (std::vector<std::u16string>{u"air", u"aim"}));
  EXPECT_TRUE(copy.addonsText.empty());
  EXPECT_EQ(copy.dropChance, 3);
  EXPECT_TRUE(copy.tiers.empty());
}

TEST_F(ProtoTest, EmptyRecordIsAllZero) {
  const RuvProto empty;
  EXPECT_EQ(empty.id, 0);
  EXPECT_EQ(empty.fillColor, 0u);
  EXPECT_EQ(empty.art, nullptr);
  EXPECT_TRUE(empty.tiers.empty());
}

TEST_F(ProtoTest, LibraryOrderAndLookup) {
  tinyxml2::XMLDocument document;
  // Any element name counts under "units"; towers and ammunition take the first row's name only.
  ASSERT_EQ(document.Parse(R"(<data>
    <towers><unit id="10"><unit id="11"/></unit><other id="12"/><unit id="13"/></towers>
    <units><unit id="1"/><kind id="2"><unit id="21"/></kind><unit/></units>
    <ammo><shot id="2001"/><unit id="2002"/><shot id="2003"/></ammo>
    <units><unit id="5"/></units>
  </data>)"),
            tinyxml2::XML_SUCCESS);
  RuvProtoLibrary library(document.RootElement());
  EXPECT_EQ(Ids(library.getList()), (std::vector<int>{1, 2, -1, 10, 13, 2001, 2003}));
  struct LookupCase {
    int id;
    bool found;
  };
  for (const LookupCase& c : {LookupCase{1, true}, {21, true}, {11, true}, {-1, true}, {12, false}, {2002, false},
                              {5, false}, {0, false}}) {
    const RuvProto* proto = library.findProto(c.id);
    EXPECT_EQ(proto != nullptr, c.found) << c.id;
    if (proto) {
      EXPECT_EQ(proto->id, c.id);
    }
  }
  // Loading again replaces the list.
  library.load(document.RootElement());
  EXPECT_EQ(library.getList().size(), 7u);
  library.load(nullptr);
  EXPECT_TRUE(library.getList().empty());
  EXPECT_EQ(RuvProtoLibrary().findProto(-1), nullptr);
}

TEST_F(ProtoTest, FirstMatchWinsOverRowsAndTiers) {
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse(R"(<data><units><unit id="1" cost="1"><unit id="7" cost="2"/></unit><unit id="7" cost="3"/></units></data>)"),
            tinyxml2::XML_SUCCESS);
  RuvProtoLibrary library(document.RootElement());
  EXPECT_FLOAT_EQ(library.findProto(7)->cost, 2.0f);
}

}  // namespace
