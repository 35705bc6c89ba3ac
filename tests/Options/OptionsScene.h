#pragma once
// The options dialog and the message box on a frame manager of their own, over the sample layouts,
// fonts and strings, a recording renderer, the scripted audio layer and a fake battle map with a
// progress store.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Math/Point.h"
#include "Core/Widget/FrameManager.h"
#include "Game/Tables/RuvProgress.h"
#include "fakes/RecordingRender.h"
#include "fakes/ScriptedBass.h"
#include "gamesupport/GameTestSupport.h"

namespace gui {
class GameControl;
}
namespace layer {
class Layer;
}
class OptionsDialog;
class TalvenDialog;
class TalvenSlider;

namespace optionstest {

// A text layer of a dialog: its text and where it stands.
struct PlacedText {
  std::u16string text;
  math::Point3 position;
};

class OptionsScene : public gametest::GameFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh profile "A" with these volumes, and the progress store over it.
  void StartProgress(float sound, float music);
  // Builds the dialog and lets the manager show it; null when it was not shown.
  OptionsDialog* OpenOptions();
  // The manager's next update (queued shows and removals, widget and effect updates).
  void Update(float dt);
  // The frames on screen, bottom first.
  std::vector<widget::Frame*> Shown() const;
  // Removes and deletes every frame.
  void CloseAll();

  void Move(const math::Point3& point);
  void Press(const math::Point3& point);
  void Drag(const math::Point3& point);
  void Release(const math::Point3& point);
  // Move, press and release at the centre of a control.
  void Click(const gui::GameControl& control);
  // A point of a control's space on the screen (controls hang directly under their dialog).
  static math::Point3 OnScreen(const layer::Layer& control, float x, float y);
  // The texts of the dialog's own layers.
  static std::vector<PlacedText> Texts(const TalvenDialog& dialog);
  // The value a knob position stands for, computed from the slider's end positions.
  static float ValueAt(const TalvenSlider& slider, float position);

  std::unique_ptr<widget::FrameManager> mManager;
  fakes::RecordingRender mRender;
  fakes::ScriptedBass mBass;
  gametest::FakeMapState mMap;
  std::unique_ptr<RuvProgress> mProgress;
};

}  // namespace optionstest
