#pragma once
#include "Core/Widget/Button.h"
#include "Core/Widget/Slider.h"
#include "Game/Screens/Options/TalvenDialog.h"

class RuvMapState;
class TalvenButton;
class TalvenSlider;
class TalvenSwitchButton;

// The options: sound and music volumes (sliders and step buttons) and the window mode (two
// switches), from the layout "ruv/options". Every choice takes effect at once and is stored in the
// profile through the map's progress store.
class OptionsDialog : public TalvenDialog, public widget::ButtonListener, public widget::SliderListener {
 public:
  static constexpr char16_t kLayout[] = u"ruv/options";
  static constexpr char kName[] = "Options";
  // The step of the volume buttons.
  static constexpr float kVolumeStep = 0.25f;

  // map: the battle map, which outlives the dialog.
  explicit OptionsDialog(RuvMapState& map);

  // Stops at the first failing step and returns its result.
  VNResultEnum Create() override;
  VNResultEnum OnClick(widget::Button* button) override;
  // Sets and stores the committed volume.
  VNResultEnum OnValueCommitted(widget::Slider* slider, float value) override;

  TalvenButton* GetMusicDown() const { return mMusicDown; }
  TalvenButton* GetMusicUp() const { return mMusicUp; }
  TalvenButton* GetSoundDown() const { return mSoundDown; }
  TalvenButton* GetSoundUp() const { return mSoundUp; }
  TalvenButton* GetMenu() const { return mMenu; }
  TalvenButton* GetOk() const { return mOk; }
  TalvenButton* GetCheat() const { return mCheat; }
  TalvenSlider* GetSoundSlider() const { return mSoundSlider; }
  TalvenSlider* GetMusicSlider() const { return mMusicSlider; }
  TalvenSwitchButton* GetWindowed() const { return mWindowed; }
  TalvenSwitchButton* GetFullscreen() const { return mFullscreen; }

 private:
  VNResultEnum CreateButton(TalvenButton*& out, const char16_t* normal, const char16_t* hover);
  VNResultEnum CreateSlider(TalvenSlider*& out, const char16_t* bar, const char16_t* knob, const char16_t* back,
                            const char16_t* frame);
  VNResultEnum CreateSwitch(TalvenSwitchButton*& out, const char16_t* normal, const char16_t* hover,
                            const char16_t* selected, const char16_t* shadow);
  VNResultEnum CreateWindowedTexts();
  VNResultEnum CreateFullscreenText();
  void ShowStoredVolumes();
  // The selected switch is the current mode's.
  void ShowScreenMode();
  void SwitchScreenMode();
  // Steps the slider's volume from the sound system's, through the slider.
  VNResultEnum StepVolume(TalvenSlider* slider, float current, float step);

  RuvMapState& mMap;
  resource::ResourcePtr<render::Font> mFontMain80;
  resource::ResourcePtr<render::Font> mFontMain42x2;
  resource::ResourcePtr<render::Font> mFontMain42x3;
  TalvenButton* mMusicDown = nullptr;
  TalvenButton* mMusicUp = nullptr;
  TalvenButton* mSoundDown = nullptr;
  TalvenButton* mSoundUp = nullptr;
  TalvenButton* mMenu = nullptr;
  TalvenButton* mOk = nullptr;
  TalvenButton* mCheat = nullptr;
  TalvenSlider* mSoundSlider = nullptr;
  TalvenSlider* mMusicSlider = nullptr;
  TalvenSwitchButton* mWindowed = nullptr;
  TalvenSwitchButton* mFullscreen = nullptr;
};
