#pragma once
#include <string>

#include "Core/Widget/Button.h"
#include "Game/Screens/Options/TalvenDialog.h"

class RuvMapState;
class TalvenButton;

// A localised message from the layout "ruv/data/mm" with one ok button, or with ok and cancel when
// it carries a command: ok then runs the command on the battle map. No name, so no effects.
class TMessageBox : public TalvenDialog, public widget::ButtonListener {
 public:
  static constexpr char16_t kLayout[] = u"ruv/data/mm";

  // map: the battle map, which outlives the box. An empty command makes a one-button message.
  // detail, when given, is shown as it stands on its own line under the message (a file's path).
  TMessageBox(RuvMapState& map, const std::u16string& messageKey, const std::u16string& command,
              const std::u16string& detail = {});

  // Stops at the first failing step and returns its result.
  VNResultEnum Create() override;
  // Button 1 (ok alone, or cancel) closes the box; button 2 (ok) closes it and runs the command.
  VNResultEnum OnClick(widget::Button* button) override;

  TalvenButton* GetButton1() const { return mButton1; }
  TalvenButton* GetButton2() const { return mButton2; }

 private:
  VNResultEnum CreateButton(TalvenButton*& out, float x, const char16_t* labelLayer, const char16_t* labelKey);

  RuvMapState& mMap;
  std::u16string mMessageKey;
  std::u16string mCommand;
  std::u16string mDetail;
  resource::ResourcePtr<render::Font> mFontMain80;
  TalvenButton* mButton1 = nullptr;
  TalvenButton* mButton2 = nullptr;
};
