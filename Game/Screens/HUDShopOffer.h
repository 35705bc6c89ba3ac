#pragma once
#include <memory>
#include <string>

namespace base {
class ImageInfo;
}
namespace file {
class ImageContainer;
}
namespace math {
struct Color;
}
namespace purchase {
struct Product;
}
namespace render {
class Graphics;
class Image;
}  // namespace render

// One pack of a shop screen: a large button picture, a price picture in the game's language, an
// optional badge and a line with the product's price or the purchase under way. The layer
// descriptions belong to the screen's layout container; the images are the offer's own.
class HUDShopOffer {
 public:
  static constexpr float kHoverScale = 0.9f;
  static constexpr float kScaleRate = 0.5f;  // per second
  static constexpr int kInset = 50;           // pixels of the picture that do not take clicks

  // The pack at index of the layout; productName (null for none) is looked up in the store's
  // catalogue, badge (null for none) is the badge layer.
  HUDShopOffer(file::ImageContainer* layout, int offerIndex, const std::u16string& language,
               const char16_t* productName, const char16_t* badge);
  ~HUDShopOffer();
  HUDShopOffer(const HUDShopOffer&) = delete;
  HUDShopOffer& operator=(const HUDShopOffer&) = delete;

  // Inside the button picture shrunk by kInset on each side; left and top inclusive.
  bool contains(int x, int y) const;
  // The product's name; empty without product.
  std::u16string productName() const;
  // The product's price text; empty without product.
  std::u16string priceText() const;
  // "gemShopBuy_progress" while the product's purchase is pending, else "gemShopBuyFor" with the
  // price text.
  std::u16string line() const;
  // Towards kHoverScale while hovered, back to 1 otherwise.
  void updateScale(float dt);
  // The pictures, then text in lineColour (null: the current colour), scaled about the button's
  // centre. Leaves no transform set.
  void draw(render::Graphics& graphics, const std::u16string& text, const math::Color* lineColour = nullptr);

  int index = 0;
  const base::ImageInfo* buttonLayer = nullptr;
  std::unique_ptr<render::Image> buttonImage;
  const base::ImageInfo* pricingLayer = nullptr;
  std::unique_ptr<render::Image> pricingImage;
  const base::ImageInfo* badgeLayer = nullptr;
  std::unique_ptr<render::Image> badgeImage;
  const base::ImageInfo* textLayer = nullptr;
  purchase::Product* product = nullptr;
  float scale = 1.0f;
  unsigned char hovered = 0;
};
