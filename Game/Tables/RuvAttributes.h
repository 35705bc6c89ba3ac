#pragma once
#include <map>
#include <string>

namespace tinyxml2 {
class XMLElement;
}

// A bag of named numbers from the child elements of an XML element: each child gives "name" and
// "value" (a float; 0 when it does not parse). A later child of the same name wins.
class RuvAttributes {
 public:
  // Every child element counts, whatever its element name. A null element gives an empty bag.
  explicit RuvAttributes(const tinyxml2::XMLElement* element);

  // 0 for a name that is not in the bag.
  float getFloat(const std::string& name) const;
  // The float written back by the engine's float formatting; empty for a name not in the bag.
  std::string getString(const std::string& name) const;

 private:
  std::map<std::string, float> mFloats;
  std::map<std::string, std::string> mTexts;
};
