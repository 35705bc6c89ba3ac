#include "Game/Tables/RuvAttributes.h"

#include <tinyxml2.h>

#include <cstdio>

#include "Core/Base/FormatSpec.h"

RuvAttributes::RuvAttributes(const tinyxml2::XMLElement* element) {
  if (!element) return;
  for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
    const char* name = child->Attribute("name");
    const char* value = child->Attribute("value");
    float number = 0.0f;
    if (!value || std::sscanf(value, "%f", &number) != 1) number = 0.0f;
    const std::string key = name ? name : "";
    mFloats[key] = number;
    base::FormatSpecA text;
    text.PutFloat(number);
    mTexts[key] = text.GetOutput();
  }
}

float RuvAttributes::getFloat(const std::string& name) const {
  const auto found = mFloats.find(name);
  return found == mFloats.end() ? 0.0f : found->second;
}

std::string RuvAttributes::getString(const std::string& name) const {
  const auto found = mTexts.find(name);
  return found == mTexts.end() ? std::string() : found->second;
}
