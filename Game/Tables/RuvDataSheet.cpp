#include "Game/Tables/RuvDataSheet.h"

#include <tinyxml2.h>

#include <vector>

#include "Core/Base/LogMessage.h"
#include "Core/Base/TextFile.h"
#include "Game/Tables/RuvProtos.h"

namespace {

bool SheetIsBlank(char c) { return c == ' ' || c == '\t'; }

std::string SheetTrim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && SheetIsBlank(text[first])) ++first;
  while (last > first && SheetIsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Splits at every separator; empty fields are kept.
std::vector<std::string> SheetSplit(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t end = line.find(separator); end != std::string::npos; end = line.find(separator, start)) {
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// The text's lines without line ends and surrounding blanks; empty lines are dropped.
std::vector<std::string> SheetLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::string line : SheetSplit(text, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = SheetTrim(line);
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

// Decimal digits after an optional sign, up to the first other character; 0 without digits.
int SheetParseInt(const std::string& text) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value <= 0x7FFFFFFF) value = value * 10 + (text[i] - '0');
  }
  if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  return static_cast<int>(negative ? -value : value);
}

// The row of target's direct children whose "id" (0 when missing) is id, or target itself.
tinyxml2::XMLElement* SheetParentFor(tinyxml2::XMLElement* target, int id) {
  for (tinyxml2::XMLElement* row = target->FirstChildElement(); row; row = row->NextSiblingElement()) {
    if (row->IntAttribute("id", 0) == id) return row;
  }
  return target;
}

const RuvEpisodeSetup* SheetFindEpisode(const RuvEpisodeTable& episodes, int episode) {
  const auto found = episodes.find(episode);
  return found == episodes.end() ? nullptr : &found->second;
}

}  // namespace

namespace RuvDataSheet {

std::size_t convert(const std::string& text, tinyxml2::XMLElement* target) {
  const std::vector<std::string> lines = SheetLines(text);
  if (lines.empty()) return 0;
  std::vector<std::string> columns = SheetSplit(lines.front(), ';');
  for (std::string& column : columns) column = SheetTrim(column);
  tinyxml2::XMLDocument* document = target->GetDocument();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string line = lines[i];
    for (char& c : line) {
      if (c == ',') c = '.';
    }
    const std::vector<std::string> fields = SheetSplit(line, ';');
    tinyxml2::XMLElement* row = document->NewElement("unit");
    // Fields past the header, or under an empty column name, have no attribute to go to.
    for (std::size_t f = 0; f < fields.size() && f < columns.size(); ++f) {
      if (!columns[f].empty()) row->SetAttribute(columns[f].c_str(), SheetTrim(fields[f]).c_str());
    }
    int parent = -1;
    if (row->QueryIntAttribute("parent", &parent) != tinyxml2::XML_SUCCESS) parent = -1;
    tinyxml2::XMLElement* owner = parent == -1 ? target : SheetParentFor(target, parent);
    owner->InsertEndChild(row);
  }
  return lines.size() - 1;
}

void convertFile(const std::u16string& path, tinyxml2::XMLElement* target) {
  if (convert(base::ReadTextFile(path), target) == 0) {
    base::LogBlock(u"RuvDataSheet: '%s' holds no rows (missing, empty or damaged).\n") % path;
  }
}

int readSetup(const std::string& text, RuvEpisodeTable& episodes) {
  int ignored = 0;
  for (const std::string& line : SheetSplit(text, '\n')) {
    std::string packed;
    for (char c : line) {
      if (c != ' ' && c != '\t' && c != '\r') packed += c;
    }
    const std::vector<std::string> fields = SheetSplit(packed, ';');
    if (fields.size() != 5) {
      ignored += packed.empty() ? 0 : 1;
      continue;
    }
    const int episode = SheetParseInt(fields[0]);
    if (episode == -1) continue;
    RuvEpisodeSetup setup{SheetParseInt(fields[1]), SheetParseInt(fields[2]), SheetParseInt(fields[3])};
    // Indices and counts come from a file: the menus count from 0 up and loop over the levels.
    if (episode < 0 || setup.levels < 0 || setup.hardcoreLevels < 0 || setup.starsNeeded < 0) {
      ++ignored;
      continue;
    }
    episodes[episode] = setup;
  }
  return ignored;
}

int levelCount(const RuvEpisodeTable& episodes, int episode) {
  const RuvEpisodeSetup* setup = SheetFindEpisode(episodes, episode);
  return setup ? setup->levels : -1;
}

int hardcoreLevelCount(const RuvEpisodeTable& episodes, int episode) {
  const RuvEpisodeSetup* setup = SheetFindEpisode(episodes, episode);
  return setup ? setup->hardcoreLevels : -1;
}

int starsNeeded(const RuvEpisodeTable& episodes, int episode) {
  const RuvEpisodeSetup* setup = SheetFindEpisode(episodes, episode);
  return setup ? setup->starsNeeded : -1;
}

int totalLevelCount(const RuvEpisodeTable& episodes) {
  int total = 0;
  for (int episode = 0;; ++episode) {
    const RuvEpisodeSetup* setup = SheetFindEpisode(episodes, episode);
    if (!setup) return total;
    if (setup->levels > 0) total += setup->levels + setup->hardcoreLevels;
  }
}

void loadSheets(RuvProtoLibrary& protos, RuvEpisodeTable& episodes, float& sellRatio, int& defaultGems) {
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* data = document.NewElement("data");
  tinyxml2::XMLElement* towers = document.NewElement("towers");
  tinyxml2::XMLElement* units = document.NewElement("units");
  tinyxml2::XMLElement* ammo = document.NewElement("ammo");
  convertFile(kTowersSheet, towers);
  convertFile(kUnitsSheet, units);
  convertFile(kAmmoSheet, ammo);
  data->InsertEndChild(towers);
  data->InsertEndChild(units);
  data->InsertEndChild(ammo);
  document.InsertEndChild(data);
  protos.load(data);
  RuvEpisodeTable read;
  const int ignored = readSetup(base::ReadTextFile(kSetupSheet), read);
  if (ignored > 0) {
    base::LogBlock(u"RuvDataSheet: '%s': %d lines without five fields or with a negative value ignored.\n") %
        std::u16string(kSetupSheet) % ignored;
  }
  if (read.empty()) base::LogBlock(u"RuvDataSheet: '%s' holds no episode.\n") % std::u16string(kSetupSheet);
  for (const auto& [episode, setup] : read) episodes[episode] = setup;
  sellRatio = RuvSheetDefaults::kSellRatio;
  defaultGems = RuvSheetDefaults::kDefaultGems;
}

}  // namespace RuvDataSheet
