#pragma once

class Sound;

// Told that a sound is to be destroyed.
class SoundListener {
 public:
  virtual void DestroySound(Sound* sound) = 0;

 protected:
  ~SoundListener() = default;
};
