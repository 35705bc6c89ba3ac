#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

#include "Game/Tables/RuvAttributes.h"
#include "Game/Tables/RuvFeatures.h"
#include "fakes/MainLogRecorder.h"
#include "gamesupport/GameTestSupport.h"

namespace {

struct FlagCase {
  const char* name;
  std::string value;  // of is_active; empty: attribute missing
  bool expected;
};

class FeatureFlagTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FeatureFlagTest, ReadsBooleans) {
  const FlagCase& c = GetParam();
  std::string attribute = c.value.empty() ? "" : " is_active=\"" + c.value + "\"";
  RuvFeatures features;
  features.loadFromText("<config><features><feature name=\"spell_recharge\"" + attribute +
                        "/></features></config>");
  ASSERT_TRUE(features.isLoaded());
  EXPECT_EQ(features.getFlag("spell_recharge", "is_active"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FeatureFlagTest,
                         ::testing::Values(FlagCase{"One", "1", true}, FlagCase{"True", "true", true},
                                           FlagCase{"Seven", "7", true}, FlagCase{"Zero", "0", false},
                                           FlagCase{"False", "false", false}, FlagCase{"Yes", "yes", false},
                                           FlagCase{"Missing", "", false}),
                         [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST(FeaturesTest, FirstFeatureOfANameIsTheOnlyOneConsulted) {
  RuvFeatures features;
  features.loadFromText(
      "<config><features><feature name=\"offers_wall\" is_active=\"0\"/><feature name=\"offers_wall\" is_active=\"1\"/>"
      "<other name=\"low_life_dialog\" is_active=\"1\"/></features></config>");
  EXPECT_FALSE(features.getFlag("offers_wall", "is_active"));
  EXPECT_EQ(features.findFeature("offers_wall")->Attribute("is_active"), std::string("0"));
  // Only "feature" elements count, and names compare exactly.
  EXPECT_FALSE(features.getFlag("low_life_dialog", "is_active"));
  EXPECT_EQ(features.findFeature("Offers_wall"), nullptr);
}

TEST(FeaturesTest, UnusableFilesSwitchEverythingOffAndAreNamedInTheLog) {
  struct Case {
    std::string text;
    const char16_t* logged;  // after the file's name; null: nothing logged
  };
  const Case cases[] = {{"", u"is missing or empty"},
                        {"<config><features>", u"does not parse (line "},
                        {"<settings/>", u"has no <config>"},
                        {"<config/>", nullptr}};
  for (const Case& c : cases) {
    fakes::MainLogRecorder log;
    RuvFeatures features;
    features.loadFromText(c.text);
    EXPECT_FALSE(features.getFlag("offers_wall", "is_active")) << c.text;
    EXPECT_EQ(features.findFeature("offers_wall"), nullptr) << c.text;
    if (c.logged) {
      EXPECT_NE(log.Text().find(u"data file 'ruv/config.xml' " + std::u16string(c.logged)), std::u16string::npos)
          << c.text;
    } else {
      EXPECT_EQ(log.Text(), u"") << c.text;
    }
  }
  RuvFeatures noFeatures;
  noFeatures.loadFromText("<config/>");
  EXPECT_TRUE(noFeatures.isLoaded());
}

TEST(PremiumProductsTest, CostsByNameLaterWins) {
  RuvPremiumProducts products;
  products.loadFromText(
      "<config><premium_products><premium_product name=\"Refill\" cost=\"5\"/>"
      "<premium_product name=\"Refill\" cost=\"9\"/><premium_product name=\"NoCost\"/>"
      "<premium_product cost=\"3\"/><x name=\"Other\" cost=\"1\"/></premium_products></config>");
  EXPECT_EQ(products.getCost("Refill"), 9);
  EXPECT_TRUE(products.contains("NoCost"));
  EXPECT_EQ(products.getCost("NoCost"), 0);
  EXPECT_FALSE(products.contains("Other"));
  EXPECT_EQ(products.getCost("Unlisted"), 0);
  EXPECT_EQ(products.findCost("Unlisted"), nullptr);
  ASSERT_NE(products.findCost("Refill"), nullptr);
}

// The committed configuration: the six features and the boost prices under their exact names, one of
// which begins with the Cyrillic letter kha (U+0445), not the Latin x.
TEST(SampleConfigTest, FeaturesAndByteExactPremiumNames) {
  const std::string text = gametest::GameFolderTest::SampleDataText("ruv/config.xml");
  RuvFeatures features;
  features.loadFromText(text);
  ASSERT_TRUE(features.isLoaded());
  for (const char* name : {RuvFeatures::kBoostShopPremiumMode, RuvFeatures::kOffersWall,
                           RuvFeatures::kLowPremiumPointsDialog, RuvFeatures::kResetPremiumPoints,
                           RuvFeatures::kSpellRecharge, RuvFeatures::kLowLifeDialog}) {
    EXPECT_NE(features.findFeature(name), nullptr) << name;
  }
  // Everything that leads to a store purchase is off in the sample.
  EXPECT_FALSE(features.getFlag(RuvFeatures::kOffersWall, RuvFeatures::kIsActive));
  EXPECT_FALSE(features.getFlag(RuvFeatures::kBoostShopPremiumMode, RuvFeatures::kIsActive));
  RuvPremiumProducts products;
  products.loadFromText(text);
  EXPECT_TRUE(products.contains("+5Lives"));
  EXPECT_TRUE(products.contains("\xD1\x85" "2Refill"));
  EXPECT_FALSE(products.contains("x2Refill"));
  EXPECT_TRUE(products.contains("Refill"));
  EXPECT_GT(products.getCost("\xD1\x85" "2Refill"), 0);
}

TEST(AttributesTest, NamedNumbersFromChildren) {
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse("<attributes><a name=\"radius\" value=\"12.5\"/><b name=\"bad\" value=\"abc\"/>"
                           "<c name=\"twice\" value=\"1\"/><d name=\"twice\" value=\"2\"/>"
                           "<e name=\"whole\" value=\"10\"/><f name=\"none\"/></attributes>"),
            tinyxml2::XML_SUCCESS);
  const RuvAttributes bag(document.FirstChildElement());
  EXPECT_FLOAT_EQ(bag.getFloat("radius"), 12.5f);
  EXPECT_EQ(bag.getString("radius"), "12.5");
  EXPECT_EQ(bag.getFloat("bad"), 0.0f);
  EXPECT_EQ(bag.getFloat("twice"), 2.0f);
  EXPECT_EQ(bag.getString("whole"), "10");
  EXPECT_EQ(bag.getFloat("none"), 0.0f);
  EXPECT_EQ(bag.getFloat("unknown"), 0.0f);
  EXPECT_EQ(bag.getString("unknown"), "");
  EXPECT_EQ(RuvAttributes(nullptr).getFloat("radius"), 0.0f);
}

}  // namespace
