#include "Game/Screens/RuvSplashScreens.h"

#include "Core/Base/DataFileLog.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Core/Base/Tokenizer.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Screens/HUD.h"

namespace {

constexpr float kSplashFadeSeconds = 0.5f;
constexpr float kSplashHoldSeconds = 1.5f;

}  // namespace

RuvSplashImage::~RuvSplashImage() { delete image; }

void RuvSplashImage::update(float dt) {
  time += dt;
  switch (phase) {
    case kFadingIn:
      if (time > kSplashFadeSeconds) {
        phase = kHolding;
        time = 0.0f;
      }
      break;
    case kHolding:
      if (time > kSplashHoldSeconds) {
        phase = kFadingOut;
        time = 0.0f;
      }
      break;
    case kFadingOut:
      if (time > kSplashFadeSeconds) {
        phase = kDone;
        time = 0.0f;
      }
      break;
    default:
      break;
  }
}

void RuvSplashImage::draw(render::Graphics& graphics, const math::Rect& viewport) {
  if (image) {
    auto request = graphics.DrawImage(image);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Translate(math::Point2(viewport.x + viewport.width * 0.5f, viewport.y + viewport.height * 0.5f));
  }
  if (phase == kFadingIn || phase == kFadingOut) {
    const float alpha = phase == kFadingIn ? 1.0f - 2.0f * time : 2.0f * time;
    graphics.SetColorRGBA(0.0f, 0.0f, 0.0f, alpha);
    graphics.FillRect(math::Rect(-512.0f, -512.0f, 2048.0f, 2048.0f));
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

RuvSplashScreens::RuvSplashScreens(HUD* hud) : mHud(hud) {
  const std::vector<std::string> names = parseLogoList(base::ReadTextFile(kLogoList));
  if (names.empty()) base::LogDataFileProblem(u"RuvSplashScreens", kLogoList, u"names no logo (missing or damaged)");
  for (const std::string& name : names) {
    const std::u16string path = u"logo/" + base::ToWide(name, base::kEncodingUtf8);
    render::Image* image = ruvLoadImage(path, nullptr);
    // A logo that cannot be shown is not worth 2.5 s of black.
    if (image) {
      logos.push_back(new RuvSplashImage(image));
    } else {
      base::LogDataFileProblem(u"RuvSplashScreens", path, u"cannot be shown: the logo is left out");
    }
  }
  k2::SoundTags::Instance()->PlayMusic(u"ruv/data/music/main_menu.ogg");
}

RuvSplashScreens::~RuvSplashScreens() {
  for (RuvSplashImage* logo : logos) delete logo;
  logos.clear();
}

std::vector<std::string> RuvSplashScreens::parseLogoList(const std::string& text) {
  std::vector<std::string> names;
  base::Tokenizer lines(text, '\n', true);
  std::string line;
  while (lines.Next(&line)) {
    std::string packed;
    for (char c : line) {
      if (c != ' ') packed += c;
    }
    const size_t first = packed.find(';');
    if (first == std::string::npos) continue;
    const size_t second = packed.find(';', first + 1);
    const std::string list =
        packed.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(',', start);
      if (end == std::string::npos) end = list.size();
      std::string name = list.substr(start, end - start);
      if (!name.empty() && name.back() == '\r') name.pop_back();
      if (!name.empty()) names.push_back(name);
      start = end + 1;
    }
  }
  return names;
}

void RuvSplashScreens::draw(render::Graphics& graphics) {
  if (current >= 0 && current < int(logos.size())) logos[size_t(current)]->draw(graphics, viewport);
}

void RuvSplashScreens::update(float dt) {
  if (!open) return;
  if (current < int(logos.size())) {
    RuvSplashImage* logo = logos[size_t(current)];
    logo->update(dt);
    if (logo->phase == RuvSplashImage::kDone) ++current;
  }
  if (current >= int(logos.size())) open = 0;
}

std::u16string RuvSplashScreens::buttonNameAt(int, int) {
  ++current;
  return current >= int(logos.size()) ? u"done" : u"";
}

void RuvSplashScreens::onClose() {
  if (mHud) mHud->pushMainMenu();
}
