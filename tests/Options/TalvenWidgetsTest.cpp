// The option widgets inside the options dialog: the button's cross-fade and press, the switch's
// selected look, and the slider's knob placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Math/Angle.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/SliderLayer.h"
#include "Game/Screens/Options/TalvenButton.h"
#include "Game/Screens/Options/TalvenSlider.h"
#include "Game/Screens/Options/TalvenSwitchButton.h"
#include "OptionsScene.h"

namespace {

using optionstest::OptionsScene;

class TalvenWidgetsTest : public OptionsScene {
 protected:
  void SetUp() override {
    OptionsScene::SetUp();
    StartProgress(0.0f, 1.0f);
  }
};

float TalvenTestEase(float t) { return 0.5f - std::cos(math::kPi * t) / 2.0f; }

TEST_F(TalvenWidgetsTest, ButtonFadesToItsHoverImageAndShrinksWhilePressed) {
  struct Case {
    float hover;  // seconds under the pointer
    float press;  // seconds pressed after that
  };
  const Case cases[] = {{0.1f, 0.0f}, {0.3f, 0.0f}, {0.32f, 0.0f}, {1.0f / 3.0f, 0.0f}, {1.0f, 0.1f}, {1.0f, 0.5f}};
  for (const Case& c : cases) {
    const std::string row = "row " + std::to_string(&c - cases);
    OptionsDialog* dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    TalvenButton& button = *dialog->GetMenu();
    const math::Point3 centre = OnScreen(button, 0.0f, 0.0f);
    Move(centre);
    EXPECT_EQ(widget::Button::kStateOver, button.GetState()) << row;
    EXPECT_FALSE(button.GetStateImage(TalvenButton::kNormalImage)->mMouseEnabled) << row;
    Update(c.hover);
    const float over = std::min(1.0f, 3.0f * c.hover);
    EXPECT_NEAR(over, button.GetOver(), 1e-6f) << row;
    EXPECT_NEAR(over, button.GetStateImage(TalvenButton::kHoverImage)->mAlpha, 1e-6f) << row;
    const float normal = button.GetOver() <= 0.9f ? 1.0f : 1.0f - (button.GetOver() - 0.9f) * 10.0f;
    EXPECT_NEAR(normal, button.GetStateImage(TalvenButton::kNormalImage)->mAlpha, 1e-5f) << row;
    if (c.press > 0.0f) {
      Press(centre);
      EXPECT_EQ(widget::Button::kStatePressed, button.GetState()) << row;
      Update(c.press);
      const float press = std::min(1.0f, 5.0f * c.press);
      EXPECT_NEAR(1.0f - TalvenTestEase(press) * 0.05f, button.mScaleX, 1e-6f) << row;
      EXPECT_EQ(button.mScaleX, button.mScaleY) << row;
      Release(centre);
    }
    CloseAll();
  }
}

TEST_F(TalvenWidgetsTest, ASelectedSwitchNeitherHighlightsNorClicksUntilDeselected) {
  mMap.fullscreen = false;
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  TalvenSwitchButton& windowed = *dialog->GetWindowed();
  TalvenSwitchButton& fullscreen = *dialog->GetFullscreen();
  struct Case {
    TalvenSwitchButton* hovered;
    bool highlighted;
  };
  const Case before[] = {{&windowed, false}, {&fullscreen, true}};
  for (const Case& c : before) {
    Move(OnScreen(*c.hovered, 0.0f, 0.0f));
    Update(1.0f);
    EXPECT_EQ(c.highlighted ? 1.0f : 0.0f, c.hovered->GetOver());
    EXPECT_FLOAT_EQ(c.highlighted ? 1.1f : 1.0f, c.hovered->mScaleX);
    Move(math::Point3(0.0f, 0.0f, 0.0f));
    Update(1.0f);
  }
  EXPECT_EQ(1.0f, windowed.GetStateImage(TalvenSwitchButton::kSelectedImage)->mAlpha);
  EXPECT_EQ(0.0f, windowed.GetStateImage(TalvenSwitchButton::kNormalImage)->mAlpha);
  Click(windowed);
  EXPECT_EQ(0, mMap.screenSwitches);
  Click(fullscreen);
  EXPECT_EQ(1, mMap.screenSwitches);
  Move(OnScreen(windowed, 0.0f, 0.0f));
  Update(1.0f);
  EXPECT_EQ(1.0f, windowed.GetOver());
  EXPECT_EQ(0.0f, windowed.GetStateImage(TalvenSwitchButton::kSelectedImage)->mAlpha);
  EXPECT_EQ(1.0f, windowed.GetStateImage(TalvenSwitchButton::kHoverImage)->mAlpha);
}

// The knob's end positions come from the bar's and the knob's layout rectangles; a value puts the
// knob in proportion between them and fills the bar up to it.
TEST_F(TalvenWidgetsTest, SliderPlacesItsKnobInProportionBetweenItsEnds) {
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  TalvenSlider& slider = *dialog->GetSoundSlider();
  std::unique_ptr<file::ImageContainer> layout(file::FileManager::Instance()->OpenImageContainer(u"ruv/options"));
  ASSERT_TRUE(layout);
  const base::ImageInfo& bar = *layout->GetLayerInfo(u"main_options/sound/sound_bar");
  const base::ImageInfo& knob = *layout->GetLayerInfo(u"main_options/sound/sound_begunok");
  const float left = std::min(bar.mX, knob.mX);
  const float right = std::max(bar.mX + bar.mWidth, knob.mX + knob.mWidth);
  const float top = std::min(bar.mY, knob.mY);
  const float bottom = std::max(bar.mY + bar.mHeight, knob.mY + knob.mHeight);
  EXPECT_EQ(std::floor((left + right) / 2.0f), slider.mPosition.x);
  EXPECT_EQ(std::floor((top + bottom) / 2.0f), slider.mPosition.y);
  const float minimum = bar.mX - slider.mPosition.x + static_cast<float>(static_cast<int>(knob.mWidth) / 2);
  const float maximum = bar.mWidth - knob.mWidth - 2.0f + minimum;
  EXPECT_EQ(minimum, slider.GetMinimumPosition());
  EXPECT_EQ(maximum, slider.GetMaximumPosition());
  EXPECT_EQ(nullptr, slider.GetShineEmitter());  // the sample particles are not loaded here
  for (float value : {0.0f, 0.3f, 1.0f}) {
    ASSERT_EQ(VN_OK, slider.SetValue(value, true));
    const float position = minimum + (maximum - minimum) * value;
    EXPECT_FLOAT_EQ(position, slider.GetKnobPosition()) << value;
    EXPECT_FLOAT_EQ(position - slider.GetBar()->mPosition.x, slider.GetBar()->mFill.width) << value;
  }
  slider.mMaximum = slider.mMinimum;  // an empty range
  ASSERT_EQ(VN_OK, slider.SetValue(0.5f, true));
  EXPECT_EQ(minimum, slider.GetKnobPosition());
}

TEST_F(TalvenWidgetsTest, TheKnobShinesWhileHoveredHeldOrSlidingAndShrinksWhileHeld) {
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder(std::string(QM_SOURCE_DIR) + "/data/ruv/fx/");
  particles->Load("fx2.ptc", &mRender);
  particles->SetFolder("");
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  TalvenSlider& slider = *dialog->GetSoundSlider();
  render::ParticleEmitter* shine = slider.GetShineEmitter();
  ASSERT_NE(nullptr, shine);
  EXPECT_EQ(render::ParticleEmitter::kStopped, shine->GetState());
  EXPECT_FLOAT_EQ(slider.GetKnobPosition(), shine->GetPosition().x);
  const math::Point3 knob = OnScreen(slider, slider.GetKnobPosition(), slider.GetKnobHolder()->mPosition.y);
  const math::Point3 away(0.0f, 0.0f, 0.0f);
  Move(knob);
  Update(0.02f);
  EXPECT_EQ(render::ParticleEmitter::kPlaying, shine->GetState());
  Press(knob);
  Update(0.1f);
  EXPECT_FLOAT_EQ(0.95f, slider.GetKnobHolder()->mScaleX);
  Drag(away);
  Release(away);
  Update(0.02f);
  EXPECT_NE(render::ParticleEmitter::kPlaying, shine->GetState());
  Update(0.1f);
  EXPECT_FLOAT_EQ(1.0f, slider.GetKnobHolder()->mScaleX);
  const SliderLayer& bar = *slider.GetBar();
  const math::Point3 onBar = OnScreen(slider, slider.GetKnobPosition() + 100.0f, bar.mPosition.y + 4.0f);
  Press(onBar);
  Release(onBar);
  Update(0.02f);
  EXPECT_EQ(render::ParticleEmitter::kPlaying, shine->GetState());  // sliding, the pointer away
  EXPECT_FLOAT_EQ(slider.GetKnobPosition(), shine->GetPosition().x);
  CloseAll();
}

// Over the windowed switch its caption, raised by half a line, and a smaller note; over the full
// screen switch its own caption; all centred, ignoring the mouse, on whole pixels.
TEST_F(TalvenWidgetsTest, SwitchCaptions) {
  OptionsDialog* dialog = OpenOptions();
  ASSERT_NE(nullptr, dialog);
  const float lineAdvance = LoadGameFont(kFontMain42x3)->GetLineAdvance();
  struct Case {
    TalvenSwitchButton* button;
    const char16_t* key;
    float letterSpacing;
    float scale;
    int verticalAnchor;
    float y;  // before snapping
  };
  const Case cases[] = {
      {dialog->GetWindowed(), u"options_caption", 0.0f, 1.0f, 0, -(lineAdvance - 2.0f) / 2.0f},
      {dialog->GetWindowed(), u"options_window_add", 2.0f, 0.6f, 0, 0.0f},
      {dialog->GetFullscreen(), u"options_fs", 2.0f, 1.0f, 2, 0.0f},
  };
  for (const Case& c : cases) {
    const std::u16string text = LocalStrings::Instance()->get(c.key);
    const layer::TextLayer* found = nullptr;
    for (const layer::Layer* created : c.button->GetCreatedLayers()) {
      const auto* candidate = dynamic_cast<const layer::TextLayer*>(created);
      if (candidate != nullptr && candidate->mText == text) found = candidate;
    }
    const std::string row = "row " + std::to_string(&c - cases);
    ASSERT_NE(nullptr, found) << row;
    EXPECT_EQ(c.button, found->GetParent()) << row;
    EXPECT_FALSE(found->mMouseEnabled) << row;
    EXPECT_EQ(2, found->mHorizontalAnchor) << row;
    EXPECT_EQ(c.verticalAnchor, found->mVerticalAnchor) << row;
    EXPECT_EQ(2u, found->mFormat.mAlignment) << row;
    EXPECT_EQ(c.letterSpacing, found->mFormat.mLetterSpacing) << row;
    EXPECT_EQ(c.scale, found->mScaleX) << row;
    EXPECT_NEAR(c.y, found->mPosition.y, 1.0f) << row;
  }
}

}  // namespace
