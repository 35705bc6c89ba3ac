#include "Game/Screens/HUDModalMessage.h"

#include "Core/File/ImageContainer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

resource::ResourcePtr<render::Font> modalMessageFont(const std::u16string& key) {
  return LoadGameFont(key == u"b2_play" ? kFontMain80 : kFontMain42x3);
}

}  // namespace

HUDModalMessage::HUDModalMessage(RuvMap& map, const std::u16string& caption, const std::u16string& message,
                                 int stateAfter)
    : stateAfterClose(stateAfter), mMap(map) {
  layer = kDrawLayer;
  loadLayout(kLayout);
  for (RuvButtonFrame* button : buttons) delete button;
  buttons.clear();
  modalButtons.build(layout, modalMessageFont);
  setFrameVisible(u"input", false);
  setText(u"caption", caption);
  setText(u"message", message);
  if (HUDButtonOver* second = modalButtons.at(1)) second->xOffset = kSingleButtonShift;
  if (HUDButtonOver* first = modalButtons.at(0)) first->visible = 0;
}

HUDModalMessage::~HUDModalMessage() {
  if (stateAfterClose != kStateNone) mMap.mState = stateAfterClose;
  modalButtons.clear();
  delete layout;
  layout = nullptr;
}

void HUDModalMessage::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  modalButtons.draw(graphics);
}

void HUDModalMessage::update(float dt) {
  HUDWindow::update(dt);
  readRootBoardPointer(pointerX, pointerY);
  modalButtons.update(dt);
}

void HUDModalMessage::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  modalButtons.hover(x, y);
}

void HUDModalMessage::onMouseDown(int x, int y) { modalButtons.press(x, y); }

void HUDModalMessage::onMouseUp(int x, int y) { modalButtons.release(x, y); }

std::u16string HUDModalMessage::buttonNameAt(int x, int y) { return modalButtons.clickName(x, y); }

HUDModalDialog::HUDModalDialog(RuvMap& map, const std::u16string& caption, const std::u16string& message)
    : HUDModalMessage(map, caption, message, -1) {
  if (HUDButtonOver* second = modalButtons.at(1)) second->xOffset = 0.0f;
  if (HUDButtonOver* first = modalButtons.at(0)) first->visible = 1;
}

void HUDModalDialog::onMouseUp(int x, int y) {
  switch (modalButtons.hitIndex(x, y)) {
    case 0:
      onNo();
      break;
    case 1:
      onYes();
      break;
    default:
      break;
  }
}
