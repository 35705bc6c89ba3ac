#pragma once
#include <string>

#include "Game/Art/GameFonts.h"
#include "Game/Screens/HUDModalButtons.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The profile name entry on the layout "ruv/data/mm" (layer 1): the typed name with a cursor mark
// in the "input" frame and two buttons, the second ("ok") shown only while the name is acceptable:
// not empty and no profile's name. Answers its own "ok" and "cancel" (popping itself); the map's
// mNameInput follows every change of the name.
class HUDModalInput : public HUDWindow {
 public:
  static constexpr size_t kMaxNameLength = 16;
  static constexpr int kBackspace = 8;
  static constexpr const char16_t* kGlyphFont = kFontMain32x2;
  static constexpr float kTextIndent = 15.0f;

  // The name starts as the default name and the profile count in kStateNewProfile, the current
  // profile's name in kStateRenameProfile, empty otherwise.
  explicit HUDModalInput(RuvMap& map);
  ~HUDModalInput() override;

  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  void onMouseMove(int x, int y) override;
  void onMouseDown(int x, int y) override;
  void onMouseUp(int x, int y) override;
  // Appends a digit, a Latin or a basic Cyrillic letter the glyph font has, up to 16 characters.
  void onChar(int character) override;
  // Backspace removes the last character.
  void onKey(int keyCode) override;
  // "ok" creates or renames the profile and "cancel" (outside kStateNewProfile) leaves; both may
  // delete this screen before the answer is returned.
  std::u16string buttonNameAt(int x, int y) override;

  HUDModalButtons modalButtons;
  RuvFrameEntry* inputFrame = nullptr;  // the last frame named "input", in frames
  std::u16string text;

 private:
  // Stores the name in the map and shows the confirming button when it is acceptable.
  void nameChanged(bool store);

  RuvMap& mMap;
};

// A character the name accepts when the font has it: "0"-"9", "A"-"Z", "a"-"z", U+0410 to U+044F.
bool isProfileNameCharacter(int character);
