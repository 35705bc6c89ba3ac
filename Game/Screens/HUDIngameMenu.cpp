#include "Game/Screens/HUDIngameMenu.h"

#include <vector>

#include "Core/File/ImageContainer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"

namespace {

resource::ResourcePtr<render::Font> ingameMenuFont(const std::u16string&) {
  return LoadGameFont(kFontMain80);
}

}  // namespace

HUDIngameMenu::HUDIngameMenu() {
  loadLayout(kLayout);
  for (RuvButtonFrame* button : buttons) delete button;
  buttons.clear();
  // Hidden from the base draw: drawn again over the buttons.
  setFrameVisible(kIcon, false);
  menuButtons.build(layout, ingameMenuFont);
  setFont(LoadGameFont(kFontMain80));
  setText(u"caption", LocalStrings::Instance()->get(u"ingame_caption"));
}

HUDIngameMenu::~HUDIngameMenu() {
  menuButtons.clear();
  delete layout;
  layout = nullptr;
}

void HUDIngameMenu::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  menuButtons.draw(graphics);
  drawIcons(graphics);
}

void HUDIngameMenu::drawIcons(render::Graphics& graphics) {
  // The base draws them, shown, as the only frames of the list for this one call.
  std::vector<RuvFrameEntry*> all;
  all.swap(frames);
  std::vector<unsigned char> shown;
  for (RuvFrameEntry* frame : all) {
    if (frame->name != kIcon) continue;
    frames.push_back(frame);
    shown.push_back(frame->visible);
    frame->visible = 1;
  }
  drawFrames(graphics);
  for (size_t i = 0; i < frames.size(); ++i) frames[i]->visible = shown[i];
  frames.swap(all);
}

void HUDIngameMenu::update(float dt) {
  HUDWindow::update(dt);
  menuButtons.update(dt);
}

void HUDIngameMenu::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  menuButtons.hover(x, y);
}

void HUDIngameMenu::onMouseDown(int x, int y) { menuButtons.press(x, y); }

void HUDIngameMenu::onMouseUp(int x, int y) { menuButtons.release(x, y); }

std::u16string HUDIngameMenu::buttonNameAt(int x, int y) { return menuButtons.clickName(x, y); }
