#pragma once
// Decoding of Ogg Vorbis and WAV files into the mixer's format: interleaved stereo float frames at
// 44100 Hz. Private to Platform/Bass (and the tests and tools that check files).
#include <cstddef>
#include <memory>
#include <vector>

#include "Platform/Bass/Bass.h"

namespace bass {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;

// Decodes a whole file held in memory (Ogg Vorbis, else WAV). False when it does not decode or has
// no frames; frames is then empty.
bool DecodeToMixFormat(const void* data, std::size_t size, std::vector<float>& frames);

// A file read through a stream's procedures and decoded while it plays. Not thread-safe: the mixer
// calls it under its lock.
class StreamDecoder {
 public:
  // Null when the file decodes neither as Ogg Vorbis nor as WAV; the close procedure has then run.
  static std::unique_ptr<StreamDecoder> Open(const BASS_FILEPROCS& procs, void* user);
  // Runs the close procedure.
  virtual ~StreamDecoder() = default;
  // Up to frames frames into out (stereo); fewer only at the end of the file.
  virtual unsigned Read(float* out, unsigned frames) = 0;
  // Back to the first frame; false when the file cannot seek there.
  virtual bool Rewind() = 0;
};

}  // namespace bass
