#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"

class RuvMapState;
class Sound;

namespace k2 {

// Sound effects played by tag: each line of the sound sheet ("ruv/sounds_sheet.csv",
// "tag;file;volume;group;number") names the file of a tag in "ruv/data/sound/". Both Play and
// PlayMusic apply the player's volumes from the profile at the moment they play.
class SoundTags : public base::Singletone<SoundTags> {
 public:
  static constexpr char16_t kSheetPath[] = u"ruv/sounds_sheet.csv";
  static constexpr char kSoundFolder[] = "ruv/data/sound/";

  struct Entry {
    std::u16string tag;
    std::u16string file;  // relative to kSoundFolder; may be empty
    int group = 0;
    float volume = 0.0f;  // kept; playback uses the profile's sound volume
    std::unique_ptr<Sound> sound;  // null when the file is empty
  };

  SoundTags();
  ~SoundTags() override;
  // The sound system: the entries' sounds go first.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // Replaces every entry by the sheet's lines; a missing sheet gives an empty table. Always true.
  bool Load(const std::u16string& path);
  // Plays the first entry of the tag with a file, from its start, at the profile's sound volume.
  // False when no such entry exists.
  bool Play(const std::u16string& tag);
  // Starts one music track (a full path) and sets the profile's music volume.
  void PlayMusic(const std::u16string& file);

  // The map whose progress store gives the volumes: set by the map when it is built, cleared when
  // it goes. Without one (or before the map has its store) the volumes are 1.0.
  void SetMapState(RuvMapState* map) { mMap = map; }

  const std::vector<std::unique_ptr<Entry>>& GetEntries() const { return mEntries; }

 private:
  float soundVolume();
  float musicVolume();

  std::vector<std::unique_ptr<Entry>> mEntries;
  RuvMapState* mMap = nullptr;
};

}  // namespace k2
