#include "Game/Screens/RuvTutorial.h"

#include <tinyxml2.h>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/ReadFileToString.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

constexpr char16_t kDropChanceParam[] = u"dropChanceOverride";

// The battle map of the running game; null without a game or before its root board exists.
RuvMap* tutorialMap() {
  GameWindow* board = gameRootBoard();
  RuvMap* map = board ? board->getMap() : nullptr;
  return map && map->mProgress ? map : nullptr;
}

using TutorialCommand = void (*)(RuvMap& map, int value);

struct TutorialCommandRow {
  const char16_t* name;
  TutorialCommand run;
};

const TutorialCommandRow kTutorialCommands[] = {
    {u"pause",
     [](RuvMap& map, int value) {
       if (value == 0) map.mSpeed = 1.0f;
       if (value == 1) map.mSpeed = 0.0f;
       map.refreshSpeedButtons();
     }},
    {u"dropChanceOverride", [](RuvMap& map, int value) { map.mProgress->setTutorialParam(kDropChanceParam, value); }},
    {u"blockShop", [](RuvMap& map, int value) { map.mHud->blockShop = value; }},
    {u"blockUI", [](RuvMap& map, int value) { map.mHud->blockUI = value; }},
    {u"addGems", [](RuvMap& map, int value) { map.mWallet->addGems(value); }},
    {u"addMoney", [](RuvMap& map, int value) { map.mWallet->addMoney(value); }},
    {u"spot", [](RuvMap& map, int value) { map.mTutorialSpot = value; }},
    {u"resetSpell", [](RuvMap& map, int) { map.mHud->resetSpellButtons(); }},
    {u"completeStep", [](RuvMap& map, int value) { map.mProgress->setTutorialStepState(value, 2); }},
};

}  // namespace

TutorialButton::TutorialButton(const RuvFrameEntry& firstFrame, const RuvFrameEntry& secondFrame,
                               const std::u16string& caption)
    : HUDLayerButton(firstFrame, secondFrame, caption) {}

TutorialButton::~TutorialButton() {
  // The picture layers only show the images: they never touch them again.
  delete normalImage;
  delete overImage;
}

void TutorialButton::onClick(int x, int y) {
  if (!hitTest(x, y)) return;
  RuvTutorial* tutorial = RuvTutorial::Instance();
  tutorial->mShown = 0;
  tutorial->mSkipAsked = 1;
  if (RuvMap* map = tutorialMap()) map->mHud->showTutorialCancelDialog();
}

RuvTutorial::RuvTutorial() {
  mLayout.reset(file::FileManager::Instance()->OpenImageContainer(kLayout));
  if (!mLayout) base::LogBlock(u"RuvTutorial: the layout '%s' cannot be opened; steps show no pictures.\n") % kLayout;
  RuvMap* map = tutorialMap();
  mEnabled = map && map->mProgress->isTutorialEnabled() ? 1 : 0;
  readSteps();
  mTextRoot = std::make_unique<layer::Layer>();
  mImageRoot = std::make_unique<layer::Layer>();
  rearmSteps();
  createSkipButton();
}

RuvTutorial::~RuvTutorial() { hide(); }

std::vector<base::SingletoneBase*> RuvTutorial::GetDependencies() {
  std::vector<base::SingletoneBase*> dependencies;
  if (resource::ResourceManager* resources = resource::ResourceManager::Instance()) dependencies.push_back(resources);
  if (file::FileManager* files = file::FileManager::Instance()) dependencies.push_back(files);
  return dependencies;
}

void RuvTutorial::readSteps() {
  const std::string text = readFileToString(kFile);
  tinyxml2::XMLDocument document;
  if (text.empty() || document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
    base::LogBlock(u"RuvTutorial: '%s' is missing or does not parse; the tutorial has no steps.\n") % kFile;
    return;
  }
  const tinyxml2::XMLElement* root = document.FirstChildElement("tutorial");
  if (!root) {
    base::LogBlock(u"RuvTutorial: '%s' has no 'tutorial' root; the tutorial has no steps.\n") % kFile;
    return;
  }
  RuvMap* map = tutorialMap();
  RuvProgress* progress = map ? map->mProgress.get() : nullptr;
  for (const tinyxml2::XMLElement* element = root->FirstChildElement("step"); element;
       element = element->NextSiblingElement("step")) {
    if (std::unique_ptr<RuvTutorialStep> step = RuvTutorialStep::read(*element, progress)) {
      mSteps.push_back(std::move(step));
    }
  }
}

void RuvTutorial::createSkipButton() {
  std::unique_ptr<file::ImageContainer> skip(file::FileManager::Instance()->OpenImageContainer(kSkipLayout));
  std::unique_ptr<RuvFrameEntry> over(createFrameEntry(skip.get(), u"button/b4_over"));
  std::unique_ptr<RuvFrameEntry> normal(createFrameEntry(skip.get(), u"button/b4_normal"));
  if (!over || !normal || !over->image || !normal->image) {
    base::LogBlock(u"RuvTutorial: the skip layout '%s' lacks its button pictures; there is no skip button.\n") %
        kSkipLayout;
    return;
  }
  over->ownsImage = 0;
  normal->ownsImage = 0;
  mSkipButton = std::make_unique<TutorialButton>(*over, *normal, LocalStrings::Instance()->get(u"tutorial_skip_label"));
  mSkipButton->SetPosition(
      math::Point3(over->rect[0] + over->rect[2] / 2.0f, over->rect[1] + over->rect[3] / 2.0f, 0.0f));
}

std::vector<layer::Layer*> RuvTutorial::displayLayers() const {
  std::vector<layer::Layer*> layers{mImageRoot.get(), mTextRoot.get()};
  if (mSkipButton) layers.push_back(mSkipButton.get());
  return layers;
}

void RuvTutorial::onEvent(const std::u16string& name) {
  RuvMap* map = mEnabled ? tutorialMap() : nullptr;
  if (!map) return;
  RuvProgress& progress = *map->mProgress;
  for (const std::unique_ptr<RuvTutorialStep>& owned : mSteps) {
    RuvTutorialStep& step = *owned;
    step.state = progress.getTutorialStepState(step.id);
    if (!step.conditionHolds(map->mEpisode, map->mLevel)) continue;
    if (step.state == 0 && name == step.activateEvent) {
      step.state = 1;
      progress.setTutorialStepState(step.id, 1);
      runCommands(step.cmds.get(), *map);
      show(step);
    } else if (step.state == 1 && name == step.completeEvent) {
      step.state = 2;
      progress.setTutorialStepState(step.id, 2);
      runCommands(step.onCompleteCmds.get(), *map);
      hide();
    }
  }
}

void RuvTutorial::runCommands(const RuvTutorialCmdList* cmds, RuvMap& map) {
  if (!cmds) return;
  for (const RuvTutorialCmd& cmd : *cmds) {
    for (const TutorialCommandRow& row : kTutorialCommands) {
      if (cmd.param == row.name) row.run(map, cmd.value);
    }
  }
}

void RuvTutorial::show(const RuvTutorialStep& step) {
  hide();
  if (RuvMap* map = tutorialMap()) {
    map->mViewScale = 1.0f;
    map->mViewX = 0.0f;
    map->mViewY = 0.0f;
  }
  GameWindow* board = gameRootBoard();
  for (layer::Layer* layer : displayLayers()) {
    if (board) board->GetLayer()->AddChild(layer);
    layer->mVisible = true;
  }
  mShown = 1;
  std::vector<std::u16string> names;
  if (mLayout) mLayout->ListLayers(step.folder, true, names, false);
  for (const std::u16string& name : names) {
    const base::ImageInfo* info = mLayout->GetLayerInfo(name);
    if (!info) continue;
    if (render::Image* image = ruvLoadImage(info->mName, mLayout.get())) {
      auto picture = std::make_unique<layer::ImageLayer>();
      picture->SetImage(image, true);
      picture->SetPosition(math::Point3(info->mX, info->mY, 0.0f));
      mImageRoot->AddChild(picture.get());
      mImageLayers.push_back(std::move(picture));
      continue;
    }
    const auto found = step.texts.find(name);
    const std::u16string text = found == step.texts.end() ? std::u16string() : found->second;
    resource::ResourcePtr<render::Font> font;
    if (board) font = board->mFont32_1;
    auto place = std::make_unique<layer::TextLayer>(font, text, info->mWidth, 0.0f, 2, true);
    place->mHorizontalAnchor = 2;
    place->mVerticalAnchor = 2;
    place->mMouseEnabled = false;
    place->SetPosition(math::Point3(info->mX + info->mWidth / 2.0f, info->mY + info->mHeight / 2.0f, 0.0f));
    mTextRoot->AddChild(place.get());
    mTextLayers.push_back(std::move(place));
  }
}

void RuvTutorial::hide() {
  for (const std::unique_ptr<layer::TextLayer>& place : mTextLayers) detachLayer(place.get());
  mTextLayers.clear();
  for (const std::unique_ptr<layer::ImageLayer>& picture : mImageLayers) detachLayer(picture.get());
  mImageLayers.clear();
  for (layer::Layer* layer : displayLayers()) detachLayer(layer);
  mShown = 0;
}

void RuvTutorial::suspend() {
  mShownBeforeSuspend = mShown;
  mShown = 0;
  for (layer::Layer* layer : displayLayers()) layer->mVisible = false;
}

void RuvTutorial::resume() {
  mShown = mShownBeforeSuspend;
  for (layer::Layer* layer : displayLayers()) layer->mVisible = true;
}

void RuvTutorial::update(float dt) {
  if (mShown && mEnabled && mSkipButton) mSkipButton->update(dt);
}

void RuvTutorial::onMouseMove(int x, int y) {
  if (mShown && mEnabled && mSkipButton) mSkipButton->hover(x, y);
}

void RuvTutorial::onClick(int x, int y) {
  if (mShown && mEnabled && mSkipButton) mSkipButton->onClick(x, y);
}

void RuvTutorial::rearmSteps() {
  RuvMap* map = tutorialMap();
  if (!map) return;
  RuvProgress& progress = *map->mProgress;
  const auto done = [&progress](int id) { return progress.getTutorialStepState(id) == 2; };
  const auto renew = [&progress](int id) { progress.setTutorialStepState(id, 0); };
  if (!done(1)) {
    renew(0);
    renew(1);
  }
  if (!done(2)) renew(2);
  if (!done(4)) {
    renew(4);
    renew(3);
  }
  if (!done(51)) {
    if (!done(5)) renew(5);
    renew(51);
  }
  for (int id : {6, 7, 8}) {
    if (!done(id)) renew(id);
  }
  map->mHud->blockShop = 0;
  map->mHud->blockUI = 0;
  map->mTutorialSpot = -1;
}

void RuvTutorial::reloadProgress() {
  RuvMap* map = tutorialMap();
  if (!map) return;
  mEnabled = map->mProgress->isTutorialEnabled() ? 1 : 0;
  for (const std::unique_ptr<RuvTutorialStep>& step : mSteps) step->state = map->mProgress->getTutorialStepState(step->id);
}

void RuvTutorial::disable() {
  mEnabled = 0;
  hide();
  RuvMap* map = tutorialMap();
  if (!map) return;
  map->mProgress->setTutorialParam(kDropChanceParam, 0);
  map->mHud->blockShop = 0;
  map->mHud->blockUI = 0;
  map->mTutorialSpot = -1;
  map->mProgress->setTutorialEnabled(false);
}
