#pragma once
// Sound files and user-file streams in memory, for the sound tests and the sound benchmark.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"

namespace soundtest {

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

// A file in memory read through a stream's procedures (user value: the MemorySoundFile); counts the
// close calls.
struct MemorySoundFile {
  std::string bytes;
  std::size_t position = 0;
  int closes = 0;

  static void Close(void* user) { ++static_cast<MemorySoundFile*>(user)->closes; }
  static bass::QWORD Length(void* user) { return static_cast<MemorySoundFile*>(user)->bytes.size(); }
  static bass::DWORD Read(void* buffer, bass::DWORD length, void* user) {
    MemorySoundFile* self = static_cast<MemorySoundFile*>(user);
    const std::size_t count = std::min<std::size_t>(length, self->bytes.size() - self->position);
    std::memcpy(buffer, self->bytes.data() + self->position, count);
    self->position += count;
    return bass::DWORD(count);
  }
  static bass::BOOL Seek(bass::QWORD offset, void* user) {
    MemorySoundFile* self = static_cast<MemorySoundFile*>(user);
    if (offset > self->bytes.size()) return bass::FALSE;
    self->position = std::size_t(offset);
    return bass::TRUE;
  }
  static constexpr bass::BASS_FILEPROCS kProcs = {Close, Length, Read, Seek};
};

}  // namespace soundtest
