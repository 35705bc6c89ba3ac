#include "Game/Screens/Options/OptionsDialog.h"

#include <algorithm>

#include "Core/Layer/TextLayer.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Tables/RuvMapState.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/Options/TalvenButton.h"
#include "Game/Screens/Options/TalvenSlider.h"
#include "Game/Screens/Options/TalvenSwitchButton.h"

namespace {

constexpr char16_t kOptionsShadow[] = u"buttons/menu/menu_sh";

}  // namespace

OptionsDialog::OptionsDialog(RuvMapState& map) : mMap(map) { mName = kName; }

VNResultEnum OptionsDialog::Create() {
  mFontMain80 = LoadGameFont(kFontMain80);
  mFontMain42x2 = LoadGameFont(kFontMain42x2);
  mFontMain42x3 = LoadGameFont(kFontMain42x3);
  if (const VNResultEnum result =
          InitFromPath(kLayout, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true)) {
    return result;
  }
  if (const VNResultEnum result = AddImage(u"title", kModeNoMouse)) return result;
  struct Caption {
    const char16_t* layer;
    const char16_t* key;
    const resource::ResourcePtr<render::Font>& font;
  };
  const Caption captions[] = {
      {u"main_options/options_title", u"options_OptionsTitle", mFontMain80},
      {u"main_options/sounds_and_music", u"options_OptionsSounds", mFontMain42x2},
      {u"main_options/game_type", u"options_OptionsGameType", mFontMain42x2},
      {u"main_options/window_type", u"options_OptionsWindowType", mFontMain42x2},
  };
  for (const Caption& caption : captions) {
    if (const VNResultEnum result = AddText(caption.layer, caption.key, caption.font)) return result;
  }
  if (const VNResultEnum result = CreateButton(mMenu, u"buttons/menu/menu_in", u"buttons/menu/menu_ac")) return result;
  if (const VNResultEnum result = CreateButton(mOk, u"buttons/close/ok_in", u"buttons/close/ok_ac")) return result;
  if (const VNResultEnum result = CreateButton(mCheat, u"buttons/cheat/cheat_in", u"buttons/cheat/cheat_ac")) {
    return result;
  }
  if (const VNResultEnum result = AddText(u"buttons/close/close_caption", u"options_OptionsOk", mFontMain80)) {
    return result;
  }
  if (const VNResultEnum result =
          CreateSlider(mSoundSlider, u"main_options/sound/sound_bar", u"main_options/sound/sound_begunok",
                       u"main_options/sound/sound_back", u"main_options/sound/sound_frame")) {
    return result;
  }
  if (const VNResultEnum result =
          CreateSlider(mMusicSlider, u"main_options/music/music_bar", u"main_options/music/music_begunok",
                       u"main_options/music/music_back", u"main_options/music/music_frame")) {
    return result;
  }
  if (const VNResultEnum result = CreateButton(mMusicDown, u"buttons/music_dec/b_in", u"buttons/music_dec/b_ac")) {
    return result;
  }
  if (const VNResultEnum result = CreateButton(mMusicUp, u"buttons/music_inc/b_in", u"buttons/music_inc/b_ac")) {
    return result;
  }
  if (const VNResultEnum result = CreateButton(mSoundDown, u"buttons/sound_dec/b_in", u"buttons/sound_dec/b_ac")) {
    return result;
  }
  if (const VNResultEnum result = CreateButton(mSoundUp, u"buttons/sound_inc/b_in", u"buttons/sound_inc/b_ac")) {
    return result;
  }
  if (const VNResultEnum result = CreateSwitch(mWindowed, u"main_options/window/window_nonselected",
                                               u"main_options/window/window_ac", u"main_options/window/window_in",
                                               u"main_options/window/window_sh")) {
    return result;
  }
  if (const VNResultEnum result = CreateWindowedTexts()) return result;
  if (const VNResultEnum result =
          CreateSwitch(mFullscreen, u"main_options/fullscreen/fullscreen_nonselected",
                       u"main_options/fullscreen/fullscreen_ac", u"main_options/fullscreen/main_menu_in",
                       u"main_options/fullscreen/main_menu_sh")) {
    return result;
  }
  if (const VNResultEnum result = CreateFullscreenText()) return result;
  ShowStoredVolumes();
  ShowScreenMode();
  return VN_OK;
}

VNResultEnum OptionsDialog::CreateButton(TalvenButton*& out, const char16_t* normal, const char16_t* hover) {
  auto* button = new TalvenButton;
  if (const VNResultEnum result = button->Create(GetContainer(), normal, hover, kOptionsShadow)) {
    delete button;
    return result;
  }
  button->mButtonListener = this;
  out = button;
  return AddChild(button, nullptr);
}

VNResultEnum OptionsDialog::CreateSlider(TalvenSlider*& out, const char16_t* bar, const char16_t* knob,
                                         const char16_t* back, const char16_t* frame) {
  auto* slider = new TalvenSlider;
  VNResultEnum result = slider->Create(GetContainer(), bar, knob, frame);
  if (result == VN_OK) result = slider->AddImageBack(back, kModeTrap);
  if (result != VN_OK) {
    delete slider;
    return result;
  }
  // Only now: the commit that placed the knob must not store a volume.
  slider->mSliderListener = this;
  out = slider;
  return AddChild(slider, nullptr);
}

VNResultEnum OptionsDialog::CreateSwitch(TalvenSwitchButton*& out, const char16_t* normal, const char16_t* hover,
                                         const char16_t* selected, const char16_t* shadow) {
  auto* button = new TalvenSwitchButton;
  if (const VNResultEnum result = button->Create(GetContainer(), normal, hover, selected, shadow)) {
    delete button;
    return result;
  }
  button->mButtonListener = this;
  out = button;
  return AddChild(button, nullptr);
}

namespace {

// A centred text over a switch, ignoring the mouse; owned by the switch's builder part.
layer::TextLayer* OptionsSwitchText(TalvenSwitchButton& button, const resource::ResourcePtr<render::Font>& font,
                                    const char16_t* key, float letterSpacing, int verticalAnchor, float y) {
  auto* text = new layer::TextLayer(font, LocalStrings::Instance()->get(key), 0.0f, 0.0f, 2, false);
  text->mFormat.mLetterSpacing = letterSpacing;
  text->mHorizontalAnchor = 2;
  text->mVerticalAnchor = verticalAnchor;
  text->SetPosition(math::Point3(0.0f, y, 0.0f));
  button.AddLayer(text, gui::GameControlHelper::kModeNoMouse);
  return text;
}

}  // namespace

VNResultEnum OptionsDialog::CreateWindowedTexts() {
  const float lineAdvance = mFontMain42x3 ? mFontMain42x3->GetLineAdvance() : 0.0f;
  layer::TextLayer* caption =
      OptionsSwitchText(*mWindowed, mFontMain42x3, u"options_caption", 0.0f, 0, -(lineAdvance - 2.0f) / 2.0f);
  layer::TextLayer* note = OptionsSwitchText(*mWindowed, mFontMain42x3, u"options_window_add", 2.0f, 0, 0.0f);
  note->mScaleX = 0.6f;
  note->mScaleY = 0.6f;
  note->mTransformChanged = true;
  caption->SnapToPixels();
  note->SnapToPixels();
  return VN_OK;
}

VNResultEnum OptionsDialog::CreateFullscreenText() {
  OptionsSwitchText(*mFullscreen, mFontMain42x3, u"options_fs", 2.0f, 2, 0.0f)->SnapToPixels();
  return VN_OK;
}

void OptionsDialog::ShowStoredVolumes() {
  SoundSystem* sound = SoundSystem::Instance();
  if (RuvProgress* progress = mMap.getProgress()) {
    sound->SetMusicVolume(progress->getMusicVolume());
    sound->SetSoundVolume(progress->getSoundVolume());
  }
  mSoundSlider->SetValue(sound->GetSoundVolume(), true);
  mMusicSlider->SetValue(sound->GetMusicVolume(), true);
}

void OptionsDialog::ShowScreenMode() {
  const bool fullscreen = mMap.isAppFullscreen();
  mFullscreen->SetSelected(fullscreen);
  mWindowed->SetSelected(!fullscreen);
}

void OptionsDialog::SwitchScreenMode() {
  mMap.switchScreenMode();
  ShowScreenMode();
}

VNResultEnum OptionsDialog::StepVolume(TalvenSlider* slider, float current, float step) {
  return slider->CommitValue(std::clamp(current + step, 0.0f, 1.0f), true);
}

VNResultEnum OptionsDialog::OnClick(widget::Button* button) {
  k2::SoundTags::Instance()->Play(u"simple");
  SoundSystem* sound = SoundSystem::Instance();
  if (button == mMenu || button == mOk) return Hide(true);
  if (button == mFullscreen) {
    SwitchScreenMode();
  } else if (button == mWindowed) {
    if (mMap.isWorkAreaTooSmall()) {
      return TalvenDialog::ShowModal(GetManager(), new TMessageBox(mMap, u"IllegalResolutionMessage", u""));
    }
    SwitchScreenMode();
  } else if (button == mCheat) {
    mMap.enableCheats();
  } else if (button == mMusicDown) {
    return StepVolume(mMusicSlider, sound->GetMusicVolume(), -kVolumeStep);
  } else if (button == mMusicUp) {
    return StepVolume(mMusicSlider, sound->GetMusicVolume(), kVolumeStep);
  } else if (button == mSoundDown) {
    return StepVolume(mSoundSlider, sound->GetSoundVolume(), -kVolumeStep);
  } else if (button == mSoundUp) {
    return StepVolume(mSoundSlider, sound->GetSoundVolume(), kVolumeStep);
  }
  return VN_OK;
}

VNResultEnum OptionsDialog::OnValueCommitted(widget::Slider* slider, float value) {
  RuvProgress* progress = mMap.getProgress();
  if (slider == mMusicSlider) {
    SoundSystem::Instance()->SetMusicVolume(value);
    if (progress != nullptr) progress->setMusicVolume(value);
  } else if (slider == mSoundSlider) {
    SoundSystem::Instance()->SetSoundVolume(value);
    if (progress != nullptr) progress->setSoundVolume(value);
  }
  return VN_OK;
}
