#include "Game/Screens/HUDShopWindow.h"

#include <algorithm>

#include "Core/Base/Format.h"
#include "Core/Base/FormatSpec.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDScrollBar.h"
#include "Game/Screens/HUDTabBar.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

constexpr char16_t kShopResetProduct[] = u"reset_premium_points";
constexpr float kShopCaptionWrap = 429.0f;
constexpr float kShopGemsWrap = 200.0f;
constexpr float kShopWheelTurn = 0.0009765625f;  // 1 / 1024
const std::vector<std::u16string> kShopTabs{u"shop_tab_0", u"shop_tab_1", u"shop_tab_2"};

std::u16string shopString(const char16_t* key) { return LocalStrings::Instance()->get(key); }

bool shopFeature(const char* attribute) {
  return RuvFeatures::instance().getFlag(RuvFeatures::kResetPremiumPoints, attribute);
}

void addToShopBoard(layer::Layer* child) {
  if (layer::Layer* board = rootBoardLayer()) board->AddChild(child);
}

// A centred label on the centre of a layout place.
std::unique_ptr<layer::TextLayer> shopLabel(file::ImageContainer* layout, const char16_t* place,
                                            const std::u16string& text, float wrap) {
  auto label = std::make_unique<layer::TextLayer>(LoadGameFont(kFontMain80), text, wrap, 0.0f,
                                                  2, true);
  label->mHorizontalAnchor = 2;
  label->mVerticalAnchor = 2;
  if (const base::ImageInfo* info = findPsdLayer(layout, place)) {
    label->SetPosition(math::Point3(static_cast<float>(info->mX) + static_cast<float>(info->mWidth) / 2.0f,
                                    static_cast<float>(info->mY) + static_cast<float>(info->mHeight) / 2.0f, 0.0f));
  }
  return label;
}

std::unique_ptr<layer::ImageLayer> shopPicture(file::ImageContainer* layout, const char16_t* name) {
  auto picture = std::make_unique<layer::ImageLayer>();
  placePsdImage(picture.get(), layout, name, math::Point2(0.0f, 0.0f));
  return picture;
}

}  // namespace

HUDShopWindow::HUDShopWindow(RuvMap& map, int fromLevel) : openedFromLevel(fromLevel), mMap(map) {
  loadLayout(kLayout);
  for (const char16_t* name : {u"back_ac", u"return_ac", u"down_in", u"up_in"}) {
    if (!findButton(name)) {
      base::LogBlock(u"HUDShopWindow: the layout '%s' has no button '%s'.\n") % std::u16string(kLayout) %
          std::u16string(name);
    }
  }
  setButtonVisible(openedFromLevel == 0 ? u"return_ac" : u"back_ac", false);
  mMap.mState = kStateUpgradeShop;
  setFont(LoadGameFont(kFontMain80));
  setText(u"caption", shopString(u"shop"));
  content = std::make_unique<layer::Layer>();

  std::vector<unsigned char> enabled;
  for (int section = 0; section < kSections; ++section) enabled.push_back(countAvailableUpgrades(section) != 0);
  scrollBar = std::make_unique<HUDScrollBar>(layout, rootBoardLayer());
  header = shopPicture(layout, u"back_header");
  footer = shopPicture(layout, u"back_footer");
  captionLabel = shopLabel(layout, u"text/caption", shopString(u"shop"), kShopCaptionWrap);
  gemsLabel = shopLabel(layout, u"text/gems", std::u16string(), kShopGemsWrap);
  showGems();
  addToShopBoard(header.get());
  addToShopBoard(footer.get());
  footer->SetDrawAfter(layer::Layer::DrawCallbackPtr(
      new base::MemberDelegate2<HUDShopWindow, render::Graphics*, layer::Layer*, VNResultEnum>(
          this, &HUDShopWindow::drawButtonsOver)));
  tabBar = std::make_unique<HUDTabBar>(layout, kShopTabs, enabled, rootBoardLayer());
  addToShopBoard(captionLabel.get());
  addToShopBoard(gemsLabel.get());

  fillTab(0);
  showGems();
  setButtonVisible(u"gem_shop", false);
  setButtonVisible(kShopResetProduct, shopFeature(RuvFeatures::kIsActive));
}

HUDShopWindow::~HUDShopWindow() {
  detachLayer(header.get());
  detachLayer(footer.get());
  detachLayer(captionLabel.get());
  detachLayer(gemsLabel.get());
  plates.clear();
  captionLabel.reset();
  gemsLabel.reset();
  content.reset();
  delete layout;
  layout = nullptr;
  tabBar.reset();
  scrollBar.reset();
  header.reset();
  footer.reset();
}

std::vector<const RuvUpgrade*> HUDShopWindow::availableUpgrades(int section) const {
  std::vector<RuvUpgrade*> upgrades;
  if (mMap.mUpgrades) mMap.mUpgrades->collectSection(section, upgrades);
  std::vector<const RuvUpgrade*> available;
  for (const RuvUpgrade* upgrade : upgrades) {
    if (upgrade->isAvailable(true)) available.push_back(upgrade);
  }
  return available;
}

int HUDShopWindow::countAvailableUpgrades(int section) const {
  return static_cast<int>(availableUpgrades(section).size());
}

void HUDShopWindow::setButtonVisible(const char16_t* name, bool visible) {
  if (RuvButtonFrame* button = findButton(name)) button->visible = visible ? 1 : 0;
}

void HUDShopWindow::showGems() {
  const std::u16string gems = base::FormatSpec().PutInt(mMap.mWallet ? mMap.mWallet->gems : 0).GetOutput();
  if (gemsLabel->mText == gems) return;
  gemsLabel->mText = gems;
  gemsLabel->mLocalBoxValid = false;
}

void HUDShopWindow::fillTab(int section) {
  plates.clear();  // each plate unlinks its root from the content
  scrollBar->reset();
  content->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
  const base::ImageInfo* place = findPsdLayer(layout, u"item_plate/Layer_1");
  const float x = place ? static_cast<float>(place->mX) : 0.0f;
  const float y = place ? static_cast<float>(place->mY) : 0.0f;
  for (const RuvUpgrade* upgrade : availableUpgrades(section)) {
    auto plate = std::make_unique<HUDShopPlate>(mMap, layout, *upgrade);
    plate->openedFromLevel = openedFromLevel;
    plate->root->SetPosition(math::Point3(x, y + kPlatePitch * static_cast<float>(plates.size()), 0.0f));
    content->AddChild(plate->root.get());
    plates.push_back(std::move(plate));
  }
  const bool scrolled = static_cast<int>(plates.size()) >= kScrolledPlates;
  scrollBar->root->mVisible = scrolled;
  setButtonVisible(u"down_in", scrolled);
  setButtonVisible(u"up_in", scrolled);
}

void HUDShopWindow::setScrollOffset(float position) {
  const float rows = static_cast<float>(plates.size()) - static_cast<float>(kShownRows);
  content->SetPosition(math::Point3(0.0f, -rows * position * kScrollRow, 0.0f));
}

VNResultEnum HUDShopWindow::drawButtonsOver(render::Graphics* graphics, layer::Layer*) {
  for (RuvButtonFrame* button : buttons) {
    if (button->visible) button->draw(*graphics, 1.0f);
  }
  return VN_OK;
}

void HUDShopWindow::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  content->Draw(&graphics);
}

void HUDShopWindow::update(float dt) {
  for (RuvButtonFrame* button : buttons) button->update(dt);
  tabBar->update(dt);
  for (const std::unique_ptr<HUDShopPlate>& plate : plates) plate->update(dt);
  showGems();
}

void HUDShopWindow::refresh() {
  for (const std::unique_ptr<HUDShopPlate>& plate : plates) plate->refresh();
}

void HUDShopWindow::onMouseDown(int x, int y) {
  if (kDragLeft <= x && x <= kDragRight && kDragTop <= y && y <= kDragBottom) dragState = 1;
  if (!mMap.mHud->blockShop) {
    scrollBar->onMouseDown(x, y);
    const int clicked = tabBar->clickAt(x, y);
    if (clicked != -1) {
      tab = clicked;
      k2::SoundTags::Instance()->Play(u"simple");
      fillTab(clicked);
    }
  }
  refresh();
}

void HUDShopWindow::onMouseMove(int x, int y) {
  for (const std::unique_ptr<HUDShopPlate>& plate : plates) plate->onMouseMove(x, y);
  for (RuvButtonFrame* button : buttons) button->hoverTest(x, y);
  if (static_cast<int>(plates.size()) > kShownRows) {
    if (dragState == 1) dragState = 2;
    scrollBar->onMouseMove(x, y);
    if (scrollBar->dragState == 0) setScrollOffset(scrollBar->position);
  }
  tabBar->onMouseMove(x, y);
}

void HUDShopWindow::onMouseUp(int x, int y) {
  if (dragState != 2) {
    for (const std::unique_ptr<HUDShopPlate>& plate : plates) plate->onMouseUp(x, y);
  }
  scrollBar->onMouseUp();
  dragState = 0;
}

void HUDShopWindow::onWheel(int delta) {
  if (static_cast<int>(plates.size()) < kScrolledPlates) return;
  scrollBar->position = std::clamp(scrollBar->position - static_cast<float>(delta) * kShopWheelTurn, 0.0f, 1.0f);
  setScrollOffset(scrollBar->position);
  scrollBar->syncSlider();
}

std::u16string HUDShopWindow::buttonNameAt(int x, int y) {
  if (mMap.mHud->blockShop) return std::u16string();
  const std::u16string name = HUDWindow::buttonNameAt(x, y);
  if (name == u"down_in" || name == u"up_in") {
    const float step = name == u"down_in" ? kButtonScroll : -kButtonScroll;
    scrollBar->position = std::clamp(scrollBar->position + step, 0.0f, 1.0f);
    setScrollOffset(scrollBar->position);
    scrollBar->syncSlider();
    return std::u16string();
  }
  if (name == kShopResetProduct) askReset();
  return name;
}

void HUDShopWindow::askReset() {
  HUD& hud = *mMap.mHud;
  if (shopFeature(RuvFeatures::kIsFree)) {
    hud.pushModalDialog(shopString(u"reset_shop_title"), shopString(u"reset_shop_message"), kStateNone);
    mMap.mState = kStateResetPremiumPoints;
    return;
  }
  const purchase::Product* product = purchase::PurchaseSystem::Instance()->FindProduct(kShopResetProduct);
  if (!product || product->pending) return;
  hud.pushModalDialog(shopString(u"reset_shop_title"),
                      (base::Format(shopString(u"reset_shop_message_inapp")) % product->price).GetResult(),
                      kStateNone);
  mMap.mState = kStateResetPremiumPoints;
}
