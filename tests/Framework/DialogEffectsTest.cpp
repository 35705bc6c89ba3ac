#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "Core/File/FileManager.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/Dialog.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScratchFolder.h"

namespace {

// An animation file of the given tracks, each moving x from 0 to 10 over [0, end].
std::string DialogTestAnimation(float end, int tracks) {
  std::string out;
  auto u32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto f32 = [&u32](float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    u32(bits);
  };
  auto str = [&](const std::string& s) {
    u32(static_cast<std::uint32_t>(s.size()));
    out += s;
  };
  auto key = [&](float time, float value) {
    f32(value);
    f32(time);
    u32(3);
    for (int i = 0; i < 6; ++i) f32(0);
  };
  str("a");
  f32(0);
  f32(end);
  u32(static_cast<std::uint32_t>(tracks));
  for (int t = 0; t < tracks; ++t) {
    str("dialog");
    str("screen_res");
    str("null");
    for (int i = 0; i < 4; ++i) u32(0);
    for (int e = 0; e < 10; ++e) {
      u32(e == 0 ? 2 : 1);
      u32(1);
      u32(1);
      if (e == 0) {
        key(0, 0);
        key(end, 10);
      } else {
        key(0, e >= 6 && e <= 8 ? 1.0f : 0.0f);
      }
    }
  }
  return out;
}

class RecordingTestDialog : public widget::Dialog {
 public:
  explicit RecordingTestDialog(const std::string& name) { mName = name; }
  VNResultEnum OnShown() override {
    ++mShown;
    mXAtShown = GetHitLayer()->mPosition.x;
    return VN_OK;
  }
  int mShown = 0;
  float mXAtShown = -1.0f;
};

class DialogEffectsTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::ofstream("show.anim", std::ios::binary) << DialogTestAnimation(1.0f, 1);
    std::ofstream("hide.anim", std::ios::binary) << DialogTestAnimation(0.5f, 1);
    std::ofstream("two.anim", std::ios::binary) << DialogTestAnimation(1.0f, 2);
  }
  void TearDown() override {
    widget::DialogEffectsManager::Instance()->Clear();
    ScratchFolderTest::TearDown();
  }
  VNResultEnum LoadConfig(const char* xml) {
    mDocument.Parse(xml);
    const tinyxml2::XMLElement* section = mDocument.FirstChildElement("Game")->FirstChildElement("DialogEffects");
    return widget::DialogEffectsManager::Instance()->Load(section);
  }
  static constexpr const char* kConfig =
      "<Game><DialogEffects><Data>"
      "<Anim name='pop' show_anim_data='show.anim' hide_anim_data='hide.anim'/>"
      "<Anim name='broken' show_anim_data='two.anim' hide_anim_data='hide.anim'/>"
      "</Data><Dialogs><Options effects='pop'/><Bad effects='broken'/><Lost effects='none'/></Dialogs>"
      "</DialogEffects></Game>";

  tinyxml2::XMLDocument mDocument;
};

TEST_F(DialogEffectsTest, ConfigurationFailuresAreLoggedWithTheElement) {
  struct Case {
    const char* name;
    const char* xml;
  };
  const Case cases[] = {
      {"no hide_anim_data",
       "<Game><DialogEffects><Data><Anim name='a' show_anim_data='show.anim'/></Data></DialogEffects></Game>"},
      {"unknown kind", "<Game><DialogEffects><Data><Fade name='a'/></Data></DialogEffects></Game>"},
      {"no name", "<Game><DialogEffects><Data><Anim show_anim_data='s' hide_anim_data='h'/></Data>"
                  "</DialogEffects></Game>"},
      {"name twice", "<Game><DialogEffects><Data><Anim name='a' show_anim_data='s' hide_anim_data='h'/>"
                     "<Anim name='a' show_anim_data='s' hide_anim_data='h'/></Data></DialogEffects></Game>"},
      {"dialog twice", "<Game><DialogEffects><Dialogs><Options effects='a'/><Options effects='b'/></Dialogs>"
                       "</DialogEffects></Game>"},
      {"dialog without effects", "<Game><DialogEffects><Dialogs><Options/></Dialogs></DialogEffects></Game>"},
      {"preloaded animation missing",
       "<Game><DialogEffects><Data><Anim name='a' show_anim_data='none.anim' hide_anim_data='hide.anim' "
       "preload=''/></Data></DialogEffects></Game>"},
  };
  for (const Case& c : cases) {
    widget::DialogEffectsManager::Instance()->Clear();
    fakes::MainLogRecorder log;
    EXPECT_EQ(VN_FAIL, LoadConfig(c.xml)) << c.name;
    EXPECT_NE(std::u16string::npos, log.Text().find(u"data/game.xml line 1, element")) << c.name;
  }
}

TEST_F(DialogEffectsTest, PreloadLoadsBothAnimationsAtOnce) {
  ASSERT_EQ(VN_OK, LoadConfig("<Game><DialogEffects><Data><Anim name='a' show_anim_data='show.anim' "
                              "hide_anim_data='hide.anim' preload=''/><Anim name='b' show_anim_data='two.anim' "
                              "hide_anim_data='two.anim'/></Data></DialogEffects></Game>"));
  const auto& map = resource::ResourceManager::Instance()->GetMap<animation::AnimData>();
  ASSERT_EQ(2u, map.size());
  EXPECT_TRUE(map.at(u"show.anim").resource->IsLoaded());
  EXPECT_EQ(0u, map.count(u"two.anim"));
  widget::DialogEffectsManager::Instance()->Clear();
  EXPECT_TRUE(map.empty());
}

TEST_F(DialogEffectsTest, ShowHideStateMachine) {
  ASSERT_EQ(VN_OK, LoadConfig(kConfig));
  widget::FrameManager frames;
  auto* dialog = new RecordingTestDialog("Options");
  ASSERT_EQ(VN_OK, frames.ShowModal(dialog, false));
  auto* effects = static_cast<widget::DialogAnimEffects*>(dialog->GetEffects());
  ASSERT_NE(nullptr, effects);
  EXPECT_EQ(widget::DialogAnimEffects::kShowing, effects->GetState());
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.0f));  // the effects task joins the tree
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.5f));
  EXPECT_FLOAT_EQ(5.0f, dialog->GetHitLayer()->mPosition.x);
  EXPECT_EQ(0, dialog->mShown);
  // A hide during the show waits for its end.
  ASSERT_EQ(VN_OK, dialog->Hide(true));
  EXPECT_EQ(widget::DialogAnimEffects::kShowing, effects->GetState());
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.6f));
  EXPECT_EQ(1, dialog->mShown);
  EXPECT_FLOAT_EQ(10.0f, dialog->mXAtShown);
  EXPECT_EQ(widget::DialogAnimEffects::kHiding, effects->GetState());
  EXPECT_FLOAT_EQ(0.0f, dialog->GetHitLayer()->mPosition.x);  // the hide starts at its start
  // The hide ends in one long frame: the dialog is removed and deleted, the effects go too.
  ASSERT_EQ(VN_OK, frames.UpdateTree(3.0f));
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.0f));
  EXPECT_TRUE(frames.GetShown().empty());
  EXPECT_TRUE(frames.HasNoChildren());
}

TEST_F(DialogEffectsTest, DialogsWithoutEffectsShowAndCloseAtOnce) {
  ASSERT_EQ(VN_OK, LoadConfig(kConfig));
  widget::FrameManager frames;
  for (const char* name : {"", "Unlisted"}) {
    auto* dialog = new RecordingTestDialog(name);
    ASSERT_EQ(VN_OK, frames.ShowModal(dialog, false));
    EXPECT_EQ(1, dialog->mShown) << name;
    EXPECT_EQ(nullptr, dialog->GetEffects());
    ASSERT_EQ(VN_OK, dialog->Hide(true));
    ASSERT_EQ(VN_OK, frames.UpdateTree(0.0f));
    EXPECT_TRUE(frames.GetShown().empty()) << name;
  }
}

// A failed effect must not leave a modal dialog that never gets OnShown.
TEST_F(DialogEffectsTest, FailedEffectsShowThePlainDialog) {
  ASSERT_EQ(VN_OK, LoadConfig(kConfig));
  widget::FrameManager frames;
  for (const char* name : {"Bad", "Lost"}) {
    fakes::MainLogRecorder log;
    auto* dialog = new RecordingTestDialog(name);
    EXPECT_EQ(VN_OK, frames.ShowModal(dialog, false));
    EXPECT_EQ(1, dialog->mShown) << name;
    EXPECT_EQ(nullptr, dialog->GetEffects());
    EXPECT_NE(std::u16string::npos, log.Text().find(u"shown without them")) << name;
    ASSERT_EQ(VN_OK, frames.RemoveFrame(dialog, true, false));
    ASSERT_EQ(VN_OK, frames.UpdateTree(0.0f));
  }
  EXPECT_TRUE(frames.HasNoChildren());
}

TEST_F(DialogEffectsTest, DeletingAShowingDialogDetachesItsEffects) {
  ASSERT_EQ(VN_OK, LoadConfig(kConfig));
  widget::FrameManager frames;
  auto* dialog = new RecordingTestDialog("Options");
  ASSERT_EQ(VN_OK, frames.ShowModal(dialog, false));
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.1f));
  ASSERT_EQ(VN_OK, frames.RemoveFrame(dialog, true, false));
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.1f));
  ASSERT_EQ(VN_OK, frames.UpdateTree(0.1f));
  EXPECT_TRUE(frames.HasNoChildren());
}

}  // namespace
