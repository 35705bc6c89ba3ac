#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundListener.h"
#include "Platform/Bass/Bass.h"

namespace base {
class Stream;
}

// The audio singleton: one music track at a time, read through the file manager, cross-faded over
// one second and cycled through a playlist; sound effects as channels of shared samples.
// The music state is also changed by the audio layer's sync thread: every method that touches it
// takes one lock. Everything else is main thread only.
class SoundSystem : public base::Singletone<SoundSystem>, public SoundListener {
 public:
  // Initialises the audio layer on the default device; without one, on no device at all (logged
  // once: every sound is silent).
  SoundSystem();
  // Removes the music syncs (waiting for one that runs), then frees the music and listed sounds.
  ~SoundSystem() override;
  // The resource manager: the sounds' samples must go first.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // A new sound of folder + name (UTF-8; found as given, then with ".ogg", then ".wav"), owned by
  // the caller. Silent when the file cannot be loaded.
  Sound* CreateSound(const std::string& name);
  // Empties the playlist and starts the track; "" stops the music at once.
  void PlayMusic(const std::string& name);
  // Takes the list as the playlist and starts its first entry; the tracks follow each other.
  void PlayPlaylist(const std::vector<std::string>& list);
  // A playing track keeps playing; another playing track fades out over 1 s, then this one starts.
  void StartTrack(const std::string& name);
  std::string GetNextTrack();
  std::string GetCurrentTrack();
  // 0..1, applied at once.
  void SetMusicVolume(float volume);
  void SetSoundVolume(float volume);
  float GetMusicVolume();
  float GetSoundVolume();
  // All audio output.
  void Pause();
  void Resume();

  // Prefix of every sound and music name (UTF-8 path, ending in '/' or empty).
  void SetFolder(const std::string& folder);

  // Deletes a listed sound and unlists it; nothing for others.
  void DestroySound(Sound* sound) override;

 private:
  // With mMusicLock held.
  void StartTrackLocked(const std::string& name);
  void FreeMusicStream();
  static void OnMusicSync(bass::HSYNC sync, bass::DWORD channel, bass::DWORD data, void* user);

  std::mutex mMusicLock;  // guards every field below but mSounds
  std::string mFolder;
  std::vector<std::string> mPlaylist;
  std::string mCurrentTrack;
  std::string mNextTrack;
  bass::HSTREAM mMusicStream = 0;
  base::Stream* mMusicReader = nullptr;
  std::vector<bass::HSYNC> mMusicSyncs;  // set on mMusicStream
  float mMusicVolume = 1.0f;
  float mSoundVolume = 1.0f;
  bool mClosing = false;
  bool mInitialised = false;
  std::vector<Sound*> mSounds;
};
