#pragma once
// Shared by the sound tests: a sound system made and destroyed per test, and WAV files in memory.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Core/Sound/SoundSystem.h"

namespace soundtest {

// A sound system of its own for one test. The registry deletes singletons at exit, so the test's
// instance is taken out of it before the test deletes it.
inline SoundSystem* NewSoundSystem() { return new SoundSystem; }

inline void DeleteSoundSystem(SoundSystem* system) {
  auto& instances = const_cast<std::vector<base::SingletoneBase*>&>(base::SingletoneRegistry::Instances());
  instances.erase(std::remove(instances.begin(), instances.end(), system), instances.end());
  delete system;
}

// A WAV file of 32-bit float frames (interleaved when stereo).
inline std::string MakeFloatWav(const std::vector<float>& samples, int channels, int rate) {
  std::string bytes;
  auto put32 = [&bytes](std::uint32_t value) { bytes.append(reinterpret_cast<const char*>(&value), 4); };
  auto put16 = [&bytes](std::uint16_t value) { bytes.append(reinterpret_cast<const char*>(&value), 2); };
  const std::uint32_t dataSize = std::uint32_t(samples.size() * sizeof(float));
  bytes += "RIFF";
  put32(36 + dataSize);
  bytes += "WAVEfmt ";
  put32(16);
  put16(3);  // IEEE float
  put16(std::uint16_t(channels));
  put32(std::uint32_t(rate));
  put32(std::uint32_t(rate * channels * 4));
  put16(std::uint16_t(channels * 4));
  put16(32);
  bytes += "data";
  put32(dataSize);
  bytes.append(reinterpret_cast<const char*>(samples.data()), dataSize);
  return bytes;
}

// frames stereo frames of one constant value.
inline std::string MakeConstantWav(float value, std::size_t frames) {
  return MakeFloatWav(std::vector<float>(frames * 2, value), 2, 44100);
}

}  // namespace soundtest
