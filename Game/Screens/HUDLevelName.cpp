#include "Game/Screens/HUDLevelName.h"

#include <string>

#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Battle/RuvMap.h"

namespace {

std::u16string levelNameDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void levelNameLine(render::Graphics& graphics, const std::u16string& text, const char16_t* fontName, float x,
                   float y) {
  const resource::ResourcePtr<render::Font> font = LoadGameFont(fontName);
  if (font) graphics.mFont = font.Get();
  auto request = graphics.DrawText(&text);
  request->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  request->mFormat.mAlignment = 2;
  request.Translate(math::Point2(x, y));
}

}  // namespace

HUDLevelName::HUDLevelName(RuvMap& map) : mMap(map) {
  LocalStrings* strings = LocalStrings::Instance();
  levelText = strings->get(u"level_d") + u" " + levelNameDecimal(map.mLevel + 1);
  title = strings->get((map.mMode == 3 ? u"episodeHardcore" : u"episode") + levelNameDecimal(map.mEpisode));
}

void HUDLevelName::update(float dt) {
  timer -= dt;
  if (timer >= 0.0f) return;
  switch (stage) {
    case 0:
      stage = 1;
      timer = kHold;
      break;
    case 1:
      stage = 2;
      timer = kFadeOut;
      break;
    case 2:
      open = 0;
      break;
    default:
      break;
  }
}

float HUDLevelName::alpha() const {
  switch (stage) {
    case 0:
      return 1.0f - 2.0f * timer;
    case 1:
      return 1.0f;
    case 2:
      return 2.0f * timer;
    default:
      return 0.0f;
  }
}

void HUDLevelName::draw(render::Graphics& graphics) {
  if (timer < 0.0f) return;
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, alpha());
  const math::Rect& view = mMap.mSceneryRect;
  const float cx = view.x + view.width * 0.5f;
  const float cy = view.y + view.height * 0.5f;
  levelNameLine(graphics, title, kFontMain80, cx, cy - kLineOffset);
  levelNameLine(graphics, levelText, kFontMain42x3, cx, cy + kLineOffset);
  // The fade must not reach what is drawn after the banner.
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}
