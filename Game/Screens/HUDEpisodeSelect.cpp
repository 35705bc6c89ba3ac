#include "Game/Screens/HUDEpisodeSelect.h"

#include "Core/Base/FormatSpec.h"
#include "Core/File/ImageContainer.h"
#include "Core/Math/Rect.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"

namespace {

const math::Rect kEpisodeClip(40.0f, 0.0f, 940.0f, 768.0f);
constexpr int kStarsPerCountedLevel = 9;

std::u16string episodeDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

}  // namespace

HUDEpisodeSelect::HUDEpisodeSelect(RuvMap& map) : mMap(map) {
  loadLayout(kLayout);
  RuvProgress* progress = mMap.mProgress.get();
  carousel = std::make_unique<EpisodeCarousel>(progress ? progress->getLastEpisode() : 0);
  lockOverlay.reset(createFrameEntry(layout, u"plates/lock"));
  newOverlay.reset(createFrameEntry(layout, u"plates/new"));
  for (int i = 1; i <= mMap.episodeCount(); ++i) {
    carousel->plates.push_back(makeEpisodePlate(layout, mMap, i - 1, lockOverlay.get(), newOverlay.get()));
  }
  carousel->onSelect.Reset(
      new base::MemberDelegate1<HUDEpisodeSelect, int, void>(this, &HUDEpisodeSelect::onEpisodeSelected));
  carousel->onMoveStart.Reset(
      new base::MemberDelegate0<HUDEpisodeSelect, void>(this, &HUDEpisodeSelect::onMoveStarted));
  carousel->onSettled.Reset(new base::MemberDelegate0<HUDEpisodeSelect, void>(this, &HUDEpisodeSelect::onSettled));
  onEpisodeSelected(carousel->current);
  setText(u"caption", LocalStrings::Instance()->get(u"episodes_caption"));
  const int stars = progress ? progress->getStarCount(-1) : 0;
  setText(u"stars", episodeDecimal(stars) + u"/" + episodeDecimal(kStarsPerCountedLevel * mMap.totalLevelCount()));
}

HUDEpisodeSelect::~HUDEpisodeSelect() {
  delete layout;
  layout = nullptr;
}

void HUDEpisodeSelect::draw(render::Graphics& graphics) {
  drawFrames(graphics);
  graphics.SetClipRect(kEpisodeClip);
  carousel->draw(graphics, LoadGameFont(kFontMain80).Get(),
                 LocalStrings::Instance()->get(u"episodeSelectNew"));
  graphics.ResetClipRect();
  drawButtons(graphics);
  drawTexts(graphics);
}

void HUDEpisodeSelect::update(float dt) {
  HUDWindow::update(dt);
  carousel->update(dt);
  if (RuvButtonFrame* left = findButton(u"arrow_left")) left->visible = carousel->current > 0;
  if (RuvButtonFrame* right = findButton(u"arrow_right")) right->visible = carousel->current < carousel->plateCount() - 1;
  RuvButtonFrame* play = findButton(u"play");
  if (!play) return;
  math::Color& colour = play->colour;
  switch (playFade) {
    case kPlayShown:
      colour = math::Color(1.0f, 1.0f, 1.0f, 1.0f);
      break;
    case kPlayFadingOut:
      colour.a -= kPlayFadeSpeed * dt;
      if (colour.a <= 0.0f) {
        colour.a = 0.0f;
        playFade = kPlayHidden;
      }
      break;
    case kPlayFadingIn:
      colour.a += kPlayFadeSpeed * dt;
      if (colour.a >= 1.0f) {
        colour.a = 1.0f;
        playFade = kPlayShown;
      }
      break;
    default:
      break;
  }
  play->visible = colour.a != 0.0f;
}

void HUDEpisodeSelect::onMouseDown(int x, int y) { pressOffButton = HUDWindow::buttonNameAt(x, y).empty() ? 1 : 0; }

void HUDEpisodeSelect::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  if (!pressOffButton) return;
  if (carousel->state == EpisodeCarousel::kIdle) {
    if (kDragBandTop <= y && y <= kDragBandBottom) carousel->startDrag(float(x), float(y));
  } else if (carousel->state == EpisodeCarousel::kDragging) {
    carousel->dragTo(float(x), float(y));
  }
}

void HUDEpisodeSelect::onMouseUp(int, int) {
  if (pressOffButton) carousel->release();
  pressOffButton = 0;
}

int HUDEpisodeSelect::buttonIndexAt(int x, int y) {
  const std::u16string name = buttonNameAt(x, y);
  const bool onPlate = kPlateLeft <= x && x <= kPlateRight && kPlateTop <= y && y <= kPlateBottom;
  if (name == u"play" || (onPlate && carousel->state == EpisodeCarousel::kIdle)) {
    return mMap.isEpisodeAvailable(carousel->current) ? carousel->current : -1;
  }
  if (carousel->state == EpisodeCarousel::kIdle) {
    if (name == u"arrow_left") carousel->step(-1);
    if (name == u"arrow_right") carousel->step(+1);
  }
  return -1;
}

void HUDEpisodeSelect::onEpisodeSelected(int index) {
  // A damaged episode table leaves nothing to select: say so where the episode's name would be.
  if (mMap.episodeCount() == 0) {
    setText(u"levelName", LocalStrings::Instance()->get(u"episodes_none"));
    return;
  }
  const char16_t* key = mMap.mMode == 3 ? u"episodeHardcore" : u"episode";
  setText(u"levelName", LocalStrings::Instance()->get(key + episodeDecimal(index)));
}

void HUDEpisodeSelect::onMoveStarted() {
  if (playFade != kPlayHidden) playFade = kPlayFadingOut;
}

void HUDEpisodeSelect::onSettled() { playFade = kPlayFadingIn; }
