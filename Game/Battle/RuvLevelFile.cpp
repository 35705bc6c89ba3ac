#include "Game/Battle/RuvLevelFile.h"

#include <tinyxml2.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Game/Tables/ReadFileToString.h"
#include "Game/Battle/RuvLevelPaths.h"

namespace {

constexpr char kLevelLayoutFolder[] = "/ruv/data/";

// Attribute values read as the C library reads a leading number: other text gives 0.
int levelIntAttribute(const tinyxml2::XMLElement* element, const char* name, int fallback) {
  const char* text = element->Attribute(name);
  if (!text) return fallback;
  const long value = std::strtol(text, nullptr, 10);
  return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

float levelFloatAttribute(const tinyxml2::XMLElement* element, const char* name, float fallback) {
  const char* text = element->Attribute(name);
  return text ? std::strtof(text, nullptr) : fallback;
}

int levelIntText(const tinyxml2::XMLElement* element) {
  const char* text = element->GetText();
  if (!text) return 0;
  const long value = std::strtol(text, nullptr, 10);
  return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

void readLevelPoints(const tinyxml2::XMLElement* points, float mapScale, RuvLevelFile& level) {
  for (const tinyxml2::XMLElement* element = points->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    RuvPoint point;
    point.id = levelIntAttribute(element, "id", 0);
    const float x = levelFloatAttribute(element, "x", 0.0f);
    const float y = levelFloatAttribute(element, "y", 0.0f);
    point.x = x * mapScale;
    point.y = y * mapScale;
    point.attributes = RuvAttributes(element);
    VN_LOG_BLOCK(u"new ruv point (%g, %g)#%d!\n") % x % y % point.id;
    level.points.push_back(std::move(point));
  }
}

void readLevelLinks(const tinyxml2::XMLElement* links, float mapScale, RuvLevelFile& level) {
  for (const tinyxml2::XMLElement* element = links->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    RuvLink link;
    link.startId = levelIntAttribute(element, "sid", 0);
    link.endId = levelIntAttribute(element, "eid", 0);
    link.controlX = levelFloatAttribute(element, "anchor_x", 0.0f) * mapScale;
    link.controlY = levelFloatAttribute(element, "anchor_y", 0.0f) * mapScale;
    VN_LOG_BLOCK(u"link loaded!\n");
    level.links.push_back(link);
  }
}

void readLevelSpots(const tinyxml2::XMLElement* spots, RuvLevelFile& level) {
  for (const tinyxml2::XMLElement* element = spots->FirstChildElement("spot"); element;
       element = element->NextSiblingElement("spot")) {
    RuvLevelSpot spot;
    spot.x = levelFloatAttribute(element, "x", 0.0f);
    spot.y = levelFloatAttribute(element, "y", 0.0f);
    spot.attributes = RuvAttributes(element);
    level.spots.push_back(std::move(spot));
  }
}

void readLevelWaves(const tinyxml2::XMLElement* waves, RuvLevelFile& level) {
  level.wavesTimeout = levelFloatAttribute(waves, "timeout", 0.0f);
  const int extraTimeout = static_cast<int>(std::floor(level.wavesTimeout));
  for (const tinyxml2::XMLElement* element = waves->FirstChildElement("wave"); element;
       element = element->NextSiblingElement()) {
    RuvLevelWave wave;
    wave.timeout = levelIntAttribute(element, "timeout", 0);
    wave.spawn = levelIntAttribute(element, "spawn", 0);
    wave.wipeAward = levelIntAttribute(element, "wipeAward", 0);
    wave.scale = levelFloatAttribute(element, "scale", 1.0f);
    if (wave.scale == 0.0f) wave.scale = 1.0f;
    wave.linked = levelIntAttribute(element, "linked", -1);
    VN_LOG_BLOCK(u"LOADED ENEMY WAVE=(timeout=%d, spawner=%d)\n") % wave.timeout % wave.spawn;
    for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
      RuvLevelEntry entry;
      entry.id = levelIntAttribute(child, "id", 0);
      entry.upgrade = levelIntAttribute(child, "upgrade", 0);
      entry.x = levelFloatAttribute(child, "x", 0.0f);
      entry.y = levelFloatAttribute(child, "y", 0.0f);
      wave.entries.push_back(entry);
    }
    wave.timeout += extraTimeout;
    if (!wave.entries.empty()) level.waves.push_back(std::move(wave));
  }
}

bool refuseLevel(std::u16string& error, const char16_t* reason) {
  error = reason;
  return false;
}

// Fills level from the document; the reason for a refusal in error.
bool readLevelDocument(const tinyxml2::XMLDocument& document, float mapScale, RuvLevelFile& level,
                       std::u16string& error) {
  const tinyxml2::XMLElement* root = document.FirstChildElement("map");
  if (!root) return refuseLevel(error, u"no root element 'map'");
  const tinyxml2::XMLElement* layout = root->FirstChildElement("li");
  const tinyxml2::XMLElement* budget = root->FirstChildElement("budget");
  const tinyxml2::XMLElement* points = root->FirstChildElement("points");
  const tinyxml2::XMLElement* links = root->FirstChildElement("links");
  if (!layout || !budget || !points || !links) {
    return refuseLevel(error, u"'li', 'budget', 'points' or 'links' missing");
  }
  const std::string layoutText = layout->GetText() ? layout->GetText() : "";
  const size_t folder = layoutText.rfind(kLevelLayoutFolder);
  if (folder == std::string::npos) return refuseLevel(error, u"'li' names no folder under /ruv/data/");

  level.layoutPath = "ruv/data/" + layoutText.substr(folder + sizeof kLevelLayoutFolder - 1);
  level.budget = levelIntText(budget);
  readLevelPoints(points, mapScale, level);
  readLevelLinks(links, mapScale, level);
  if (const tinyxml2::XMLElement* spots = root->FirstChildElement("spots")) readLevelSpots(spots, level);
  if (const tinyxml2::XMLElement* waves = root->FirstChildElement("waves")) readLevelWaves(waves, level);
  return true;
}

}  // namespace

std::vector<RuvLaneDemand> RuvLevelFile::laneDemands() const {
  std::vector<RuvLaneDemand> lanes;
  for (const RuvLevelWave& wave : waves) {
    for (const RuvLevelEntry& entry : wave.entries) lanes.push_back({wave.spawn, laneKey(entry.y)});
  }
  return lanes;
}

std::u16string levelFilePath(int mode, int episode, int level) { return levelPathStem(mode, episode, level) + u".xml"; }

VNResultEnum readLevelFile(const std::u16string& path, float mapScale, RuvLevelFile& level) {
  level = RuvLevelFile();
  const std::string text = readFileToString(path);
  tinyxml2::XMLDocument document;
  std::u16string error;
  if (text.empty()) {
    error = u"missing or empty";
  } else if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
    error = u"does not parse";
  } else if (readLevelDocument(document, mapScale, level, error)) {
    return VN_OK;
  }
  level = RuvLevelFile();
  base::LogBlock(u"RuvLevelFile: the level '%s' cannot be played: %s.\n") % path % error;
  return VN_FAIL;
}
