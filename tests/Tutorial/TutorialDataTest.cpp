// The sample tutorial: its script fits its layout, its strings and the first levels, and level 1
// is played as its hints say (spot, tower, play).
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvLevelPaths.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDUnlockMessage.h"
#include "TutorialScene.h"

namespace tutorialtest {
namespace {

struct DataRect {
  float x, y, w, h;
};

DataRect LayerRect(file::ImageContainer& layout, const std::u16string& name) {
  const base::ImageInfo* info = layout.GetLayerInfo(name);
  return info ? DataRect{info->mX, info->mY, info->mWidth, info->mHeight} : DataRect{0, 0, 0, 0};
}

bool Overlap(const DataRect& a, const DataRect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

float DistanceToRect(float x, float y, const DataRect& r) {
  const float dx = std::max({r.x - x, 0.0f, x - (r.x + r.w)});
  const float dy = std::max({r.y - y, 0.0f, y - (r.y + r.h)});
  return std::sqrt(dx * dx + dy * dy);
}

std::unique_ptr<file::ImageContainer> OpenLayout(const std::u16string& path) {
  return std::unique_ptr<file::ImageContainer>(file::FileManager::Instance()->OpenImageContainer(path));
}

class TutorialDataTest : public TutorialTest {};

TEST_F(TutorialDataTest, ScriptMatchesItsLayoutAndStrings) {
  RuvTutorial& tutorial = Tutorial();
  ASSERT_NE(nullptr, tutorial.mLayout);
  std::set<int> ids;
  for (const auto& step : tutorial.mSteps) {
    SCOPED_TRACE(base::ToNarrow(step->folder, base::kEncodingUtf8));
    ids.insert(step->id);
    std::vector<std::u16string> names;
    tutorial.mLayout->ListLayers(step->folder, true, names, false);
    EXPECT_FALSE(names.empty());
    EXPECT_FALSE(step->texts.empty());
    for (const auto& [place, text] : step->texts) {
      EXPECT_NE(nullptr, tutorial.mLayout->GetLayerInfo(place));
      EXPECT_EQ(0u, place.rfind(step->folder + u"/", 0));
      std::unique_ptr<render::Image> image(ruvLoadImage(place, tutorial.mLayout.get()));
      EXPECT_EQ(nullptr, image) << "a text place has no picture";
      EXPECT_FALSE(text.empty());
    }
  }
  for (int id : {0, 1, 2, 3, 4, 5, 6, 51}) EXPECT_EQ(1u, ids.count(id)) << "step " << id;
  EXPECT_EQ(tutorial.mSteps.size(), ids.size()) << "ids are unique";
  // Every string key is in the string table.
  tinyxml2::XMLDocument document;
  ASSERT_EQ(tinyxml2::XML_SUCCESS, document.LoadFile("ruv/tutorial.xml"));
  int keys = 0;
  for (const tinyxml2::XMLElement* step = document.RootElement()->FirstChildElement("step"); step;
       step = step->NextSiblingElement("step")) {
    for (const tinyxml2::XMLElement* text = step->FirstChildElement("show")->FirstChildElement("text"); text;
         text = text->NextSiblingElement("text")) {
      const std::u16string key = base::ToWide(text->Attribute("string"), base::kEncodingUtf8);
      EXPECT_NE(key, LocalStrings::Instance()->get(key));
      ++keys;
    }
  }
  EXPECT_EQ(int(tutorial.mSteps.size()), keys);
}

TEST_F(TutorialDataTest, ScriptUsesEveryCommandAndChainsItsSteps) {
  RuvTutorial& tutorial = Tutorial();
  std::set<std::u16string> used;
  for (const auto& step : tutorial.mSteps) {
    for (const RuvTutorialCmdList* list : {step->cmds.get(), step->onCompleteCmds.get()}) {
      if (!list) continue;
      for (const RuvTutorialCmd& cmd : *list) {
        used.insert(cmd.param);
        // The shop can be reached from the menus the player may leave a level for.
        if (cmd.param == u"blockShop") {
          EXPECT_EQ(0, cmd.value);
        }
      }
    }
  }
  for (const char16_t* name : {u"pause", u"dropChanceOverride", u"blockShop", u"blockUI", u"addGems", u"addMoney",
                               u"spot", u"resetSpell", u"completeStep"}) {
    EXPECT_EQ(1u, used.count(name)) << base::ToNarrow(name, base::kEncodingUtf8);
  }
  // These events complete one step and activate a later one of the same level.
  for (const char16_t* event : {u"tower_select", u"tower_built", u"unlock_window_close"}) {
    bool chained = false;
    for (size_t i = 0; i < tutorial.mSteps.size(); ++i) {
      for (size_t j = i + 1; j < tutorial.mSteps.size(); ++j) {
        const RuvTutorialStep& a = *tutorial.mSteps[i];
        const RuvTutorialStep& b = *tutorial.mSteps[j];
        chained |= a.completeEvent == event && b.activateEvent == event && a.shop == b.shop &&
                   a.level == b.level && a.episode == b.episode;
      }
    }
    EXPECT_TRUE(chained) << base::ToNarrow(event, base::kEncodingUtf8);
  }
}

TEST_F(TutorialDataTest, SkipButtonLiesClearOfSpotsAndHudButtons) {
  const std::unique_ptr<file::ImageContainer> skip = OpenLayout(RuvTutorial::kSkipLayout);
  ASSERT_NE(nullptr, skip);
  const DataRect button = LayerRect(*skip, u"button/b4_over");
  ASSERT_GT(button.w, 0.0f);
  EXPECT_EQ(button.w, LayerRect(*skip, u"button/b4_normal").w);
  std::set<std::pair<int, int>> levels;
  for (const auto& step : Tutorial().mSteps) levels.insert({step->episode, step->level});
  for (const auto& [episode, level] : levels) {
    const std::string path = base::ToNarrow(levelPathStem(1, episode, level), base::kEncodingUtf8) + ".xml";
    SCOPED_TRACE(path);
    tinyxml2::XMLDocument document;
    ASSERT_EQ(tinyxml2::XML_SUCCESS, document.LoadFile(path.c_str()));
    for (const tinyxml2::XMLElement* spot = document.RootElement()->FirstChildElement("spots")->FirstChildElement("spot");
         spot; spot = spot->NextSiblingElement("spot")) {
      EXPECT_GT(DistanceToRect(spot->FloatAttribute("x"), spot->FloatAttribute("y"), button), RuvSpotList::kHitDistance);
    }
  }
  const std::unique_ptr<file::ImageContainer> hud = OpenLayout(u"ruv/ui");
  ASSERT_NE(nullptr, hud);
  std::vector<std::u16string> names;
  hud->ListLayers(u"button", true, names, false);
  hud->ListLayers(u"spell", true, names, false);
  EXPECT_FALSE(names.empty());
  for (const std::u16string& name : names) {
    EXPECT_FALSE(Overlap(button, LayerRect(*hud, name))) << base::ToNarrow(name, base::kEncodingUtf8);
  }
}

TEST_F(TutorialDataTest, LevelOneIsPlayedAsTheHintsSay) {
  RuvMap& map = Map();
  // A level load renews the first steps even when an earlier run finished step 0.
  map.mProgress->setTutorialStepState(0, 2);
  map.mMode = 1;
  map.mEpisode = 0;
  map.mLevel = 0;
  map.startLevel();
  // The level opens with its unlock message; the player reads it through first.
  if (auto* message = dynamic_cast<HUDUnlockMessage*>(map.mHud->pending.empty() ? nullptr : map.mHud->pending.back().get())) {
    const RuvButtonFrame* ok = message->findButton(u"ok");
    ASSERT_NE(nullptr, ok);
    const int x = int(ok->rect[0] + ok->rect[2] / 2);
    const int y = int(ok->rect[1] + ok->rect[3] / 2);
    const size_t oks = message->ids.size();  // the last "ok" deletes the message
    map.mHud->update(0.0f);
    for (size_t i = 0; i < oks; ++i) map.onMouseUp(x, y);
  }
  RuvTutorial& tutorial = Tutorial();
  ASSERT_EQ(kStatePlaying, map.mState);
  EXPECT_EQ(1, State(0));
  EXPECT_EQ(1, tutorial.mShown);
  EXPECT_EQ(0.0f, map.mSpeed);
  ASSERT_NE(nullptr, map.mSpots);
  ASSERT_GE(map.mSpots->spots.size(), 2u);
  const auto click = [&map](const RuvFrameEntry& entry) {
    map.onMouseUp(int(entry.rect[0] + entry.rect[2] / 2), int(entry.rect[1] + entry.rect[3] / 2));
  };
  // Only the marked spot opens.
  click(*map.mSpots->spots[1]);
  EXPECT_EQ(nullptr, map.mRadialMenu);
  click(*map.mSpots->spots[size_t(map.mTutorialSpot)]);
  ASSERT_NE(nullptr, map.mRadialMenu);
  EXPECT_EQ(2, State(0));
  EXPECT_EQ(1, State(1));
  ASSERT_FALSE(map.mRadialMenu->items.empty());
  map.mRadialMenu->runAction(map.mRadialMenu->items.front()->id);
  EXPECT_EQ(1u, map.mTowers.size());
  EXPECT_EQ(2, State(1));
  EXPECT_EQ(1, State(2));
  EXPECT_EQ(-1, map.mTutorialSpot);
  RuvButtonFrame* play = map.mHud->findButton(u"play_btn");
  ASSERT_NE(nullptr, play);
  click(*play);
  EXPECT_EQ(2, State(2));
  EXPECT_EQ(1.0f, map.mSpeed);
  EXPECT_EQ(0, map.mHud->blockUI);
  EXPECT_EQ(0, tutorial.mShown);
  EXPECT_FALSE(Attached());
  EXPECT_NE(std::string::npos, SavedProfiles().find(R"(<step id="2" state="2"/>)"));
}

}  // namespace
}  // namespace tutorialtest
