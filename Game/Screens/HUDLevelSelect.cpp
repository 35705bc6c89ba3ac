#include "Game/Screens/HUDLevelSelect.h"

#include "Core/Base/FormatSpec.h"
#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDTabBar.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

constexpr float kLevelTitleWrap = 1024.0f;
constexpr float kHardcoreBadgeX = 50.0f;   // from the "locked_d" button's corner
constexpr float kHardcoreBadgeY = -20.0f;
const std::vector<std::u16string> kLevelTabs{u"level_tab_0", u"level_tab_1", u"level_tab_2"};

std::u16string levelSelectDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

void addToRootBoard(layer::Layer* child) {
  layer::Layer* board = rootBoardLayer();
  if (board && child) board->AddChild(child);
}

}  // namespace

HUDLevelSelect::HUDLevelSelect(RuvMap& map) : mMap(map) {
  loadLayout(kLayout);
  k2::SoundTags::Instance()->PlayMusic(kMusic);
  setFont(LoadGameFont(kFontMain42x3));
  mMap.mReturnScreen = u"levels";

  const bool hardcore = mMap.mMode == kHardcoreMode;
  LocalStrings* strings = LocalStrings::Instance();
  title = std::make_unique<layer::TextLayer>(
      LoadGameFont(hardcore ? kFontMain42x3 : kFontMain80),
      strings->get((hardcore ? u"episodeHardcore" : u"episode") + levelSelectDecimal(mMap.mEpisode)),
      kLevelTitleWrap, 0.0f, 2, true);
  title->mHorizontalAnchor = 2;
  title->mVerticalAnchor = 2;
  if (const base::ImageInfo* place = findPsdLayer(layout, u"text/episode")) {
    title->SetPosition(math::Point3(float(place->mX) + float(place->mWidth) / 2.0f,
                                    float(place->mY) + float(place->mHeight) / 2.0f, 0.0f));
  }

  setupHardcoreControls();
  RuvProgress* progress = mMap.mProgress.get();
  setText(u"gems", levelSelectDecimal(progress ? progress->getGems() : 0));

  tabBar = std::make_unique<HUDTabBar>(layout, hardcore ? std::vector<std::u16string>() : kLevelTabs,
                                       std::vector<unsigned char>(hardcore ? 0 : kLevelTabs.size(), 1),
                                       rootBoardLayer());
  tabBar->select(mMap.mMode);
  addToRootBoard(title.get());
  buildPlates();
  if (progress) {
    progress->setEpisodeVisits(mMap.mEpisode, mMap.mMode,
                               hardcore ? mMap.hardcoreLevelCount(mMap.mEpisode) : mMap.levelCount(mMap.mEpisode));
  }
}

HUDLevelSelect::~HUDLevelSelect() {
  // The layers unlink themselves from the root board as they go.
  title.reset();
  hardcoreBadgeText.reset();
  hardcoreBadge.reset();
  tabBar.reset();
  plates.clear();
  delete layout;
  layout = nullptr;
}

void HUDLevelSelect::setButtonVisible(const char16_t* name, bool visible) {
  if (RuvButtonFrame* button = findButton(name)) button->visible = visible ? 1 : 0;
}

void HUDLevelSelect::setupHardcoreControls() {
  const int episode = mMap.mEpisode;
  if (mMap.mMode == kHardcoreMode) {
    for (const char16_t* name : {u"locked_d", u"unlocked_d", u"upgrade"}) setButtonVisible(name, false);
    return;
  }
  const int hardcoreLevels = mMap.hardcoreLevelCount(episode);
  RuvProgress* progress = mMap.mProgress.get();
  if (hardcoreLevels <= 0 || !progress) {
    setButtonVisible(u"locked_d", false);
    setButtonVisible(u"unlocked_d", false);
  } else {
    const bool open = progress->getStarCount(episode) >= 3 * mMap.levelCount(episode);
    setButtonVisible(u"unlocked_d", open);
    setButtonVisible(u"locked_d", !open);
    for (const char16_t* name : {u"locked_d", u"unlocked_d"}) {
      if (RuvButtonFrame* button = findButton(name)) {
        button->rect[0] = kHardcoreButtonX;
        button->rect[1] = kHardcoreButtonY;
      }
    }
    if (progress->getEpisodeVisits(episode, kHardcoreMode) < hardcoreLevels) {
      const RuvButtonFrame* locked = findButton(u"locked_d");
      const float x = locked ? locked->rect[0] : kHardcoreButtonX;
      const float y = locked ? locked->rect[1] : kHardcoreButtonY;
      makeNewBadge(layout, x + kHardcoreBadgeX, y + kHardcoreBadgeY, hardcoreBadge, hardcoreBadgeText);
      addToRootBoard(hardcoreBadge.get());
      addToRootBoard(hardcoreBadgeText.get());
    }
  }
  setFrameVisible(u"skulls", false);
}

void HUDLevelSelect::buildPlates() {
  plates.clear();
  RuvProgress* progress = mMap.mProgress.get();
  if (!progress) return;
  const int episode = mMap.mEpisode;
  const int count = mMap.mMode == kHardcoreMode ? mMap.hardcoreLevelCount(episode) : mMap.levelCount(episode);
  for (int level = 0; level < count; ++level) {
    plates.push_back(std::make_unique<LevelPlate>(layout, *progress, episode, level, mMap.mMode));
  }
}

void HUDLevelSelect::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  for (const std::unique_ptr<LevelPlate>& plate : plates) plate->draw(graphics);
}

void HUDLevelSelect::update(float dt) {
  HUDWindow::update(dt);
  for (const std::unique_ptr<LevelPlate>& plate : plates) plate->update(dt);
  tabBar->update(dt);
  explainHardcoreOnce();
}

void HUDLevelSelect::explainHardcoreOnce() {
  RuvProgress* progress = mMap.mProgress.get();
  if (mMap.mMode != kHardcoreMode || !progress || progress->getEventFlag(kHardcoreExplainedFlag)) return;
  progress->setEventFlag(kHardcoreExplainedFlag);
  LocalStrings* strings = LocalStrings::Instance();
  mMap.mHud->pushModalMessage(strings->get(u"HardcoreTitle"), strings->get(u"HardcoreDescMessage"), mMap.mState);
}

void HUDLevelSelect::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  for (const std::unique_ptr<LevelPlate>& plate : plates) {
    if (plate->open) plate->hover = plate->contains(x, y) ? 1 : 0;
  }
  tabBar->onMouseMove(x, y);
}

void HUDLevelSelect::onMouseDown(int x, int y) {
  const int tab = tabBar->clickAt(x, y);
  if (tab == -1 || mMap.mMode == kHardcoreMode) return;
  mMap.mMode = tab;
  if (mMap.mProgress) mMap.mProgress->setMode(tab);
  k2::SoundTags::Instance()->Play(u"simple");
  buildPlates();
}

int HUDLevelSelect::buttonIndexAt(int x, int y) {
  for (const std::unique_ptr<LevelPlate>& plate : plates) {
    if (plate->contains(x, y)) return plate->level;
  }
  return -1;
}
