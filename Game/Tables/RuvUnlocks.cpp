#include "Game/Tables/RuvUnlocks.h"

#include <algorithm>
#include <cstdlib>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Game/Tables/RuvText.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvMapState.h"

namespace {

constexpr int kUnlocksHardcoreMode = 3;

}  // namespace

RuvUnlocks::RuvUnlocks(RuvMapState* map) : mMap(map) { load(base::ReadTextFile(kPath)); }

void RuvUnlocks::load(const std::string& text) {
  mCumulative.clear();
  mPerLine.clear();
  std::vector<int> running;
  for (std::string line : splitKeepEmpty(text, '\n')) {
    if (line.empty()) continue;
    line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    const std::vector<std::string> fields = splitKeepEmpty(line, ';');
    // A line cut before its ids would otherwise read past its fields.
    if (fields.size() < 3) {
      base::LogBlock(u"RuvUnlocks: line '%s' has fewer than three fields, skipped.\n") % base::ToWide(line, base::kEncodingUtf8);
      continue;
    }
    const Key key(std::atoi(fields[0].c_str()), std::atoi(fields[1].c_str()));
    std::vector<int> own;
    if (fields[2] != "\r") {
      for (const std::string& item : splitKeepEmpty(fields[2], ',')) {
        if (item.empty() || item == "\r") continue;
        const int id = std::atoi(item.c_str());
        running.push_back(id);
        own.push_back(id);
      }
    }
    mCumulative[key] = running;
    mPerLine[key] = own;
  }
}

bool RuvUnlocks::contains(const Key& key, int id) {
  const std::vector<int>& ids = mCumulative[key];
  return std::find(ids.begin(), ids.end(), id) != ids.end() || std::find(ids.begin(), ids.end(), -1) != ids.end();
}

bool RuvUnlocks::isUnlocked(int id) {
  if (mMap->getMode() == kUnlocksHardcoreMode) return true;
  return contains(Key(mMap->getEpisode(), mMap->getLevel()), id);
}

bool RuvUnlocks::isUnlockedAtLastLevel(int id) {
  int episode = 0;
  int level = 0;
  if (RuvProgress* progress = mMap->getProgress()) progress->findLastPlayedLevel(episode, level);
  return contains(Key(episode, level), id);
}

void RuvUnlocks::newlyUnlocked(std::vector<int>& out) {
  if (mMap->getMode() != kUnlocksHardcoreMode) {
    const auto found = mPerLine.find(Key(mMap->getEpisode(), mMap->getLevel()));
    out = found == mPerLine.end() ? std::vector<int>() : found->second;
    return;
  }
  if (mMap->getEpisode() == 0 && mMap->getLevel() == 0) {
    out.insert(out.end(), std::begin(kHardcoreAnnouncements), std::end(kHardcoreAnnouncements));
  }
}
