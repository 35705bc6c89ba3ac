// The feature switches of "ruv/config.xml" against the product catalogue "ruv/inapp.xml": a switch
// that leads to a store purchase is on only when its products are in the catalogue, and the sample
// game turns on none whose purchase cannot finish without a store. The tests' copy with every
// switch on passes the same rule.
#include <gtest/gtest.h>

#include <set>
#include <tinyxml2.h>

#include "Game/Tables/RuvFeatures.h"
#include "tests/Data/DataSources.h"

namespace datatest {
namespace {

struct PurchaseSwitch {
  const char* feature;
  bool freeAvoidsThePurchase;  // "is_free" set: the feature does its part without buying
  std::vector<const char*> products;
};

const PurchaseSwitch kPurchaseSwitches[] = {
    {RuvFeatures::kLowLifeDialog, false, {"buy_health"}},
    {RuvFeatures::kResetPremiumPoints, true, {"reset_premium_points"}},
    {RuvFeatures::kLowPremiumPointsDialog, false, {"buy_50_cr", "buy_150_cr", "buy_300_cr", "buy_500_cr", "buy_1000_cr"}},
};

std::set<std::string> Catalogue() {
  tinyxml2::XMLDocument document;
  const std::string text = ReadDataFile("ruv/inapp.xml");
  std::set<std::string> names;
  if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS || !document.RootElement()) return names;
  for (auto* product = document.RootElement()->FirstChildElement("Product"); product;
       product = product->NextSiblingElement("Product")) {
    if (const char* name = product->Attribute("name")) names.insert(name);
  }
  return names;
}

bool LeadsToAPurchase(RuvFeatures& features, const PurchaseSwitch& entry) {
  return features.getFlag(entry.feature, RuvFeatures::kIsActive) &&
         !(entry.freeAvoidsThePurchase && features.getFlag(entry.feature, RuvFeatures::kIsFree));
}

TEST(DataSwitchesTest, ASwitchThatLeadsToAPurchaseIsOnOnlyWithItsProducts) {
  const std::set<std::string> catalogue = Catalogue();
  ASSERT_FALSE(catalogue.empty());
  for (const std::string& config : {ReadDataFile("ruv/config.xml"), ReadSourceFile("tests/data/switches_on/ruv/config.xml")}) {
    RuvFeatures features;
    features.loadFromText(config);
    ASSERT_TRUE(features.isLoaded());
    for (const PurchaseSwitch& entry : kPurchaseSwitches) {
      if (!LeadsToAPurchase(features, entry)) continue;
      for (const char* product : entry.products) EXPECT_EQ(catalogue.count(product), 1u) << entry.feature << ": " << product;
    }
  }
}

// No store stands behind the catalogue: a failed health purchase brings the offer back for good, and
// a reset that is not free would wait for a purchase. The gem shop's packs fail and come back.
TEST(DataSwitchesTest, TheSampleGameStartsNoPurchaseThatCannotFinish) {
  RuvFeatures features;
  features.loadFromText(ReadDataFile("ruv/config.xml"));
  ASSERT_TRUE(features.isLoaded());
  EXPECT_FALSE(LeadsToAPurchase(features, kPurchaseSwitches[0]));
  EXPECT_FALSE(LeadsToAPurchase(features, kPurchaseSwitches[1]));
}

TEST(DataSwitchesTest, TheTestCopyHasEveryFeatureOfTheSampleOn) {
  tinyxml2::XMLDocument sample;
  const std::string text = ReadDataFile("ruv/config.xml");
  ASSERT_EQ(sample.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
  RuvFeatures everything;
  everything.loadFromText(ReadSourceFile("tests/data/switches_on/ruv/config.xml"));
  ASSERT_TRUE(everything.isLoaded());
  int count = 0;
  for (auto* feature = sample.RootElement()->FirstChildElement("features")->FirstChildElement("feature"); feature;
       feature = feature->NextSiblingElement("feature")) {
    EXPECT_TRUE(everything.getFlag(feature->Attribute("name"), RuvFeatures::kIsActive)) << feature->Attribute("name");
    ++count;
  }
  EXPECT_EQ(count, 6);
}

}  // namespace
}  // namespace datatest
