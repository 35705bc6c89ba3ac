#include "Game/Screens/HUDShopOffer.h"

#include "Core/Base/Format.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Math/Approach.h"
#include "Core/Math/Rect.h"
#include "Core/Math/Transform3D.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Art/RuvFrameEntry.h"

namespace {

std::u16string shopOfferLayerName(const char16_t* format, int number) {
  return (base::Format(format) % number).GetResult();
}

math::Rect shopOfferRect(const base::ImageInfo* info) {
  return math::Rect(float(info->mX), float(info->mY), float(info->mWidth), float(info->mHeight));
}

}  // namespace

HUDShopOffer::HUDShopOffer(file::ImageContainer* layout, int offerIndex, const std::u16string& language,
                           const char16_t* productName, const char16_t* badge)
    : index(offerIndex) {
  const int number = index + 1;
  const std::u16string button = shopOfferLayerName(u"button/b_%02d_in", number);
  buttonLayer = findPsdLayer(layout, button);
  buttonImage.reset(loadLayerImage(layout, button));
  const std::u16string pricing = shopOfferLayerName((u"pricing/" + language + u"/%d").c_str(), number);
  pricingLayer = findPsdLayer(layout, pricing);
  pricingImage.reset(loadLayerImage(layout, pricing));
  textLayer = findPsdLayer(layout, shopOfferLayerName(u"text/b_%02d_text", number));
  if (productName) product = purchase::PurchaseSystem::Instance()->FindProduct(productName);
  if (badge) {
    badgeLayer = findPsdLayer(layout, badge);
    badgeImage.reset(loadLayerImage(layout, badge));
  }
}

HUDShopOffer::~HUDShopOffer() = default;

bool HUDShopOffer::contains(int x, int y) const {
  if (!buttonLayer) return false;
  const int left = int(buttonLayer->mX) + kInset;
  const int top = int(buttonLayer->mY) + kInset;
  const int right = int(buttonLayer->mX + buttonLayer->mWidth) - kInset;
  const int bottom = int(buttonLayer->mY + buttonLayer->mHeight) - kInset;
  return left <= x && x < right && top <= y && y < bottom;
}

std::u16string HUDShopOffer::productName() const { return product ? product->name : std::u16string(); }

std::u16string HUDShopOffer::priceText() const { return product ? product->price : std::u16string(); }

std::u16string HUDShopOffer::line() const {
  LocalStrings* strings = LocalStrings::Instance();
  if (product && product->pending) return strings->get(u"gemShopBuy_progress");
  return (base::Format(strings->get(u"gemShopBuyFor")) % priceText()).GetResult();
}

void HUDShopOffer::updateScale(float dt) { math::Approach(scale, dt * kScaleRate, hovered ? kHoverScale : 1.0f); }

void HUDShopOffer::draw(render::Graphics& graphics, const std::u16string& text, const math::Color* lineColour) {
  if (!buttonLayer) return;
  const math::Rect button = shopOfferRect(buttonLayer);
  const float cx = button.x + button.width * 0.5f;
  const float cy = button.y + button.height * 0.5f;
  math::Transform3D transform;
  transform.Translate(math::Point3(-cx, -cy, 0.0f));
  transform.Scale(math::Point3(scale, scale, 1.0f));
  transform.Translate(math::Point3(cx, cy, 0.0f));
  graphics.mTransform = &transform;
  graphics.DrawImageToRect(buttonImage.get(), button);
  if (pricingLayer) graphics.DrawImageToRect(pricingImage.get(), shopOfferRect(pricingLayer));
  if (badgeLayer) graphics.DrawImageToRect(badgeImage.get(), shopOfferRect(badgeLayer));
  if (lineColour) graphics.SetColor(*lineColour);
  if (textLayer) {
    const math::Rect box = shopOfferRect(textLayer);
    auto request = graphics.DrawTextBox(&text, box.width, 0.0f, 3, true);
    request->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
    auto moved = request.ScaleUniform(1.0f);
    moved.GetTransform().Translate(box.x + box.width * 0.5f, box.y + box.height * 0.5f);
    moved->mFormat.mAlignment = 2;
  }
  graphics.mTransform = nullptr;
}
