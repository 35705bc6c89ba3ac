#pragma once
#include <string>

#include "Game/Battle/RuvScreenState.h"
#include "Game/Screens/HUDModalButtons.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// A caption, a message and one button on the layout "ruv/data/mm", drawn above the radial menu
// (layer 1). The dispatcher acts on its button's click name. Keeps its layout while it lives.
class HUDModalMessage : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/data/mm";
  static constexpr int kDrawLayer = 1;
  // Hides the "input" frame, shows only the second button, moved right by this much.
  static constexpr float kSingleButtonShift = 120.0f;

  // stateAfterClose kStateNone restores no state.
  HUDModalMessage(RuvMap& map, const std::u16string& caption, const std::u16string& message, int stateAfterClose);
  // Restores stateAfterClose into the map's state (unless kStateNone), whoever deletes the message.
  ~HUDModalMessage() override;

  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  void onMouseMove(int x, int y) override;
  void onMouseDown(int x, int y) override;
  // Releases every button.
  void onMouseUp(int x, int y) override;
  std::u16string buttonNameAt(int x, int y) override;

  HUDModalButtons modalButtons;  // the layout's "button" groups, in name order
  int stateAfterClose = kStateNone;

 protected:
  RuvMap& mMap;
};

// Both buttons in their layout places: the first refuses, the second confirms. The release runs
// the action; by default both close the dialog.
class HUDModalDialog : public HUDModalMessage {
 public:
  HUDModalDialog(RuvMap& map, const std::u16string& caption, const std::u16string& message);

  // The first button hit by the release answers: index 0 refuses, index 1 confirms.
  void onMouseUp(int x, int y) override;

  virtual void onYes() { open = 0; }
  virtual void onNo() { open = 0; }
};
