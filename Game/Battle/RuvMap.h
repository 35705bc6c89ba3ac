#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Math/Point.h"
#include "Core/Math/Rect.h"
#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourcePtr.h"
#include "Game/Battle/RuvScreenNotices.h"
#include "Game/Battle/RuvScreenState.h"
#include "Game/Tables/RuvMapState.h"

struct TPurchaseResult;
namespace file {
class ImageContainer;
}
namespace render {
class Graphics;
class Image;
class ParticleEmitter;
class RenderTarget;
}  // namespace render

class HUD;
class HUDSpellButton;
class RuvAnimation;
class RuvBulletList;
class RuvEffect;
class RuvFrameEntry;
class RuvFxTriggers;
class RuvModifier;
class RuvParticle;
class RuvPopupList;
class RuvProto;
class RuvProtoLibrary;
class RuvRadialMenu;
class RuvRouteTable;
class RuvSpellSheet;
class RuvSpot;
class RuvSpotList;
class RuvSprite;
class RuvTower;
class RuvUnit;
class RuvWaveHint;
class RuvWaveManager;
class TMobShader;
struct RuvWaveEntry;
struct RuvEpisodeSetup;
struct RuvLevelSpot;
struct RuvLink;
struct RuvPoint;

// The battle: the running level's state, every battle object and the HUD, and the game tick. One per
// game, owned by the root board. Members are public: the entities, screens and tables of the game
// read and write them directly. Lists own their elements unless noted.
class RuvMap : public RuvMapState {
 public:
  static constexpr int kDrawLayerCount = 5;

  // Loads the map art, the tables and the sheets for the current profile, builds the HUD and the
  // screen notices over it; loads no level (mState stays kStateNone). Needs the renderer
  // (RuvResources), the particle file and the profiles. The constructor and the members that drive
  // the HUD, the tutorial and the pause menu are the flow's (RuvMapScreens.cpp).
  RuvMap();
  // Deletes everything it owns, clears the art-set cache, hides the tutorial; the progress store goes
  // last.
  ~RuvMap() override;
  RuvMap(const RuvMap&) = delete;
  RuvMap& operator=(const RuvMap&) = delete;

  // One tick of dt real seconds; the battle advances by dt x mSpeed.
  void update(float dt);
  // Speed 0, pause menu (kStatePauseMenu), tutorial suspended.
  void pause();
  // Losing the window focus: pauses only while playing (kStatePlaying).
  void onAppPause();
  // Shows the speed buttons of mSpeed and moves the button marker onto the active one.
  void refreshSpeedButtons();
  // A unit leaves the map: every reference the map's objects hold to it is dropped.
  void onUnitRemoved(RuvUnit* unit);
  // Enemy health offset of the mode: -0.1 easy (0), +0.1 hard (2), else 0.
  float difficultyOffset() const;

  // Level start and load (RuvMapLevel.cpp). A level file that cannot be played leaves no level and
  // the level select (kStateLevelSelect).
  void startLevel();
  void loadLevel();
  void loadLevelFile(const std::u16string& path);
  // Prototype sheets into mProtos, the setup sheet into mEpisodes (rows are replaced, never
  // dropped), mSellRatio and mDefaultGems. The queries answer -1 for an episode without a row.
  void loadSheets();
  int episodeCount() const override;
  int levelCount(int episode) const;
  int hardcoreLevelCount(int episode) const;
  int starsNeeded(int episode) const override;
  // Normal plus hardcore levels of episodes 0, 1, ... up to the first missing row; an episode
  // without normal levels adds nothing.
  int totalLevelCount() const;
  // Input in design pixels, from the root board (RuvMapInput.cpp): the battle's own clicks while
  // playing, else the clicked button's name acted on by screen state. A release goes to the
  // tutorial first, then to its state's handler below; unless that handler takes it whole, the top
  // screen gets it too and the hover is cleared.
  void onMouseDown(int x, int y);
  void onMouseUp(int x, int y);
  void onMouseMove(int x, int y);
  void onMouseWheel(int delta);
  // Casts the button's spell at the map point: sound, spell on the bullet list, recharge started.
  // False, with nothing done, when no spell row has the button's number.
  bool castSpell(HUDSpellButton& button, float x, float y);
  // One frame (RuvMapDraw.cpp): the battle scene in the battle's states, then pop-ups, sprites,
  // particles, the HUD with its two screen layers around the radial menu, and the emitters.
  void draw(render::Graphics& graphics);
  // The scene of one frame merged into mDrawLayers[0]: scenery below, the sorted ground objects,
  // scenery marked "^", "$" or "##", the upper objects, effects; the road highlight and the hint
  // marks in front of it all. clearScene deletes the entries the map made (their owner is the
  // map) and empties the layers; towers and units keep owning the records they hand over.
  void collectScene(render::Graphics& graphics);
  void clearScene();
  // The road cache: a render target of the viewport's size with every link stamped by the brush.
  void renderSceneryCache();
  void drawRoads(render::Graphics& graphics, render::Image* brush);
  // A brush stamp every 25 pixels of the link's curve, from its start; none at its end.
  void stampLink(const RuvLink& link, render::Graphics& graphics, render::Image* brush);
  // The parameter at which the curve, shifted sideways by offset, has covered length from t
  // (steps of 0.001); 1 once it passes the end.
  float stepAlongLink(const RuvLink& link, float t, float length, float offset) const;
  // The developer's list of waves: per wave, each entry's id and due second.
  void drawWaveList(render::Graphics& graphics, const RuvWaveManager& waves);
  // Level end (RuvMapLevel.cpp): only while playing (loseLevel also during the buy-health offer).
  void winLevel();
  void loseLevel();
  // A unit arrived at the goal (RuvMapLevel.cpp): its entry got through, it is reaped next, and its
  // prototype's "strength" comes off the lives, which stop at 0. At 0 lives the buy-health offer
  // opens when the feature "low_life_dialog" is active, else the level is lost. Lives already at 0
  // stay untouched.
  void onUnitReachedGoal(RuvUnit* unit);
  // The unit of a due entry at the point (RuvMapUnits.cpp): made and listed by the wave manager,
  // routed to the goal. Null, and the entry counts as killed, when the entry names no prototype or
  // no route leads from the point to the goal.
  RuvUnit* spawnUnit(RuvWaveEntry& entry, const RuvPoint& point);

  // Building: spots of the loaded level file, towers built, found and sold.
  void loadSpots(const std::vector<RuvLevelSpot>& spots, const std::string& layoutPath);
  // Every layer of the scenery layout's folder "fx" becomes an ambient effect point of mFxTriggers
  // at the layer's left and top (RuvMapLevel.cpp). Nothing without a layout.
  void loadAmbientSpots(file::ImageContainer* layout);
  // The first tower, in build order, closer than 50 px to the map point; null when none.
  RuvTower* findTowerAt(float x, float y) const;
  // The prototype (a library record) on the spot entry at its upgraded price; null when the money
  // is short.
  RuvTower* buildTower(const RuvProto* proto, RuvFrameEntry* spotEntry);
  // Refunds the sell ratio of the tier's price (and of its library tower's), deletes the tower.
  void sellTower(RuvTower* tower);
  // A unit that switches towers off (slows them) stands near; never for a spell-boosted tower.
  bool isTowerBlocked(const RuvTower& tower) const;
  bool isTowerDebuffed(const RuvTower& tower) const;

  // The two-button offer to buy health (the product's price in its text), kStateBuyHealthOffer.
  void openBuyHealthOffer();
  // What a finished purchase grants (RuvMapPurchases.cpp): gem packs, health, the premium reset.
  // Registered with the purchase results at construction and unregistered at destruction.
  void onPurchaseResult(const TPurchaseResult& result);
  // Gives back the gems spent on the bought upgrade steps and marks every upgrade unbought.
  void refundPremiumPoints();

  // RuvMapState.
  int getMode() const override { return mMode; }
  void setMode(int mode) override { mMode = mode; }
  int getEpisode() const override { return mEpisode; }
  int getLevel() const override { return mLevel; }
  int levelCount(int episode, bool hardcore) const override;
  int getDefaultGems() const override { return mDefaultGems; }
  float getLives() const override { return mLives; }
  RuvProgress* getProgress() override { return mProgress.get(); }
  RuvUnlocks* getUnlocks() override { return mUnlocks.get(); }
  RuvUpgrades* getUpgrades() override { return mUpgrades.get(); }
  RuvWallet* getWallet() override { return mWallet.get(); }
  void setMaxLivesBonus(int lives) override { mMaxLivesBonus = lives; }
  void setEnemyCostBonus(float factor) override { mEnemyCostBonus = factor; }
  void setStartBudgetBonus(float factor) override { mStartBudgetBonus = factor; }
  void updateCoinsText() override;
  void updateCrystalsText() override;
  void reloadTutorialProgress() override;
  bool isAppFullscreen() override;
  void switchScreenMode() override;
  bool isWorkAreaTooSmall() override;
  void enableCheats() override { mCheatsEnabled = true; }
  // A confirmed message box's command (RuvMapButtons.cpp): "restart", "mmenu" or "levels"; anything
  // else is ignored.
  void runConfirmedCommand(const std::u16string& command) override;

  // The map's state: scenery and view, level flow, player progress and bonuses.
  bool mSceneryDirty = false;
  float mGameTime = 0.0f;  // level clock, seconds
  std::unique_ptr<render::RenderTarget> mSceneryCache;
  render::Image* mRoadBrush = nullptr;  // owned by the art set "ruv/ui"
  std::unique_ptr<RuvRouteTable> mRoutes;
  math::Rect mSceneryRect;
  std::map<int, RuvEpisodeSetup> mEpisodes;
  float mViewScale = 1.0f;
  float mViewX = 0.0f;
  float mViewY = 0.0f;
  bool mReady = false;  // update and draw do nothing until the map art is loaded
  int mStateAfterModal = kStatePlaying;  // RuvScreenState
  int mLevelResult = 0;  // 1 lost, 2 won
  int mTutorialSpot = -1;
  bool mCheatsEnabled = false;
  int mMode = 0;  // 0, 1, 2; 3 hardcore
  float mFrameTime = 0.0f;  // real seconds of the last tick
  float mSpeed = 1.0f;      // 0 paused, 1 normal, 2 fast
  std::u16string mReturnScreen;
  std::u16string mLanguage = u"en";
  std::u16string mNameInput;
  std::unique_ptr<RuvUpgrades> mUpgrades;
  HUDSpellButton* mArmedSpell = nullptr;  // not owned
  int mState = kStateNone;  // RuvScreenState
  int mLevel = 0;
  int mEpisode = 0;
  std::unique_ptr<RuvUnlocks> mUnlocks;
  std::unique_ptr<RuvProgress> mProgress;
  bool mShowWaveList = false;
  bool mShowDebug = false;
  float mEnemyCostBonus = 0.0f;
  float mStartBudgetBonus = 0.0f;
  int mMaxLivesBonus = 0;
  float mSellRatio = 0.5f;
  int mBudget = 0;
  int mDefaultGems = 0;
  std::vector<RuvSprite*> mSprites;  // owned (updateSprites deletes finished ones)
  std::vector<RuvFrameEntry*> mDrawLayers[kDrawLayerCount];
  std::unique_ptr<RuvFxTriggers> mFxTriggers;
  std::u16string mLevelPath;
  std::unique_ptr<render::ParticleEmitter> mActiveEmitter;        // null without the prototype
  std::unique_ptr<render::ParticleEmitter> mActiveButtonEmitter;  // null without the prototype
  // Frames of the art set "ruv/ui" (owned by it).
  render::Image* mArtPowerBuff = nullptr;
  render::Image* mArtBar = nullptr;
  render::Image* mArtRadius = nullptr;
  // mArtRadius is a circle this many pixels across: a range r draws it scaled by r / this.
  static constexpr float kArtRadiusDiameter = 336.0f;
  render::Image* mArtTierMarks[3] = {nullptr, nullptr, nullptr};
  std::map<int, render::Image*> mArtTowerIcons;
  render::Image* mArtSell = nullptr;
  render::Image* mArtBuy = nullptr;
  render::Image* mArtContextGem = nullptr;
  std::map<std::string, render::Image*> mArtAbilityIcons;
  render::Image* mArtLevel2 = nullptr;
  render::Image* mArtLevel3 = nullptr;
  std::unique_ptr<RuvAnimation> mEnemySpotAnim;
  RuvUnit* mSelectedUnit = nullptr;  // not owned
  std::unique_ptr<RuvRadialMenu> mRadialMenu;
  std::unique_ptr<HUD> mHud;
  std::unique_ptr<RuvScreenNotices> mNotices;  // over mHud and the tutorial; lives as long as mHud
  // The game's enemy shader, set by the game once the map exists; null draws the units untinted.
  TMobShader* mMobShader = nullptr;  // not owned
  // "main_32_2" for the debug view's numbers: held here so it lives until a frame's commands played.
  resource::ResourcePtr<render::BMFont> mFont32_2;
  std::vector<std::unique_ptr<RuvSpot>> mSpotDefs;
  std::vector<RuvPoint> mPoints;
  std::vector<RuvLink> mLinks;
  std::unique_ptr<RuvBulletList> mBullets;
  std::unique_ptr<RuvWaveManager> mWaves;
  std::unique_ptr<RuvWaveHint> mWaveHint;
  std::vector<std::unique_ptr<RuvTower>> mTowers;
  std::vector<std::unique_ptr<RuvModifier>> mModifiers;
  std::vector<std::unique_ptr<RuvEffect>> mEffects;
  std::vector<std::unique_ptr<RuvEffect>> mOverlayEffects;  // hidden in the gem-shop offer
  std::vector<std::unique_ptr<render::ParticleEmitter>> mEmitters;  // run on real time
  std::vector<std::unique_ptr<RuvParticle>> mParticles;
  std::unique_ptr<RuvSpellSheet> mSpells;
  std::unique_ptr<RuvPopupList> mPopups;
  std::unique_ptr<RuvWallet> mWallet;
  std::unique_ptr<RuvProtoLibrary> mProtos;
  std::unique_ptr<RuvSpotList> mSpots;
  float mLives = 0.0f;
  float mMaxLives = 0.0f;
  float mMapScale = 1.0f;  // applied to the coordinates of a level file's points and links

 private:
  // The unit and tower art folders and the UI art; then mReady.
  void loadUiArt();
  // mWaveHint, mPopups and the art members from the set "ruv/ui".
  void loadUiFrames();
  // The HUD and the tutorial advance by dt real seconds (RuvMapScreens.cpp).
  void updateScreens(float dt);
  // The HUD with its lower window layer, drawn below the radial menu; its upper window layer, drawn
  // over the emitters (RuvMapScreens.cpp).
  void drawHud(render::Graphics& graphics);
  void drawHudTop(render::Graphics& graphics);
  // RuvMapDraw.cpp.
  void drawBattle(render::Graphics& graphics);
  float selectedUnitTop() const;
  void drawWaveHintTexts(render::Graphics& graphics);
  void drawDebugOverlay(render::Graphics& graphics);
  // The union of the visible scenery frames' rectangles, in map coordinates; false without any.
  bool sceneryBounds(math::Rect& bounds) const;
  bool linkCurve(const RuvLink& link, math::Point2& p0, math::Point2& p1, math::Point2& p2) const;

  // A release by screen state; each answers whether the top screen gets it too. While playing
  // (RuvMapInput.cpp): a spell cast, the top bar, the spell buttons, the spots and towers. The
  // screens' handlers (RuvMapButtons.cpp) act on the name of the top screen's button under the
  // pointer.
  bool releaseInBattle(int x, int y);
  bool clickLevelResult(const std::u16string& name);  // won or lost
  bool clickPauseMenu(const std::u16string& name);
  bool clickEpisodeSelect(const std::u16string& name, int x, int y);
  bool clickLevelSelect(const std::u16string& name, int x, int y);
  bool clickMainMenu(const std::u16string& name);
  bool clickUpgradeShop(const std::u16string& name);
  bool clickUnlockMessage(const std::u16string& name);
  bool clickProfileList(const std::u16string& name);
  bool clickNewProfileName(const std::u16string& name);
  bool clickMessage(const std::u16string& name);
  bool clickGemShop(const std::u16string& name);
  bool clickBattleGemOffer(const std::u16string& name);
  bool clickUpgradeShopGemOffer(const std::u16string& name);
  bool clickBuyHealthOffer(const std::u16string& name);
  bool clickResetPremiumPoints(const std::u16string& name);

  // A level load runs inside a click, so the next frame time holds the whole load: that tick
  // advances the battle by at most this much.
  static constexpr float kMaxStepAfterLoad = 1.0f / 30.0f;
  bool mTickAfterLoad = false;
};

// What selling a tower of this tier refunds: the sell ratio of its price, plus its library tower's
// price for a tier of one.
int towerRefund(const RuvProtoLibrary& protos, const RuvProto& tier, float sellRatio);

// Euclidean distance.
float distance(float x1, float y1, float x2, float y2);

// The first record of list (pointers to records whose first member is the int id) with that id,
// or null.
template <class List>
auto findById(const List& list, int id) -> decltype(&*list.front()) {
  for (const auto& record : list) {
    if (record && record->id == id) return &*record;
  }
  return nullptr;
}

// The draw lists' order: smaller depth first (used with a stable sort).
bool drawDepthLess(const RuvFrameEntry* a, const RuvFrameEntry* b);

// An effect holder runs while it has emitters and every one of them is playing.
bool isEffectRunning(const std::vector<render::ParticleEmitter*>& emitters);
