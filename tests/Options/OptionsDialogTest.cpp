// The options dialog: what opening shows and stores, the volume controls, the window mode, the
// cheat and close buttons, the show effect and a failed build.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <filesystem>
#include <string>

#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
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

class OptionsDialogTest : public OptionsScene {};

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
}

}  // namespace
