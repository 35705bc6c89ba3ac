#include "Game/Screens/HUDShopPlate.h"

#include <string>

#include "Core/Base/FormatSpec.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HoverSwell.h"
#include "Game/Screens/Options/TalvenAnimation.h"

namespace {

constexpr char16_t kShopPlateTemplate[] = u"item_plate/Layer_1";
constexpr char16_t kShopPlateSmallFont[] = u"ruv/data/fonts/main_32_2";
constexpr float kShopPlateTextWrap = 333.0f;
constexpr float kShopPlatePriceWrap = 70.0f;
const math::Color kShopPlatePriceShort(0.94f, 0.44f, 0.44f, 1.0f);
const math::Color kShopPlatePriceWhite(1.0f, 1.0f, 1.0f, 1.0f);

std::u16string shopPlateDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

std::u16string shopPlateString(const std::u16string& key) { return LocalStrings::Instance()->get(key); }

std::u16string shopPlateKey(int upgradeId, const std::u16string& suffix) {
  return u"upgrade_" + shopPlateDecimal(upgradeId) + suffix;
}

float shopPlateImageWidth(const layer::ImageLayer& picture) {
  return picture.GetImage() ? static_cast<float>(picture.GetImage()->GetWidth()) : 0.0f;
}

float shopPlateImageHeight(const layer::ImageLayer& picture) {
  return picture.GetImage() ? static_cast<float>(picture.GetImage()->GetHeight()) : 0.0f;
}

std::unique_ptr<layer::ImageLayer> shopPlatePicture(file::ImageContainer* layout, const std::u16string& name,
                                                      const math::Point2& origin) {
  auto picture = std::make_unique<layer::ImageLayer>();
  placePsdImage(picture.get(), layout, name, origin);
  return picture;
}

std::unique_ptr<layer::TextLayer> shopPlateText(const char16_t* font, const std::u16string& text, float wrap,
                                            uint32_t alignment, float x, float y) {
  auto label = std::make_unique<layer::TextLayer>(LoadGameFont(font), text, wrap, 0.0f, alignment, true);
  label->SetPosition(math::Point3(x, y, 0.0f));
  return label;
}

void setShopPlateText(layer::TextLayer& label, const std::u16string& text) {
  label.mText = text;
  label.mLocalBoxValid = false;
}

// Steps beyond the plate's ten stars are sold but not counted in stars.
int shopPlateStarCount(const RuvUpgrade& upgrade) {
  const int steps = static_cast<int>(upgrade.steps.size());
  if (steps == 1) return HUDShopPlate::kSingleStepStars;
  if (steps > HUDShopPlate::kMaxStars) {
    base::LogBlock(u"HUDShopPlate: upgrade %d has %d steps; its plate shows the first %d as stars.\n") % upgrade.id %
        steps % HUDShopPlate::kMaxStars;
    return HUDShopPlate::kMaxStars;
  }
  return steps;
}

}  // namespace

HUDShopPlate::HUDShopPlate(RuvMap& map, file::ImageContainer* layout, const RuvUpgrade& upgrade)
    : upgradeId(upgrade.id), mMap(map) {
  const int level = storedLevel();
  completed = upgrade.getStep(level < 0 ? 0 : level + 1) ? 0 : 1;
  const base::ImageInfo* plate = findPsdLayer(layout, kShopPlateTemplate);
  const math::Point2 origin = plate ? math::Point2(static_cast<float>(plate->mX), static_cast<float>(plate->mY))
                                    : math::Point2(0.0f, 0.0f);
  root = std::make_unique<layer::ImageLayer>();
  root->SetImage(loadLayerImage(layout, kShopPlateTemplate), true);

  icon = std::make_unique<layer::ImageLayer>();
  icon->SetImage(loadLayerImage(layout, u"icons/" + upgrade.icon), true);
  icon->mHorizontalAnchor = layer::ImageLayer::kAnchorCentre;
  icon->mVerticalAnchor = layer::ImageLayer::kAnchorCentre;
  icon->SetPosition(math::Point3(53.0f, 58.0f, 0.0f));

  nameLabel = shopPlateText(kFontMain42x3, shopPlateString(shopPlateKey(upgradeId, u"_name")), kShopPlateTextWrap, 0,
                        140.0f, 14.0f);
  nameLabel->SnapToPixels();

  clearStar = shopPlatePicture(layout, u"item_plate/stars/clear_star", origin);
  starCount = shopPlateStarCount(upgrade);
  for (int i = 0; i < starCount; ++i) {
    stars[i] = shopPlatePicture(layout, u"item_plate/stars/star_0" + shopPlateDecimal(i + 1), origin);
  }

  buyActive = shopPlatePicture(layout, u"item_plate/buy_ac", origin);
  buyInactive = shopPlatePicture(layout, u"item_plate/buy_in", origin);
  const math::Point3 buyCorner = buyActive->mPosition;
  for (layer::ImageLayer* picture : {buyActive.get(), buyInactive.get()}) {
    picture->SetPosition(math::Point3(-shopPlateImageWidth(*picture) / 2.0f, -shopPlateImageHeight(*picture) / 2.0f, 0.0f));
  }
  buyButton = std::make_unique<layer::Layer>();
  buyButton->SetPosition(math::Point3(buyCorner.x + shopPlateImageWidth(*buyActive) / 2.0f,
                                      buyCorner.y + shopPlateImageHeight(*buyActive) / 2.0f, 0.0f));
  buyButton->AddChild(buyInactive.get());
  buyButton->AddChild(buyActive.get());

  descriptionLabel = shopPlateText(kShopPlateSmallFont, std::u16string(), kShopPlateTextWrap, 0, 140.0f, 70.0f);
  descriptionLabel->SnapToPixels();
  gemIcon = shopPlatePicture(layout, u"item_plate/grem", origin);
  priceLabel = shopPlateText(kFontMain42x3, std::u16string(), kShopPlatePriceWrap, 2, 775.0f, 55.0f);
  priceLabel->mHorizontalAnchor = 2;
  priceLabel->mVerticalAnchor = 2;

  root->AddChild(icon.get());
  root->AddChild(nameLabel.get());
  root->AddChild(clearStar.get());
  for (int i = 0; i < starCount; ++i) root->AddChild(stars[i].get());
  root->AddChild(buyButton.get());
  root->AddChild(descriptionLabel.get());
  root->AddChild(gemIcon.get());
  root->AddChild(priceLabel.get());

  buyActive->mVisible = false;
  refresh();
}

HUDShopPlate::~HUDShopPlate() { detachLayer(root.get()); }

const RuvUpgrade* HUDShopPlate::definition() const {
  if (!mMap.mUpgrades) return nullptr;
  for (const std::unique_ptr<RuvUpgrade>& upgrade : mMap.mUpgrades->getList()) {
    if (upgrade->id == upgradeId) return upgrade.get();
  }
  return nullptr;
}

int HUDShopPlate::storedLevel() const { return mMap.mProgress ? mMap.mProgress->getStoredUpgradeLevel(upgradeId) : -1; }

void HUDShopPlate::refresh() {
  const int level = storedLevel();
  const RuvUpgrade* upgrade = definition();
  const bool singleStep = upgrade && upgrade->steps.size() == 1;
  for (int i = 0; i < starCount; ++i) stars[i]->mVisible = singleStep ? level > -1 : i <= level;

  const int next = level < 0 ? 0 : level + 1;
  const RuvUpgradeStep* step = upgrade ? upgrade->getStep(next) : nullptr;
  if (step) {
    completed = 0;
    buyInactive->mVisible = true;
    setShopPlateText(*priceLabel, shopPlateDecimal(step->cost_r));
    priceLabel->mVisible = true;
    gemIcon->mVisible = true;
    const int gems = mMap.mProgress ? mMap.mProgress->getGems() : 0;
    if (gems < step->cost_r) {
      buyActive->mVisible = false;
      priceLabel->mColor = kShopPlatePriceShort;
    } else {
      priceLabel->mColor = kShopPlatePriceWhite;
    }
    setShopPlateText(*descriptionLabel, shopPlateString(shopPlateKey(upgradeId, u"_step" + shopPlateDecimal(next))));
  } else {
    completed = 1;
    buyActive->mVisible = false;
    buyInactive->mVisible = false;
    priceLabel->mVisible = false;
    gemIcon->mVisible = false;
    setShopPlateText(*descriptionLabel, shopPlateString(shopPlateKey(upgradeId, u"_complete")));
  }
  descriptionLabel->SnapToPixels();
}

bool HUDShopPlate::hitBuyButton(int x, int y) const {
  if (y < kHitTop || y > kHitBottom) return false;
  const layer::Layer* content = root->GetParent();
  const float oy = root->mPosition.y + (content ? content->mPosition.y : 0.0f);
  const int bx = static_cast<int>(buyButton->mPosition.x + buyActive->mPosition.x);
  const int by = static_cast<int>(buyButton->mPosition.y + buyActive->mPosition.y);
  const int w = static_cast<int>(shopPlateImageWidth(*buyActive));
  const int h = static_cast<int>(shopPlateImageHeight(*buyActive));
  const int left = bx - kHitInset + w / 2;
  const float right = static_cast<float>(bx - kHitInset) + 1.5f * static_cast<float>(w);
  const float top = static_cast<float>(by) + oy;
  const float bottom = static_cast<float>(by + h) + oy;
  const float px = static_cast<float>(x);
  const float py = static_cast<float>(y);
  return left < x && px < right && top < py && py < bottom;
}

void HUDShopPlate::onMouseMove(int x, int y) {
  if (completed) return;
  hovered = hitBuyButton(x, y) ? 1 : 0;
  buyActive->mVisible = hovered != 0;
}

void HUDShopPlate::onMouseUp(int x, int y) {
  if (!hitBuyButton(x, y)) return;
  k2::SoundTags::Instance()->Play(u"simple");
  buy();
}

void HUDShopPlate::update(float dt) {
  buyScale = hoverSwell(buyScale, hovered != 0, dt);
  talven::setScale(*buyButton, buyScale);
}

void HUDShopPlate::buy() {
  if (completed) return;
  const RuvUpgrade* upgrade = definition();
  const int level = storedLevel();
  const RuvUpgradeStep* step = upgrade ? upgrade->getStep(level < 0 ? 0 : level + 1) : nullptr;
  HUD& hud = *mMap.mHud;
  if (step && mMap.mWallet && mMap.mProgress) {
    if (mMap.mWallet->gems >= step->cost_r) {
      mMap.mProgress->setUpgradeLevel(upgradeId, level < 0 ? 0 : level + 1);
      mMap.mWallet->spendGems(step->cost_r);
      refresh();
      mMap.mProgress->save();
    } else if (RuvFeatures::instance().getFlag(RuvFeatures::kLowPremiumPointsDialog, RuvFeatures::kIsActive)) {
      hud.pushModalDialog(shopPlateString(u"gemShopDialogTitle"), shopPlateString(u"gemShopDialogText"),
                          kStateNone);
      mMap.mState = kStateUpgradeShopGemOffer;
      mMap.mReturnScreen = openedFromLevel == 1 ? u"shop1" : u"shop0";
    }
  }
  hud.refreshTop();
}
