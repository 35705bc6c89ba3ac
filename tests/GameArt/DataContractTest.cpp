// The sample data's art is part of the battle's rules: every container loads, every roster entry's
// set has the groups its behaviour needs and its markers, names are lower case and unique.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Screens/RuvSplashScreens.h"
#include "tests/Graphics/DrawFrame.h"
#include "tests/fakes/ScriptedBass.h"

namespace {

// The containers in the order the map loads them.
const char16_t* const kDataContainers[] = {u"ruv/units/t1units",    u"ruv/units/t2units", u"ruv/units/t3units",
                                           u"ruv/towers/artillery", u"ruv/towers/dart",   u"ruv/towers/cannon",
                                           u"ruv/towers/support",   u"ruv/data/ui_parts"};

class DataContractTest : public testgraphics::DrawFrameTest {
 protected:
  void SetUp() override {
    mPrevious = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(QM_SOURCE_DIR) / "data");
    file::FileManager::Instance()->GetMountTable().clear();
    RuvResources::Instance()->setRender(&mRender);
  }
  void TearDown() override {
    // The logo screens start the menu music.
    if (k2::SoundTags::Exists()) delete k2::SoundTags::Instance();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    RuvResources::Instance()->clear();
    RuvResources::Instance()->setRender(nullptr);
    std::filesystem::current_path(mPrevious);
  }

  fakes::ScriptedBass mBass;

  void LoadEverything() {
    for (const char16_t* container : kDataContainers) {
      const size_t before = RuvResources::Instance()->getArtSets().size();
      RuvResources::Instance()->loadArtFolder(container);
      EXPECT_GT(RuvResources::Instance()->getArtSets().size(), before) << Narrow(container);
    }
  }

  static std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

  // The set of that key with images on every frame of the named groups.
  RuvArtSet* Set(const std::u16string& key) {
    RuvArtSet* set = RuvResources::Instance()->findArtByPsd(key);
    EXPECT_NE(set, nullptr) << Narrow(key);
    return set;
  }

  static size_t Count(RuvArtSet* set, const char* group) { return set ? set->groups[group].size() : 0; }

  static void ExpectPictures(RuvArtSet* set, const char* group) {
    if (!set) return;
    for (const RuvFrameEntry* frame : set->groups[group]) {
      EXPECT_NE(frame->image, nullptr) << Narrow(frame->name);
    }
  }

  std::filesystem::path mPrevious;
};

TEST_F(DataContractTest, UnitsWalkDieAndActWithTheirMarkers) {
  LoadEverything();
  for (int unit : {0, 11, 39, 3, 30, 31, 38, 10, 32, 33}) {
    const std::string key = "ruv/unit" + std::to_string(unit);
    SCOPED_TRACE(key);
    RuvArtSet* set = Set(std::u16string(key.begin(), key.end()));
    for (const char* group : {"walk", "death", "special", ""}) {
      EXPECT_GT(Count(set, group), 0u) << group;
      ExpectPictures(set, group);
    }
    EXPECT_EQ(Count(set, "s_point"), 1u);
  }
}

TEST_F(DataContractTest, TowersIdleFireAndAnchorTheirShots) {
  LoadEverything();
  for (int line = 1; line <= 4; ++line) {
    for (const char* tier : {"1", "2", "3", "1a", "1b"}) {
      const std::string key = "ruv/tower" + std::to_string(line) + "_" + tier;
      SCOPED_TRACE(key);
      RuvArtSet* set = Set(std::u16string(key.begin(), key.end()));
      EXPECT_GT(Count(set, "idle"), 0u);
      EXPECT_GT(Count(set, "blast"), 0u);
      ExpectPictures(set, "idle");
      ExpectPictures(set, "blast");
      EXPECT_EQ(Count(set, "base_point"), 1u);
      // The cannon line turns: 32 directions, each with its muzzle.
      const size_t directions = line == 2 ? 32u : 0u;
      EXPECT_EQ(Count(set, ""), directions);
      EXPECT_EQ(Count(set, "s_point"), line == 2 ? 32u : 1u);
      ExpectPictures(set, "");
    }
  }
  RuvArtSet* flame = Set(u"ruv/tower3_1b");
  EXPECT_GT(Count(flame, "fire"), 0u);
  ExpectPictures(flame, "fire");
}

TEST_F(DataContractTest, InterfaceFramesAndSprites) {
  LoadEverything();
  const char16_t* const frames[] = {
      u"ui/brush",       u"ui/bar",        u"ui/radius",   u"ui/money",        u"ui/immune",      u"ui/context_money",
      u"ui/context_gem", u"ui/power_buff", u"ui/lvl2",     u"ui/lvl3",         u"ui/sell",        u"ui/buy",
      u"ui/l1",          u"ui/l2",         u"ui/l3",       u"ui/radius_boost", u"ui/power_boost", u"ui/wave_hint",
      u"ui/acid_01",     u"ui/beam_01",    u"ui/aoe_01",   u"ui/burn_01",      u"ui/dazed_01",    u"ui/hammer_01",
      u"ui/money_01",    u"ui/portal_01",  u"ui/wing_01",  u"ui/might_01",     u"ui/might_02",    u"ui/tower_01",
      u"ui/tower_02",    u"ui/tower_03",   u"ui/tower_04", u"ui/tower_05",     u"ui/tower_06",    u"ui/tower_07",
      u"ui/tower_08",    u"ui/tower_09",   u"ui/tower_10", u"ui/tower_11",     u"ui/tower_12"};
  for (const char16_t* name : frames) {
    RuvFrameEntry* frame = RuvResources::Instance()->getFrame(u"ruv/ui", name, u"");
    ASSERT_NE(frame, nullptr) << Narrow(name);
    EXPECT_NE(frame->image, nullptr) << Narrow(name);
  }
  const RuvFrameEntry* radius = RuvResources::Instance()->getFrame(u"ruv/ui", u"ui/radius", u"");
  EXPECT_FLOAT_EQ(radius->rect[2], 336.0f);
  for (const char16_t* spot : {u"spots/s", u"spots/g", u"spots/p"}) {
    EXPECT_NE(RuvResources::Instance()->getFrame(u"ruv/spots", spot, u""), nullptr) << Narrow(spot);
  }
  for (const char16_t* sprite : {u"ruv/enemy_spot", u"ruv/mob_dot", u"ruv/mob_heal", u"ruv/disabletower",
                                 u"ruv/tower_debuff", u"ruv/spell_cast", u"ruv/spell1"}) {
    RuvArtSet* set = Set(sprite);
    EXPECT_GT(Count(set, ""), 1u) << Narrow(sprite);
    ExpectPictures(set, "");
  }
  // Images loaded by path, without a container.
  for (const char16_t* path : {u"ruv/data/ui_parts/shadows/wywern_shadow", u"ruv/data/ui_parts/shadows/dragon_shadow",
                               u"ruv/data/context/small_icons/income"}) {
    std::unique_ptr<render::Image> image(ruvLoadImage(path, nullptr));
    EXPECT_NE(image, nullptr) << Narrow(path);
  }
}

TEST_F(DataContractTest, NamesAreLowerCaseAndFoldersUnique) {
  std::set<std::u16string> folders;
  for (const char16_t* path : kDataContainers) {
    std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(path));
    ASSERT_NE(container, nullptr) << Narrow(path);
    ASSERT_GT(container->GetLayerCount(), 0u);
    for (unsigned i = 0; i < container->GetLayerCount(); ++i) {
      const std::u16string& name = container->GetLayer(i)->mName;
      for (char16_t c : name) EXPECT_FALSE(c >= u'A' && c <= u'Z') << Narrow(name);
    }
    std::vector<std::u16string> top;
    container->ListFolders(u"", top, false);
    for (const std::u16string& folder : top) EXPECT_TRUE(folders.insert(folder).second) << Narrow(folder);
  }
}

TEST_F(DataContractTest, LogoScreensFindTheirLogos) {
  RuvSplashScreens screens;
  ASSERT_EQ(screens.logos.size(), 2u);
  EXPECT_EQ(screens.logos[0]->image->GetWidth(), 400);
}

}  // namespace
