// The options dialog: what opening shows and stores, the volume controls, the window mode, the
// cheat and close buttons, the show effect and a failed build.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <filesystem>
#include <string>

#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
#include "Game/Art/GameFonts.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/SliderLayer.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/Options/TalvenButton.h"
#include "Game/Screens/Options/TalvenSlider.h"
#include "Game/Screens/Options/TalvenSwitchButton.h"
#include "OptionsScene.h"
#include "fakes/MainLogRecorder.h"

namespace {

using optionstest::OptionsScene;

class OptionsDialogTest : public OptionsScene {
 protected:
  // A point on the sound bar 100 px right of the knob at start, at the bar's middle height.
  math::Point3 OnBarAhead(TalvenSlider& slider, float start) {
    const SliderLayer& bar = *slider.GetBar();
    return OnScreen(slider, start + 100.0f, bar.mPosition.y + bar.mImageHeight / 2.0f);
  }
};

TEST_F(OptionsDialogTest, OpeningShowsTheStoredVolumesAndStoresNothing) {
  StartProgress(0.25f, 0.75f);
  const std::string saved = SavedProfiles();
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  ASSERT_EQ(1u, Shown().size());
  EXPECT_FALSE(dialog->IsDisabled());
  EXPECT_FLOAT_EQ(0.25f, SoundSystem::Instance()->GetSoundVolume());
  EXPECT_FLOAT_EQ(0.75f, SoundSystem::Instance()->GetMusicVolume());
  for (const auto& [slider, volume] : {std::pair{dialog->GetSoundSlider(), 0.25f}, {dialog->GetMusicSlider(), 0.75f}}) {
    EXPECT_FLOAT_EQ(volume, slider->mValue);
    EXPECT_NEAR(volume, ValueAt(*slider, slider->GetKnobPosition()), 1e-5f);
  }
  EXPECT_EQ(saved, SavedProfiles());
  // The texts use the root board's fonts, loaded on the way when nobody had loaded them.
  for (const char16_t* font : {kFontMain80, kFontMain42x2, kFontMain42x3}) {
    const resource::ResourcePtr<render::Font> handle = LoadGameFont(font);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->IsLoaded());
  }
}

// One font object per name for the board, the screens and the dialogs; a font that cannot be loaded
// gives an empty handle rather than an unloaded font.
TEST_F(OptionsDialogTest, GameFontsAreSharedAndAMissingOneIsEmpty) {
  const resource::ResourcePtr<render::BMFont> first = LoadGameFont(kFontMain80);
  ASSERT_TRUE(first);
  EXPECT_EQ(first.Get(), LoadGameFont(kFontMain80).Get());
  EXPECT_FALSE(LoadGameFont(u"ruv/data/fonts/no_such_font"));
}

TEST_F(OptionsDialogTest, VolumeButtonsStepThroughTheSliderWithinZeroAndOne) {
  enum Which { kSoundDown, kSoundUp, kMusicDown, kMusicUp };
  struct Case {
    Which button;
    float start;
    float expected;
  };
  const Case cases[] = {
      {kSoundDown, 0.1f, 0.0f}, {kSoundUp, 0.9f, 1.0f},   {kSoundUp, 0.5f, 0.75f},
      {kMusicDown, 0.6f, 0.35f}, {kMusicUp, 0.9f, 1.0f}, {kMusicDown, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    StartProgress(c.start, c.start);
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    const bool music = c.button == kMusicDown || c.button == kMusicUp;
    TalvenButton* buttons[] = {dialog->GetSoundDown(), dialog->GetSoundUp(), dialog->GetMusicDown(),
                               dialog->GetMusicUp()};
    Click(*buttons[c.button]);
    TalvenSlider* slider = music ? dialog->GetMusicSlider() : dialog->GetSoundSlider();
    SoundSystem* sound = SoundSystem::Instance();
    const std::string row = "row " + std::to_string(&c - cases);
    EXPECT_NEAR(c.expected, music ? sound->GetMusicVolume() : sound->GetSoundVolume(), 1e-6f) << row;
    EXPECT_NEAR(c.expected, music ? mProgress->getMusicVolume() : mProgress->getSoundVolume(), 1e-6f) << row;
    EXPECT_NEAR(c.start, music ? mProgress->getSoundVolume() : mProgress->getMusicVolume(), 1e-6f) << row;
    EXPECT_NEAR(c.expected, ValueAt(*slider, slider->GetKnobPosition()), 1e-5f) << row;
    if (c.expected == 0.0f) {
      EXPECT_EQ(slider->GetMinimumPosition(), slider->GetKnobPosition()) << row;
    }
    CloseAll();
  }
}

TEST_F(OptionsDialogTest, ScreenModeSwitchesAndTheTooSmallWorkArea) {
  struct Case {
    bool fullscreen;
    bool workAreaTooSmall;
    bool clickFullscreenSwitch;
    int switches;
    bool messageShown;
  };
  const Case cases[] = {
      {true, false, false, 1, false},   // windowed chosen
      {true, true, false, 0, true},     // windowed refused with a message
      {false, false, true, 1, false},   // full screen chosen
      {false, true, true, 1, false},    // full screen needs no work area
      {false, false, false, 0, false},  // the selected switch does not click
      {true, false, true, 0, false},
  };
  StartProgress(1.0f, 1.0f);
  for (const Case& c : cases) {
    const std::string row = "row " + std::to_string(&c - cases);
    mMap.fullscreen = c.fullscreen;
    mMap.workAreaTooSmall = c.workAreaTooSmall;
    mMap.screenSwitches = 0;
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(c.fullscreen, dialog->GetFullscreen()->IsSelected()) << row;
    EXPECT_EQ(!c.fullscreen, dialog->GetWindowed()->IsSelected()) << row;
    Click(c.clickFullscreenSwitch ? *dialog->GetFullscreen() : *dialog->GetWindowed());
    Update(0.0f);
    EXPECT_EQ(c.switches, mMap.screenSwitches) << row;
    EXPECT_EQ(mMap.fullscreen, dialog->GetFullscreen()->IsSelected()) << row;
    EXPECT_EQ(!mMap.fullscreen, dialog->GetWindowed()->IsSelected()) << row;
    const std::vector<widget::Frame*> shown = Shown();
    ASSERT_EQ(c.messageShown ? 2u : 1u, shown.size()) << row;
    if (c.messageShown) {
      auto* box = dynamic_cast<TMessageBox*>(shown.back());
      ASSERT_NE(nullptr, box) << row;
      EXPECT_EQ(nullptr, box->GetButton2()) << row;
      Click(*box->GetButton1());
      Update(0.0f);
      EXPECT_EQ(1u, Shown().size()) << row;
      EXPECT_TRUE(mMap.confirmedCommands.empty()) << row;
    }
    CloseAll();
  }
}

TEST_F(OptionsDialogTest, CheatAndCloseButtons) {
  StartProgress(1.0f, 1.0f);
  for (bool ok : {false, true}) {
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    Click(*dialog->GetCheat());
    EXPECT_TRUE(mMap.cheatsEnabled);
    mMap.cheatsEnabled = false;
    Click(ok ? *dialog->GetOk() : *dialog->GetMenu());
    EXPECT_TRUE(dialog->IsDisabled());
    Update(0.0f);  // removed and deleted
    EXPECT_TRUE(Shown().empty()) << ok;
  }
}

TEST_F(OptionsDialogTest, DraggingTheKnobStoresTheVolumeOnlyOnRelease) {
  struct Case {
    float dragBy;  // from the knob's place at 0.5
    float expected;  // < 0: the value of the dragged position
  };
  const Case cases[] = {{40.0f, -1.0f}, {-2000.0f, 0.0f}, {2000.0f, 1.0f}};
  for (const Case& c : cases) {
    const std::string row = "row " + std::to_string(&c - cases);
    StartProgress(1.0f, 0.5f);
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    TalvenSlider* slider = dialog->GetMusicSlider();
    const float start = slider->GetKnobPosition();
    const float knobY = slider->GetKnobHolder()->mPosition.y;
    Move(OnScreen(*slider, start, knobY));
    Press(OnScreen(*slider, start, knobY));
    Drag(OnScreen(*slider, start + c.dragBy, knobY));
    const float moved =
        std::max(slider->GetMinimumPosition(), std::min(slider->GetMaximumPosition(), start + c.dragBy));
    EXPECT_FLOAT_EQ(moved, slider->GetKnobPosition()) << row;
    EXPECT_FLOAT_EQ(0.5f, SoundSystem::Instance()->GetMusicVolume()) << row;
    EXPECT_FLOAT_EQ(0.5f, mProgress->getMusicVolume()) << row;
    Release(OnScreen(*slider, start + c.dragBy, knobY));
    const float expected = c.expected < 0.0f ? ValueAt(*slider, moved) : c.expected;
    EXPECT_EQ(expected, SoundSystem::Instance()->GetMusicVolume()) << row;
    EXPECT_NEAR(expected, mProgress->getMusicVolume(), 1e-5f) << row;
    EXPECT_FLOAT_EQ(moved - slider->GetBar()->mPosition.x, slider->GetBar()->mFill.width) << row;
    CloseAll();
  }
}

TEST_F(OptionsDialogTest, ABarPressSlidesTheKnobAndCommitsWhenTheSlideEnds) {
  StartProgress(0.5f, 1.0f);
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  TalvenSlider* slider = dialog->GetSoundSlider();
  const float start = slider->GetKnobPosition();
  const math::Point3 press = OnBarAhead(*slider, start);
  Move(press);
  Press(press);
  EXPECT_TRUE(slider->IsSliding());
  Update(0.25f);  // half of 100 px at 200 px/s, eased in and out: half way
  EXPECT_NEAR(start + 50.0f, slider->GetKnobPosition(), 1e-4f);
  Release(press);
  Update(0.2f);
  EXPECT_FLOAT_EQ(0.5f, mProgress->getSoundVolume());
  EXPECT_FLOAT_EQ(0.5f, SoundSystem::Instance()->GetSoundVolume());
  Update(0.05f);
  EXPECT_FALSE(slider->IsSliding());
  EXPECT_FLOAT_EQ(start + 100.0f, slider->GetKnobPosition());
  // The profile keeps six decimals.
  EXPECT_NEAR(ValueAt(*slider, start + 100.0f), mProgress->getSoundVolume(), 1e-6f);
  EXPECT_FLOAT_EQ(ValueAt(*slider, start + 100.0f), SoundSystem::Instance()->GetSoundVolume());
}

TEST_F(OptionsDialogTest, AKnobPressStopsASlideWhereTheKnobIs) {
  StartProgress(0.5f, 1.0f);
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  TalvenSlider* slider = dialog->GetSoundSlider();
  const float start = slider->GetKnobPosition();
  const math::Point3 press = OnBarAhead(*slider, start);
  Press(press);
  Release(press);
  Update(0.25f);
  const float halfWay = slider->GetKnobPosition();
  const math::Point3 knob = OnScreen(*slider, halfWay, slider->GetKnobHolder()->mPosition.y);
  Move(knob);
  Press(knob);
  EXPECT_FALSE(slider->IsSliding());
  Update(0.5f);
  EXPECT_FLOAT_EQ(halfWay, slider->GetKnobPosition());
  Release(knob);
  EXPECT_NEAR(ValueAt(*slider, halfWay), mProgress->getSoundVolume(), 1e-6f);
}

// The "Options" effects: a working one keeps the dialog disabled until it ends; a missing or failing
// one shows the dialog at once, taking input.
TEST_F(OptionsDialogTest, TakesInputOnceTheShowEffectEndsWhateverTheEffect) {
  CopySampleData("data/dialog_show.anim");
  CopySampleData("data/dialog_hide.anim");
  struct Case {
    const char* dialogs;
    bool disabledAtFirst;
  };
  const Case cases[] = {
      {"<Options effects='popup'/>", true},
      {"", false},
      {"<Options effects='nothing'/>", false},
      {"<Options effects='lost'/>", false},
  };
  StartProgress(1.0f, 1.0f);
  for (const Case& c : cases) {
    const std::string row = "row " + std::to_string(&c - cases);
    widget::DialogEffectsManager* effects = widget::DialogEffectsManager::Instance();
    effects->Clear();
    effects->SetRender(&mRender);
    const std::string xml = std::string("<Game><DialogEffects><Data>") +
                            "<Anim name='popup' show_anim_data='data/dialog_show.anim' "
                            "hide_anim_data='data/dialog_hide.anim'/>"
                            "<Anim name='lost' show_anim_data='data/none.anim' hide_anim_data='data/none.anim'/>"
                            "</Data><Dialogs>" + c.dialogs + "</Dialogs></DialogEffects></Game>";
    tinyxml2::XMLDocument document;
    ASSERT_EQ(tinyxml2::XML_SUCCESS, document.Parse(xml.c_str()));
    ASSERT_EQ(VN_OK, effects->Load(document.FirstChildElement("Game")->FirstChildElement("DialogEffects")));
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog) << row;
    EXPECT_EQ(c.disabledAtFirst, dialog->IsDisabled()) << row;
    Click(*dialog->GetCheat());
    EXPECT_EQ(!c.disabledAtFirst, mMap.cheatsEnabled) << row;
    mMap.cheatsEnabled = false;
    for (int frame = 0; frame < 10; ++frame) Update(0.05f);
    EXPECT_FALSE(dialog->IsDisabled()) << row;
    Click(*dialog->GetOk());
    EXPECT_TRUE(dialog->IsDisabled()) << row;
    for (int frame = 0; frame < 10; ++frame) Update(0.05f);
    EXPECT_TRUE(Shown().empty()) << row;
  }
}

TEST_F(OptionsDialogTest, ADialogWhoseBuildFailsIsLoggedAndNotShown) {
  StartProgress(1.0f, 1.0f);
  const std::string layout = ReadTestFile("ruv/options/layers.xml");
  const std::string lastLayer = "main_options/fullscreen/main_menu_sh";
  const std::string withoutLastLayer = layout.substr(0, layout.find(lastLayer)) + "x" + layout.substr(layout.find(lastLayer));
  for (const std::string& text : {std::string(), withoutLastLayer}) {
    if (text.empty()) {
      std::filesystem::remove("ruv/options/layers.xml");
    } else {
      WriteTestFile("ruv/options/layers.xml", text);
    }
    fakes::MainLogRecorder log;
    EXPECT_NE(VN_OK, TalvenDialog::ShowModal(mManager.get(), new OptionsDialog(mMap)));
    Update(0.0f);
    EXPECT_TRUE(Shown().empty());
    EXPECT_NE(std::u16string::npos, log.Text().find(u"Dialog 'Options' is not shown: its build failed")) << text.size();
  }
}

}  // namespace
