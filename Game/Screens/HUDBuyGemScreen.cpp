#include "Game/Screens/HUDBuyGemScreen.h"

#include "Core/Base/Format.h"
#include "Core/File/ImageContainer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"

const char16_t* const gemPackProductNames[HUDBuyGemScreen::kPacks] = {u"buy_50_cr", u"buy_150_cr", u"buy_300_cr",
                                                                      u"buy_500_cr", u"buy_1000_cr"};

namespace {

const char16_t* gemPackBadge(int index) {
  switch (index) {
    case 1:
      return u"1/most_popular";
    case 3:
      return u"1/best_buy";
    case 4:
      return u"1/all_inclusive";
    default:
      return nullptr;
  }
}

}  // namespace

HUDBuyGemScreen::HUDBuyGemScreen(RuvMap& map) : mMap(map) {
  loadLayout(kLayout);
  for (int i = 0; i < kPacks; ++i) {
    offers.push_back(std::make_unique<HUDShopOffer>(layout, i, mMap.mLanguage, gemPackProductNames[i], gemPackBadge(i)));
    // The pack draws and hit-tests this picture itself.
    if (RuvButtonFrame* button = findButton((base::Format(u"b_%02d_in") % (i + 1)).GetResult())) button->visible = 0;
  }
  setFont(LoadGameFont(kFontMain42x3));
  setText(u"caption", LocalStrings::Instance()->get(u"gemShopTitle"));
  refresh();
  if (RuvButtonFrame* wall = findButton(u"offers_wall")) {
    wall->visible = RuvFeatures::instance().getFlag(RuvFeatures::kOffersWall, RuvFeatures::kIsActive) ? 1 : 0;
  }
}

HUDBuyGemScreen::~HUDBuyGemScreen() {
  offers.clear();
  delete layout;
}

void HUDBuyGemScreen::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) offer->draw(graphics, offer->line());
}

void HUDBuyGemScreen::update(float dt) {
  HUDWindow::update(dt);
  refresh();
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) offer->updateScale(dt);
}

void HUDBuyGemScreen::refresh() {
  const int gems = mMap.mWallet ? mMap.mWallet->gems : 0;
  setText(u"caption_gems", (base::Format(LocalStrings::Instance()->get(u"gemShopTitle2")) % gems).GetResult());
}

void HUDBuyGemScreen::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) offer->hovered = offer->contains(x, y) ? 1 : 0;
}

std::u16string HUDBuyGemScreen::buttonNameAt(int x, int y) {
  for (const std::unique_ptr<HUDShopOffer>& offer : offers) {
    if (offer->contains(x, y)) return offer->productName();
  }
  return HUDWindow::buttonNameAt(x, y);
}
