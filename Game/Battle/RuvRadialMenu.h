#pragma once
// The radial menu of a build spot or a tower: tower icons on a free spot, one "buy" icon on a spot
// not owned yet, star, tier and sell icons on a tower. It opens and closes in 0.2 s of real time.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "Game/Art/AttributedString.h"
#include "Game/Art/RuvTracked.h"

namespace render {
class Font;
class Graphics;
class Image;
}

class RuvFrameEntry;
class RuvMap;
class RuvProto;
class RuvTower;

// Where a menu stands against the screen's edges: within 150 px of the top or left, or beyond 650
// down or 874 across (150 px inside the 1024 x 800 screen).
struct RuvRadialEdge {
  bool atEdge = false;         // its icons stand kEdgeScale times further out, its arc turns inward
  bool reversesItems = false;  // at the edge and past the 150 px line both down and across
  float arcStart = 0.0f;       // the inward half circle, degrees; when at the edge only
  float arcEnd = 0.0f;
};

// One icon of the menu.
struct RuvRadialItem {
  // The price row draws in font, its "$" as the money icon and "#" as the gem icon.
  explicit RuvRadialItem(const resource::ResourcePtr<render::Font>& font);

  render::Image* icon = nullptr;       // owned by its art set
  render::Image* moneyIcon = nullptr;  // "ui/context_money" of "ruv/ui"
  render::Image* gemIcon = nullptr;    // "ui/context_gem" of "ruv/ui"
  AttributedString text;               // the price row as drawn
  std::string label;                   // a price set when the menu opens: "$" money, "#" gems
  float angle = 0.0f;             // degrees on the arc
  int id = 0;                     // what the icon does
  int positionIndex = 0;          // 1-based place on the arc; 0 for the sell icon
  float cost = 0.0f;
  const RuvProto* proto = nullptr;   // the prototype the icon stands for
  std::unique_ptr<RuvProto> copy;    // proto, when it was made for the item
};

class RuvRadialMenu {
 public:
  static constexpr float kTransitionSeconds = 0.2f;
  static constexpr float kRadius = 80.0f;
  static constexpr float kIconHitDistance = 32.0f;  // exclusive
  static constexpr float kEdgeScale = 1.3f;
  enum Phase { kOpening = 0, kOpen = 2, kClosing = 3 };
  enum Mode { kTowerMode = 0, kBuildMode = 1, kBuySpotMode = 2, kStarMode = 3 };

  // The edge rule for a menu centred there (screen pixels); in a corner the right edge's arc comes
  // before the left's, the left's before the bottom's, the bottom's before the top's.
  static RuvRadialEdge edgeAt(float x, float y);

  // Plays "context_in".
  RuvRadialMenu();
  ~RuvRadialMenu();
  RuvRadialMenu(const RuvRadialMenu&) = delete;
  RuvRadialMenu& operator=(const RuvRadialMenu&) = delete;

  // Each opening tells the tutorial "tower_select" first (openOn).
  // The unlocked towers of the library, at their upgraded prices, for the spot entry.
  void openBuildMenu(RuvMap& map, RuvFrameEntry* spotEntry);
  // One icon with the spot's money and gem prices.
  void openBuySpotMenu(RuvMap& map, RuvFrameEntry* spotEntry);
  // The sell icon, then the star icon while stars are left to buy, else the unlocked tiers.
  void openTowerMenu(RuvMap& map, RuvTower& tower);
  // Plays "context_out" and starts closing, unless closing already.
  void close();
  // Real seconds: opening ends in the open phase; closing ends with active cleared.
  void update(float dt);
  // The id of the icon under the screen point, -1 when none or the menu is not fully open.
  int itemAt(float x, float y);
  RuvRadialItem& addItem(int positionIndex, int id);
  void clearItems();
  // The cost of the first item with that id, 0 when none.
  float priceOf(int id) const;
  // What pressing the icon of that id does in the menu's mode (-1: nothing was hit).
  void runAction(int id);
  // With the map's camera installed: the range preview, the icons with their badges and prices.
  void draw(render::Graphics& graphics);

  std::vector<std::unique_ptr<RuvRadialItem>> items;
  int phase = kOpening;
  float timer = 0.0f;
  unsigned char edgeFlag = 0;
  int mode = kTowerMode;
  int hoveredId = -1;
  RuvRadialItem* hoveredItem = nullptr;
  RuvWeak<RuvTower> tower;
  RuvFrameEntry* spot = nullptr;
  float arcStart = 0.0f;
  float arcEnd = 360.0f;
  float radius = kRadius;
  float centreX = 0.0f;
  float centreY = 0.0f;
  int active = 1;

 private:
  // The menu belongs to map from now on; the tutorial hears "tower_select".
  void openOn(RuvMap& map);
  void buildAction(int id);
  void buySpotAction(int id);
  void towerAction(int id);

  RuvMap* mMap = nullptr;
  resource::ResourcePtr<render::Font> mFont;  // the game window's "main_32_2", for the prices
};

// An ability a tower prototype lists in its "addons", the key of its badge among the map's ability
// icons, and the badge's frame in "ruv/ui".
struct RuvAbilityBadge {
  const char16_t* addon;
  const char* key;
  const char16_t* frame;
};
extern const std::array<RuvAbilityBadge, 11> kRuvAbilityBadges;
// The badges of the prototype's addons in list order, through the map's ability icons; an addon
// without a badge, or whose art is missing, gives none.
std::vector<render::Image*> radialBadgeImages(const RuvProto& proto, const RuvMap& map);

// The chain cost of a tier listed in a tower menu: its own cost when it follows the tower's tier
// level directly, else the truncated cost of the listed tiers it requires, in a chain that stops
// at a tier seen before, plus its own.
float radialChainCost(const std::vector<const RuvProto*>& listed, const RuvProto& tier, int towerLevel);
