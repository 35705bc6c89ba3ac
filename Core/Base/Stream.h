#pragma once

namespace base {

// A byte stream. Sizes, positions and counts are unsigned 32-bit; seek offsets are signed.
// Operations report no errors: reads and writes return short counts, seeks clamp or stay put.
class Stream {
 public:
  // Seek origins.
  static constexpr int kBegin = 0;
  static constexpr int kCurrent = 1;
  static constexpr int kEnd = 2;
  static constexpr unsigned kWhole = 0xFFFFFFFFu;

  virtual bool IsEnd() { return false; }
  virtual unsigned GetSize() = 0;
  virtual ~Stream() = default;
  virtual unsigned Read(void* buffer, unsigned n) = 0;
  virtual unsigned Write(const void* buffer, unsigned n) = 0;
  virtual unsigned Seek(int offset, int origin) = 0;

  // Appends at most n bytes from source's current position (kWhole: all of source from its start),
  // in chunks of at most 1 MiB. Stops at a short read or a short write and returns the bytes that
  // were written, so that a caller can compare it with what it expected.
  unsigned CopyFrom(Stream* source, unsigned n);
};

}  // namespace base
