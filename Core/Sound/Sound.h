#pragma once
#include "Core/Resource/ResourcePtr.h"
#include "Core/Resource/ResourceSound.h"
#include "Platform/Bass/Bass.h"

// One sound effect: a channel of its file's shared sample. Created by SoundSystem::CreateSound;
// main thread only.
class Sound {
 public:
  // Takes a channel of the resource's sample (none when the sample is 0: the sound stays silent).
  explicit Sound(const resource::ResourcePtr<resource::ResourceSound>& resource);
  // Stops the channel and removes its syncs; the last Sound of a file frees the sample.
  virtual ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // From the start.
  void Play();
  bool IsPlaying();
  // volume 0..1; slides over seconds when positive (whole milliseconds), else at once.
  void SetVolume(float volume, float seconds);

  bass::HCHANNEL GetChannel() const { return mChannel; }
  const resource::ResourcePtr<resource::ResourceSound>& GetResource() const { return mResource; }

 private:
  resource::ResourcePtr<resource::ResourceSound> mResource;
  bass::HCHANNEL mChannel = 0;
  bass::HSYNC mSyncs[2] = {0, 0};
};
