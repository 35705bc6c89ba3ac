#pragma once
#include <map>
#include <memory>
#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

// On/off switches of optional game features: the "feature" elements of "ruv/config.xml".
class RuvFeatures {
 public:
  static constexpr char16_t kPath[] = u"ruv/config.xml";
  // The features the game asks about, and their attributes.
  static constexpr char kBoostShopPremiumMode[] = "boost_shop_premium_mode";
  static constexpr char kOffersWall[] = "offers_wall";  // shows the shops' "offers_wall" button (an outside service)
  static constexpr char kLowPremiumPointsDialog[] = "low_premium_points_dialog";
  static constexpr char kResetPremiumPoints[] = "reset_premium_points";
  static constexpr char kSpellRecharge[] = "spell_recharge";
  static constexpr char kLowLifeDialog[] = "low_life_dialog";
  static constexpr char kIsActive[] = "is_active";
  static constexpr char kIsFree[] = "is_free";

  // The table of kPath, loaded on the first call and kept until exit.
  static RuvFeatures& instance();

  // An unloaded table: every flag is false.
  RuvFeatures();
  ~RuvFeatures();
  RuvFeatures(const RuvFeatures&) = delete;
  RuvFeatures& operator=(const RuvFeatures&) = delete;

  // Parses the text and keeps the document; loaded (true) when it parses and has a "config" element.
  // What is wrong is logged with the file's path.
  bool loadFromText(const std::string& text);
  bool isLoaded() const { return mLoaded; }

  // The boolean attribute of the first feature of that name; false when the table is not loaded,
  // the feature or the attribute is missing, or the attribute is no boolean.
  bool getFlag(const std::string& feature, const std::string& attribute) const;
  // The first "feature" element named exactly name, or null.
  const tinyxml2::XMLElement* findFeature(const std::string& name) const;

 private:
  bool mLoaded = false;
  std::unique_ptr<tinyxml2::XMLDocument> mDocument;
  const tinyxml2::XMLElement* mFeatures = nullptr;
};

// The gem prices of the boost offers: the "premium_product" elements of "ruv/config.xml".
class RuvPremiumProducts {
 public:
  // The table of RuvFeatures::kPath, loaded on the first call and kept until exit.
  static RuvPremiumProducts& instance();

  // Adds the products of one file's text; a later product of the same name wins.
  void loadFromText(const std::string& text);

  bool contains(const std::string& name) const;
  // 0 for a name that is not listed.
  int getCost(const std::string& name) const;
  // Null for a name that is not listed.
  const int* findCost(const std::string& name) const;

 private:
  std::map<std::string, int> mCosts;
};
