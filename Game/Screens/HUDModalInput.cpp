#include "Game/Screens/HUDModalInput.h"

#include <string>

#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDModalMessage.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

resource::ResourcePtr<render::Font> modalInputFont(const std::u16string& key) {
  return LoadGameFont(key == u"b2_play" ? kFontMain80 : kFontMain42x3);
}

std::u16string modalInputDecimal(size_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

bool modalInputNameTaken(const std::u16string& name) {
  for (const std::u16string& profile : file::Profiles::Instance()->GetProfileNames()) {
    if (profile == name) return true;
  }
  return false;
}

}  // namespace

bool isProfileNameCharacter(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0x410 && c <= 0x44F);
}

HUDModalInput::HUDModalInput(RuvMap& map) : mMap(map) {
  layer = HUDModalMessage::kDrawLayer;
  loadLayout(HUDModalMessage::kLayout);
  for (RuvButtonFrame* button : buttons) delete button;
  buttons.clear();
  modalButtons.build(layout, modalInputFont);
  if (mMap.mState == kStateNewProfile) {
    text = LocalStrings::Instance()->get(u"default_player") +
           modalInputDecimal(file::Profiles::Instance()->GetProfileNames().size());
  } else if (mMap.mState == kStateRenameProfile) {
    text = mMap.mProgress->getCurrentProfileName();
  }
  for (RuvFrameEntry* frame : frames) {
    if (frame->name == u"input") inputFrame = frame;
  }
  mMap.mNameInput = text;
  setText(u"caption", LocalStrings::Instance()->get(u"profile_edit_caption"));
  nameChanged(false);
}

HUDModalInput::~HUDModalInput() {
  modalButtons.clear();
  delete layout;
  layout = nullptr;
}

void HUDModalInput::nameChanged(bool store) {
  if (store) mMap.mNameInput = text;
  if (HUDButtonOver* confirm = modalButtons.at(1)) confirm->visible = !text.empty() && !modalInputNameTaken(text);
}

void HUDModalInput::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  modalButtons.draw(graphics);
  if (!inputFrame) return;
  const resource::ResourcePtr<render::Font> textFont = LoadGameFont(kFontMain42x3);
  if (textFont) graphics.mFont = textFont.Get();
  const std::u16string shown = text + u"|";
  const float* r = inputFrame->rect;
  auto request = graphics.DrawText(&shown);
  request->mHorizontalAnchor = render::DrawTextParam::kAnchorStart;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  request.Translate(math::Point2(r[0] + kTextIndent, r[1] + r[3] / 2));
}

void HUDModalInput::update(float dt) {
  HUDWindow::update(dt);
  readRootBoardPointer(pointerX, pointerY);
  modalButtons.update(dt);
}

void HUDModalInput::onMouseMove(int x, int y) { modalButtons.hover(x, y); }

void HUDModalInput::onMouseDown(int x, int y) { modalButtons.press(x, y); }

void HUDModalInput::onMouseUp(int x, int y) { modalButtons.release(x, y); }

void HUDModalInput::onChar(int c) {
  if (text.size() >= kMaxNameLength) return;
  const resource::ResourcePtr<render::Font> glyphs = LoadGameFont(kGlyphFont);
  // Characters beyond 16 bits have no glyph in a bitmap font of UTF-16 code units.
  if (c < 0 || c > 0xFFFF || !glyphs || !glyphs->HasGlyph(static_cast<char16_t>(c))) return;
  if (c == ' ') return;
  if (isProfileNameCharacter(c)) text += static_cast<char16_t>(c);
  nameChanged(isProfileNameCharacter(c));
}

void HUDModalInput::onKey(int keyCode) {
  if (keyCode != kBackspace) return;
  const bool removed = !text.empty();
  if (removed) text.pop_back();
  nameChanged(removed);
}

std::u16string HUDModalInput::buttonNameAt(int x, int y) {
  const std::u16string answer = modalButtons.clickName(x, y);
  // The pops below delete this screen: from the first one on only locals and the map are used.
  RuvMap& map = mMap;
  HUD& hud = *map.mHud;
  if (answer == u"cancel" && map.mState != kStateNewProfile) {
    map.mNameInput.clear();
    if (map.mReturnScreen == u"mmenu" || map.mReturnScreen == u"shop") {
      map.mState = kStateMainMenu;
    } else {
      hud.popWindow();
      map.mState = kStateProfileList;
    }
  } else if (answer == u"ok") {
    if (map.mState == kStateNewProfile) map.mProgress->createProfile(map.mNameInput);
    if (map.mState == kStateRenameProfile) map.mProgress->renameProfile(map.mNameInput);
    hud.popWindow();
    map.mNameInput.clear();
    if (map.mReturnScreen == u"mmenu") {
      hud.popWindow();
      hud.pushEpisodeSelect();
    } else if (map.mReturnScreen == u"shop") {
      hud.popWindow();
      hud.pushShopWindow(0);
      hud.shopReturnScreen = u"mmenu";
    } else {
      map.mState = kStateProfileList;
    }
    hud.refreshTop();
  }
  return answer;
}
