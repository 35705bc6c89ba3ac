#include "Game/Tables/SoundTags.h"

#include <algorithm>
#include <cstdlib>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/FormatSpec.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Game/Tables/RuvText.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvMapState.h"

namespace k2 {

SoundTags::SoundTags() = default;

SoundTags::~SoundTags() { mEntries.clear(); }

std::vector<base::SingletoneBase*> SoundTags::GetDependencies() {
  std::vector<base::SingletoneBase*> dependencies;
  if (SoundSystem::Exists()) dependencies.push_back(SoundSystem::Instance());
  return dependencies;
}

bool SoundTags::Load(const std::u16string& path) {
  mEntries.clear();
  int withoutFile = 0;
  for (std::string line : splitKeepEmpty(base::ReadTextFile(path), '\n')) {
    line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    // A CR LF line end would otherwise stay in the last field, the file name of a short line.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::string> fields = splitKeepEmpty(line, ';');
    if (fields[0].compare(0, 1, "#") == 0) continue;
    auto entry = std::make_unique<Entry>();
    entry->tag = base::ToWide(fields[0], base::kEncodingUtf8);
    const std::string file = fields.size() > 1 ? fields[1] : std::string();
    entry->file = base::ToWide(file, base::kEncodingUtf8);
    entry->volume = fields.size() > 2 ? static_cast<float>(std::atof(fields[2].c_str())) : 0.0f;
    entry->group = fields.size() > 3 ? std::atoi(fields[3].c_str()) : 0;
    if (!file.empty()) {
      if (SoundSystem* system = SoundSystem::Instance()) entry->sound.reset(system->CreateSound(kSoundFolder + file));
    } else {
      ++withoutFile;
    }
    mEntries.push_back(std::move(entry));
  }
  if (mEntries.empty()) {
    base::LogDataFileProblem(u"SoundTags", path, u"holds no sound tag (missing, empty or damaged): the game is silent");
  } else if (withoutFile > 0) {
    base::LogDataFileProblem(u"SoundTags", path,
                             u"has " + base::FormatSpec().PutInt(withoutFile).GetOutput() + u" lines without a sound file");
  }
  return true;
}

float SoundTags::soundVolume() {
  RuvProgress* progress = mMap ? mMap->getProgress() : nullptr;
  return progress ? progress->getSoundVolume() : 1.0f;
}

float SoundTags::musicVolume() {
  RuvProgress* progress = mMap ? mMap->getProgress() : nullptr;
  return progress ? progress->getMusicVolume() : 1.0f;
}

bool SoundTags::Play(const std::u16string& tag) {
  for (const auto& entry : mEntries) {
    if (entry->tag != tag || entry->file.empty()) continue;
    if (entry->sound) {
      entry->sound->SetVolume(soundVolume(), 0.0f);
      entry->sound->Play();
    }
    return true;
  }
  return false;
}

void SoundTags::PlayMusic(const std::u16string& file) {
  SoundSystem* system = SoundSystem::Instance();
  if (!system) return;
  system->PlayPlaylist({base::ToNarrow(file, base::kEncodingUtf8)});
  system->SetMusicVolume(musicVolume());
}

}  // namespace k2
