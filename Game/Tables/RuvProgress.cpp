#include "Game/Tables/RuvProgress.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "Core/Base/FormatSpec.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/Profiles.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvMapState.h"
#include "Game/Tables/RuvWallet.h"

namespace {

constexpr int kProgressHardcoreMode = 3;
constexpr int kProgressLayoutVersion = 4;

// Every count of the profile stays far enough inside int that adding two of them cannot overflow.
constexpr long long kProgressIntLimit = 1000000000;

// A number of the profile; one out of range (an edited or damaged file) is clamped and logged.
int ProgressInt(const tinyxml2::XMLElement* element, const char* name) {
  const char* text = element ? element->Attribute(name) : nullptr;
  int value = 0;
  if (!text || element->QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS) return 0;
  errno = 0;
  const long long wide = std::strtoll(text, nullptr, 10);
  if (errno != ERANGE && wide >= -kProgressIntLimit && wide <= kProgressIntLimit) return value;
  const int clamped = static_cast<int>(wide < 0 ? -kProgressIntLimit : kProgressIntLimit);
  base::LogBlock(u"profiles.xml: \"%s\" of <%s> is out of range (%s); %d is used.\n") %
      base::ToWide(name, base::kEncodingUtf8) % base::ToWide(element->Name(), base::kEncodingUtf8) %
      base::ToWide(text, base::kEncodingUtf8) % clamped;
  return clamped;
}

// The profile's "boost" child of that name, or null.
tinyxml2::XMLElement* ProgressBoost(tinyxml2::XMLElement* profile, const std::string& name) {
  for (tinyxml2::XMLElement* boost = profile ? profile->FirstChildElement("boost") : nullptr; boost;
       boost = boost->NextSiblingElement("boost")) {
    const char* boostName = boost->Attribute("name");
    if (boostName && name == boostName) return boost;
  }
  return nullptr;
}

bool ProgressBool(const tinyxml2::XMLElement* element, const char* name) {
  bool value = false;
  if (!element || element->QueryBoolAttribute(name, &value) != tinyxml2::XML_SUCCESS) return false;
  return value;
}

void SetProgressFloat(tinyxml2::XMLElement* element, const char* name, float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  element->SetAttribute(name, text);
}

void SetProgressBool(tinyxml2::XMLElement* element, const char* name, bool value) {
  element->SetAttribute(name, value ? "1" : "0");
}

std::string EpisodeCounterName(int episode, int mode) {
  char text[32];
  std::snprintf(text, sizeof text, "episode%d%c", episode, mode == kProgressHardcoreMode ? 'h' : 'n');
  return text;
}

std::string EventFlagName(int n) {
  base::FormatSpecA number;
  number.PutInt(n);
  return "event" + number.GetOutput();
}

tinyxml2::XMLElement* InsertFirstElement(tinyxml2::XMLElement* parent, const char* name) {
  tinyxml2::XMLElement* element = parent->GetDocument()->NewElement(name);
  parent->InsertFirstChild(element);
  return element;
}

}  // namespace

RuvProgress::RuvProgress(RuvMapState* map) : mMap(map) {
  bindCurrentProfile();
  refreshProfileNames();
  ensureLayout();
}

RuvProgress::~RuvProgress() = default;

void RuvProgress::bindCurrentProfile() {
  file::Profiles* profiles = file::Profiles::Instance();
  // Bound before the game loaded the file: load it rather than hold no element.
  if (!profiles->GetCurrentProfile()) profiles->Load();
  mProfile = profiles->GetCurrentProfile();
}

void RuvProgress::save() { file::Profiles::Instance()->Save(); }

tinyxml2::XMLElement* RuvProgress::child(const char* name) const { return mProfile->FirstChildElement(name); }

tinyxml2::XMLElement* RuvProgress::childOrNew(const char* name) {
  tinyxml2::XMLElement* element = child(name);
  return element ? element : InsertFirstElement(mProfile, name);
}

void RuvProgress::ensureLayout() {
  childOrNew("levels");
  childOrNew("towers");
  mProfile->SetAttribute("version", kProgressLayoutVersion);
}

void RuvProgress::refreshProfileNames() {
  file::Profiles* profiles = file::Profiles::Instance();
  const std::vector<std::u16string> names = profiles->GetProfileNames();
  mOtherProfileNames.clear();
  if (names.size() == 1) {
    mCurrentProfileName.clear();
  } else if (names.size() >= 2) {
    mOtherProfileNames.assign(names.begin() + 1, names.end());
    mCurrentProfileName = profiles->GetCurrentProfileName();
  }
}

void RuvProgress::selectProfile(const std::u16string& name) {
  mCurrentProfileName = name;
  file::Profiles* profiles = file::Profiles::Instance();
  profiles->SetCurrentProfile(name);
  mProfile = profiles->GetCurrentProfile();
  profiles->Save();
  if (mMap) {
    if (RuvWallet* wallet = mMap->getWallet()) wallet->gems = getGems();
    mMap->setMode(getMode());
  }
  mUpgradeLevels.clear();
  if (mMap) {
    mMap->reloadTutorialProgress();
    if (getFullscreen() != mMap->isAppFullscreen()) mMap->switchScreenMode();
  }
  refreshProfileNames();
}

void RuvProgress::createProfile(const std::u16string& name) {
  selectProfile(name);
  ensureLayout();
}

void RuvProgress::renameProfile(const std::u16string& name) {
  file::Profiles* profiles = file::Profiles::Instance();
  profiles->RenameCurrentProfile(name);
  profiles->SetCurrentProfile(name);
  mProfile = profiles->GetCurrentProfile();
  profiles->Save();
  refreshProfileNames();
}

void RuvProgress::deleteProfile() {
  file::Profiles* profiles = file::Profiles::Instance();
  profiles->DeleteProfile(mCurrentProfileName);
  mProfile = profiles->GetCurrentProfile();
  const std::vector<std::u16string> names = profiles->GetProfileNames();
  if (names.size() >= 2) {
    selectProfile(names[1]);
  } else {
    selectProfile(profiles->GetCurrentProfileName());
    mCurrentProfileName.clear();
  }
  refreshProfileNames();
}

// Levels.

tinyxml2::XMLElement* RuvProgress::findLevel(int episode, int level, int mode) {
  tinyxml2::XMLElement* levels = childOrNew("levels");
  for (tinyxml2::XMLElement* element = levels->FirstChildElement(); element; element = element->NextSiblingElement()) {
    if (ProgressInt(element, "n") == level && ProgressInt(element, "episode") == episode &&
        ProgressInt(element, "mode") == mode) {
      return element;
    }
  }
  tinyxml2::XMLElement* element = InsertFirstElement(levels, "level");
  element->SetAttribute("n", level);
  element->SetAttribute("episode", episode);
  element->SetAttribute("mode", mode);
  return element;
}

RuvLevelRecord* RuvProgress::getLevelRecord(int episode, int level, int mode) {
  const tinyxml2::XMLElement* element = findLevel(episode, level, mode);
  auto* record = new RuvLevelRecord;
  record->kills = ProgressInt(element, "kills");
  record->combo = ProgressInt(element, "combo");
  record->healthBonus = ProgressInt(element, "healthBonus");
  record->stars = ProgressInt(element, "stars");
  record->gems = ProgressInt(element, "gems");
  record->high = ProgressInt(element, "high");
  record->mode = ProgressInt(element, "mode");
  return record;
}

void RuvProgress::saveLevelResult(int episode, int level, int mode, const RuvLevelRecord& record) {
  tinyxml2::XMLElement* element = findLevel(episode, level, mode);
  element->SetAttribute("combo", record.combo);
  element->SetAttribute("kills", record.kills);
  element->SetAttribute("healthBonus", record.healthBonus);
  element->SetAttribute("gems", record.gems);
  if (record.score() > ProgressInt(element, "high")) element->SetAttribute("high", record.score());
  if (record.stars > ProgressInt(element, "stars")) element->SetAttribute("stars", record.stars);
  mProfile->SetAttribute("lastEpisode", episode);
  addGems(record.gems);
  save();
}

int RuvProgress::levelCount(int episode, int mode) const {
  return mMap ? mMap->levelCount(episode, mode == kProgressHardcoreMode) : 0;
}

int RuvProgress::nextPlayableLevel(int episode, int mode) {
  const int count = levelCount(episode, mode);
  // An episode without levels has no last index to answer.
  if (count <= 0) return 0;
  for (int i = 0; i < count; ++i) {
    if (ProgressInt(findLevel(episode, i, mode), "stars") == 0) return i;
  }
  return count - 1;
}

bool RuvProgress::isLevelOpen(int episode, int level, int mode) { return level <= nextPlayableLevel(episode, mode); }

int RuvProgress::getStarCount(int episode) {
  const tinyxml2::XMLElement* levels = child("levels");
  if (!levels) return 0;
  int stars = 0;
  for (const tinyxml2::XMLElement* element = levels->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    if (episode == -1 || ProgressInt(element, "episode") == episode) stars += ProgressInt(element, "stars");
  }
  return stars;
}

void RuvProgress::findLastPlayedLevel(int& episode, int& level) {
  episode = 0;
  level = 0;
  if (!mMap) return;
  for (int candidate = mMap->episodeCount() - 1; candidate >= 0; --candidate) {
    if (!mMap->isEpisodeAvailable(candidate)) continue;
    episode = candidate;
    const int mode = mMap->getMode();
    const int count = levelCount(candidate, mode);
    for (int i = 0; i < count; ++i) {
      if (ProgressInt(findLevel(candidate, i, mode), "stars") > 0) level = i;
    }
    return;
  }
}

int RuvProgress::getLastEpisode() { return ProgressInt(mProfile, "lastEpisode"); }

// Balance, mode and options.

int RuvProgress::getGems() {
  if (const tinyxml2::XMLElement* gems = child("gems")) return ProgressInt(gems, "amount");
  const int amount = mMap ? mMap->getDefaultGems() : 0;
  InsertFirstElement(mProfile, "gems")->SetAttribute("amount", amount);
  return amount;
}

void RuvProgress::setGems(int n) {
  childOrNew("gems")->SetAttribute("amount", n);
  save();
}

void RuvProgress::addGems(int n) {
  tinyxml2::XMLElement* gems = childOrNew("gems");
  gems->SetAttribute("amount", ProgressInt(gems, "amount") + n);
  save();
}

int RuvProgress::getMode() {
  if (const tinyxml2::XMLElement* mode = child("mode")) return ProgressInt(mode, "v");
  InsertFirstElement(mProfile, "mode")->SetAttribute("v", 0);
  return 0;
}

void RuvProgress::setMode(int mode) {
  getMode();
  child("mode")->SetAttribute("v", mode);
  save();
}

float RuvProgress::volume(const char* name) {
  if (const tinyxml2::XMLElement* element = child(name)) {
    float value = 0.0f;
    if (element->QueryFloatAttribute("v", &value) != tinyxml2::XML_SUCCESS) return 0.0f;
    return value;
  }
  SetProgressFloat(InsertFirstElement(mProfile, name), "v", 1.0f);
  return 1.0f;
}

void RuvProgress::writeVolume(const char* name, float value) {
  // The element may not exist yet: create it as the getter does, then write.
  volume(name);
  SetProgressFloat(child(name), "v", value);
  save();
}

float RuvProgress::getMusicVolume() { return volume("music"); }
void RuvProgress::setMusicVolume(float value) { writeVolume("music", value); }
float RuvProgress::getSoundVolume() { return volume("sound"); }
void RuvProgress::setSoundVolume(float value) { writeVolume("sound", value); }

bool RuvProgress::getFullscreen() {
  if (const tinyxml2::XMLElement* fs = child("fs")) return ProgressBool(fs, "v");
  const bool fullscreen = mMap && mMap->isAppFullscreen();
  SetProgressBool(InsertFirstElement(mProfile, "fs"), "v", fullscreen);
  return fullscreen;
}

void RuvProgress::setFullscreen(bool fullscreen) {
  getFullscreen();
  SetProgressBool(child("fs"), "v", fullscreen);
  save();
}

int RuvProgress::getInt(const char* name) { return ProgressInt(mProfile, name); }

int RuvProgress::getBoostCount(const std::string& name) { return ProgressInt(ProgressBoost(mProfile, name), "count"); }

void RuvProgress::addBoostPurchase(const std::string& name) {
  if (!mProfile) return;
  tinyxml2::XMLElement* found = ProgressBoost(mProfile, name);
  if (!found) {
    found = mProfile->GetDocument()->NewElement("boost");
    found->SetAttribute("name", name.c_str());
    mProfile->InsertEndChild(found);
  }
  found->SetAttribute("count", ProgressInt(found, "count") + 1);
  save();
}

// Counters and flags.

int RuvProgress::getEpisodeVisits(int episode, int mode) {
  return ProgressInt(child("episodeVisited"), EpisodeCounterName(episode, mode).c_str());
}

void RuvProgress::setEpisodeVisits(int episode, int mode, int count) {
  tinyxml2::XMLElement* visited = child("episodeVisited");
  if (!visited) {
    visited = mProfile->GetDocument()->NewElement("episodeVisited");
    mProfile->InsertEndChild(visited);
  }
  visited->SetAttribute(EpisodeCounterName(episode, mode).c_str(), count);
  save();
}

bool RuvProgress::getEventFlag(int n) { return ProgressBool(child("episodeVisited"), EventFlagName(n).c_str()); }

void RuvProgress::setEventFlag(int n) {
  SetProgressBool(childOrNew("episodeVisited"), EventFlagName(n).c_str(), true);
  save();
}

// Tutorial.

bool RuvProgress::isTutorialEnabled() {
  const tinyxml2::XMLElement* tutorial = child("tutorial");
  return !tutorial || ProgressBool(tutorial, "avail");
}

void RuvProgress::setTutorialEnabled(bool enabled) {
  SetProgressBool(childOrNew("tutorial"), "avail", enabled);
  save();
}

tinyxml2::XMLElement* RuvProgress::tutorialElement() {
  if (tinyxml2::XMLElement* tutorial = child("tutorial")) return tutorial;
  // Without "avail" the tutorial would read as switched off.
  tinyxml2::XMLElement* tutorial = InsertFirstElement(mProfile, "tutorial");
  SetProgressBool(tutorial, "avail", true);
  return tutorial;
}

int RuvProgress::getTutorialStepState(int id) {
  tinyxml2::XMLElement* tutorial = tutorialElement();
  for (const tinyxml2::XMLElement* step = tutorial->FirstChildElement("step"); step;
       step = step->NextSiblingElement("step")) {
    if (ProgressInt(step, "id") == id) return ProgressInt(step, "state");
  }
  tinyxml2::XMLElement* step = mProfile->GetDocument()->NewElement("step");
  step->SetAttribute("id", id);
  step->SetAttribute("state", 0);
  tutorial->InsertEndChild(step);
  save();
  return 0;
}

void RuvProgress::setTutorialStepState(int id, int state) {
  getTutorialStepState(id);
  for (tinyxml2::XMLElement* step = child("tutorial")->FirstChildElement("step"); step;
       step = step->NextSiblingElement("step")) {
    if (ProgressInt(step, "id") == id) {
      step->SetAttribute("state", state);
      break;
    }
  }
  save();
}

int RuvProgress::getTutorialParam(const std::u16string& name) {
  tinyxml2::XMLElement* tutorial = tutorialElement();
  const std::string narrow = base::ToNarrow(name, base::kEncodingUtf8);
  for (const tinyxml2::XMLElement* param = tutorial->FirstChildElement("param"); param;
       param = param->NextSiblingElement("param")) {
    const char* paramName = param->Attribute("name");
    if (paramName && narrow == paramName) return ProgressInt(param, "v");
  }
  tinyxml2::XMLElement* param = InsertFirstElement(tutorial, "param");
  param->SetAttribute("name", narrow.c_str());
  param->SetAttribute("v", 0);
  save();
  return 0;
}

void RuvProgress::setTutorialParam(const std::u16string& name, int value) {
  getTutorialParam(name);
  const std::string narrow = base::ToNarrow(name, base::kEncodingUtf8);
  for (tinyxml2::XMLElement* param = child("tutorial")->FirstChildElement("param"); param;
       param = param->NextSiblingElement("param")) {
    const char* paramName = param->Attribute("name");
    if (paramName && narrow == paramName) {
      param->SetAttribute("v", value);
      break;
    }
  }
  save();
}

// Upgrades.

tinyxml2::XMLElement* RuvProgress::createUpgradeList() {
  tinyxml2::XMLElement* upgrades = mProfile->GetDocument()->NewElement("upgrades");
  if (RuvUpgrades* definitions = mMap ? mMap->getUpgrades() : nullptr) {
    for (const auto& upgrade : definitions->getList()) {
      tinyxml2::XMLElement* entry = InsertFirstElement(upgrades, "upgrade");
      entry->SetAttribute("id", upgrade->id);
      entry->SetAttribute("level", -1);
    }
  }
  mProfile->InsertFirstChild(upgrades);
  return upgrades;
}

int RuvProgress::getUpgradeLevel(int id) {
  if (mMap && mMap->getMode() == kProgressHardcoreMode) return -1;
  return getStoredUpgradeLevel(id);
}

int RuvProgress::getStoredUpgradeLevel(int id) {
  const auto cached = mUpgradeLevels.find(id);
  if (cached != mUpgradeLevels.end()) return cached->second;
  mUpgradeLevels[id] = -1;
  if (const tinyxml2::XMLElement* upgrades = child("upgrades")) {
    for (const tinyxml2::XMLElement* entry = upgrades->FirstChildElement(); entry; entry = entry->NextSiblingElement()) {
      if (ProgressInt(entry, "id") == id) {
        const int level = ProgressInt(entry, "level");
        mUpgradeLevels[id] = level;
        return level;
      }
    }
    return -2;
  }
  createUpgradeList();
  save();
  return -1;
}

void RuvProgress::setUpgradeLevel(int id, int level) {
  mUpgradeLevels[id] = level;
  // Hardcore mode never creates the list: create it as the getter would.
  tinyxml2::XMLElement* upgrades = child("upgrades");
  if (!upgrades) upgrades = createUpgradeList();
  tinyxml2::XMLElement* entry = upgrades->FirstChildElement();
  while (entry && ProgressInt(entry, "id") != id) entry = entry->NextSiblingElement();
  if (!entry) {
    entry = InsertFirstElement(upgrades, "upgrade");
    entry->SetAttribute("id", id);
  }
  entry->SetAttribute("level", level);
  save();
}

// Build spots.

void RuvProgress::addOwnedSpot(const std::u16string& spotName, int episode, int level) {
  tinyxml2::XMLElement* spot = InsertFirstElement(childOrNew("owned"), "spot");
  spot->SetAttribute("name", base::ToNarrow(spotName, base::kEncodingUtf8).c_str());
  spot->SetAttribute("episode", episode);
  spot->SetAttribute("level", level);
  spot->SetAttribute("mode", mMap ? mMap->getMode() : 0);
  save();
}

bool RuvProgress::isSpotOwned(const std::u16string& spotName, int episode, int level) {
  const tinyxml2::XMLElement* owned = child("owned");
  if (!owned) return false;
  const std::string narrow = base::ToNarrow(spotName, base::kEncodingUtf8);
  const bool hardcore = mMap && mMap->getMode() == kProgressHardcoreMode;
  for (const tinyxml2::XMLElement* spot = owned->FirstChildElement(); spot; spot = spot->NextSiblingElement()) {
    const char* name = spot->Attribute("name");
    if (!name || narrow != name || ProgressInt(spot, "episode") != episode || ProgressInt(spot, "level") != level) {
      continue;
    }
    if ((ProgressInt(spot, "mode") == kProgressHardcoreMode) == hardcore) return true;
  }
  return false;
}
