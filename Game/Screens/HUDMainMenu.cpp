#include "Game/Screens/HUDMainMenu.h"

#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

struct MainMenuEffect {
  const char* name;
  float x, y;
};
constexpr MainMenuEffect kMainMenuEffects[] = {
    {"fog_01", 401.0f, 263.0f}, {"blik_1", 335.0f, 28.0f}, {"blik_2", 509.0f, 100.0f}, {"blik_4", 372.0f, 620.0f}};
constexpr char16_t kMainMenuLanguages[][3] = {u"ru", u"en"};

}  // namespace

HUDMainMenu::HUDMainMenu(RuvMap& map) : mMap(map) {
  k2::SoundTags::Instance()->PlayMusic(kMusic);
  wayOutOfBrokenLayout.clear();
  loadMenuLayout(*this, kLayout, menuButtons);
  mMap.mReturnScreen = u"mmenu";
  for (const MainMenuEffect& effect : kMainMenuEffects) {
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(effect.name);
    if (!emitter) continue;
    emitter->SetPosition(math::Point2(effect.x, effect.y), 1);
    emitter->SetLoopMode(1);
    emitter->SetState(render::ParticleEmitter::kPlaying);
    emitters.push_back(emitter);
  }
  setFont(LoadGameFont(kFontMain42x3));
  refresh();
  for (const char16_t* language : kMainMenuLanguages) setFrameVisible(language, mMap.mLanguage == language);
  showProfileNotices();
}

void HUDMainMenu::showProfileNotices() {
  if (file::Profiles::IsProfileReset()) {
    TalvenDialog::ShowModal(appFrameManager(),
                            new TMessageBox(mMap, u"profile_corrupt", u"", file::Profiles::GetDamagedCopyPath()));
    file::Profiles::SetProfileReset(false);
  }
  if (file::Profiles::IsProfileUnreadable()) {
    TalvenDialog::ShowModal(appFrameManager(), new TMessageBox(mMap, u"profile_unreadable", u"", file::Profiles::GetFilePath()));
    file::Profiles::SetProfileUnreadable(false);
  }
}

HUDMainMenu::~HUDMainMenu() {
  for (render::ParticleEmitter* emitter : emitters) delete emitter;
  for (HUDButtonOver* button : menuButtons) delete button;
  delete layout;
}

void HUDMainMenu::loadMenuLayout(HUDWindow& screen, const std::u16string& path, std::vector<HUDButtonOver*>& out) {
  screen.loadLayout(path);
  for (RuvButtonFrame* button : screen.buttons) delete button;
  screen.buttons.clear();
  if (!screen.layout) return;
  std::vector<std::u16string> groups;
  screen.layout->ListFolders(u"button", groups, true);
  LocalStrings* strings = LocalStrings::Instance();
  for (const std::u16string& group : groups) {
    HUDButtonOver* button = HUDButtonOver::create(screen.layout, group);
    if (!button) continue;
    button->caption = strings->get(group);
    button->font = LoadGameFont(group == u"b2_play" ? kFontMain80 : kFontMain42x3);
    out.push_back(button);
  }
}

void HUDMainMenu::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  for (HUDButtonOver* button : menuButtons) button->draw(graphics);
  for (render::ParticleEmitter* emitter : emitters) graphics.DrawParticles(emitter);
}

void HUDMainMenu::update(float dt) {
  HUDWindow::update(dt);
  readRootBoardPointer(pointerX, pointerY);
  for (HUDButtonOver* button : menuButtons) button->update(dt);
  for (render::ParticleEmitter* emitter : emitters) emitter->Update(dt);
}

void HUDMainMenu::refresh() {
  LocalStrings* strings = LocalStrings::Instance();
  std::u16string name = mMap.mProgress ? mMap.mProgress->getCurrentProfileName() : std::u16string();
  if (name.empty()) name = strings->get(u"unnamed_player");
  setText(u"greet", strings->get(u"greet_1") + name + strings->get(u"greet_2"));
}

void HUDMainMenu::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  for (HUDButtonOver* button : menuButtons) button->hover(x, y);
}

void HUDMainMenu::onMouseDown(int x, int y) {
  for (HUDButtonOver* button : menuButtons) button->press(x, y);
}

void HUDMainMenu::onMouseUp(int x, int y) {
  for (HUDButtonOver* button : menuButtons) button->release(x, y);
}

std::u16string HUDMainMenu::buttonNameAt(int x, int y) {
  if (kProfileBandTop <= y && y <= kProfileBandBottom) return u"profile";
  for (HUDButtonOver* button : menuButtons) {
    if (button->hitTest(x, y)) {
      k2::SoundTags::Instance()->Play(u"simple");
      return button->name;
    }
  }
  return std::u16string();
}
