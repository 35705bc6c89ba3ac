#pragma once
#include <string>
#include <vector>

#include "Game/Art/GameFonts.h"
#include "Game/Screens/HUDWindow.h"

// What a level unlocks, before it starts: one picture of "icons/id<N>" and the text "unlock_<N>"
// per unlock id, shown one after the other. Each "ok" shows the next; the one after the last is
// answered to the battle map, which closes the screen.
class HUDUnlockMessage : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/data/message";
  static constexpr const char16_t* kMessageFont = kFontMain32x2;

  // Ids without a picture are left out; a picture listed twice counts twice. Shows the first.
  explicit HUDUnlockMessage(const std::vector<int>& unlockIds);
  ~HUDUnlockMessage() override;

  // Frames, buttons, then the texts: the button label in main_80, the others in main_32_2.
  void draw(render::Graphics& graphics) override;
  // No button index answers: the battle map reads names only.
  int buttonIndexAt(int, int) override { return -1; }
  // "ok" after the last unlock; an earlier "ok" shows the next one and answers the empty name.
  std::u16string buttonNameAt(int x, int y) override;

  // Shows the pictures of that id alone, with its text.
  void showUnlock(int id);

  std::vector<int> ids;
  int current = 0;
  std::vector<RuvFrameEntry*> icons;  // owned by frames
};
