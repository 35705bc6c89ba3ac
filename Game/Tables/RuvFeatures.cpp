#include "Game/Tables/RuvFeatures.h"

#include <tinyxml2.h>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/TextFile.h"

RuvFeatures& RuvFeatures::instance() {
  static RuvFeatures sFeatures;
  static const bool sLoaded = sFeatures.loadFromText(base::ReadTextFile(kPath));
  (void)sLoaded;
  return sFeatures;
}

RuvFeatures::RuvFeatures() = default;
RuvFeatures::~RuvFeatures() = default;

bool RuvFeatures::loadFromText(const std::string& text) {
  mLoaded = false;
  mFeatures = nullptr;
  mDocument = std::make_unique<tinyxml2::XMLDocument>();
  if (!base::ParseDataXml(u"RuvFeatures", kPath, text, *mDocument)) return false;
  const tinyxml2::XMLElement* config = mDocument->FirstChildElement("config");
  if (!config) {
    base::LogDataFileProblem(u"RuvFeatures", kPath, u"has no <config>: every feature is off");
    return false;
  }
  mFeatures = config->FirstChildElement("features");
  mLoaded = true;
  return true;
}

const tinyxml2::XMLElement* RuvFeatures::findFeature(const std::string& name) const {
  if (!mLoaded || !mFeatures) return nullptr;
  for (const tinyxml2::XMLElement* feature = mFeatures->FirstChildElement("feature"); feature;
       feature = feature->NextSiblingElement("feature")) {
    const char* featureName = feature->Attribute("name");
    if (featureName && name == featureName) return feature;
  }
  return nullptr;
}

bool RuvFeatures::getFlag(const std::string& feature, const std::string& attribute) const {
  const tinyxml2::XMLElement* element = findFeature(feature);
  bool value = false;
  if (!element || element->QueryBoolAttribute(attribute.c_str(), &value) != tinyxml2::XML_SUCCESS) return false;
  return value;
}

RuvPremiumProducts& RuvPremiumProducts::instance() {
  static RuvPremiumProducts sProducts;
  static const bool sLoaded = (sProducts.loadFromText(base::ReadTextFile(RuvFeatures::kPath)), true);
  (void)sLoaded;
  return sProducts;
}

void RuvPremiumProducts::loadFromText(const std::string& text) {
  tinyxml2::XMLDocument document;
  // The features' reader names a damaged file already.
  if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) return;
  const tinyxml2::XMLElement* config = document.FirstChildElement("config");
  const tinyxml2::XMLElement* products = config ? config->FirstChildElement("premium_products") : nullptr;
  if (!products) return;
  for (const tinyxml2::XMLElement* product = products->FirstChildElement("premium_product"); product;
       product = product->NextSiblingElement("premium_product")) {
    const char* name = product->Attribute("name");
    if (!name) continue;
    int cost = 0;
    if (product->QueryIntAttribute("cost", &cost) != tinyxml2::XML_SUCCESS) cost = 0;
    mCosts[name] = cost;
  }
}

bool RuvPremiumProducts::contains(const std::string& name) const { return mCosts.count(name) != 0; }

int RuvPremiumProducts::getCost(const std::string& name) const {
  const int* cost = findCost(name);
  return cost ? *cost : 0;
}

const int* RuvPremiumProducts::findCost(const std::string& name) const {
  const auto found = mCosts.find(name);
  return found == mCosts.end() ? nullptr : &found->second;
}
