#pragma once
#include "Platform/Win32/Types.h"

namespace app {

class TimerBase {
 public:
  virtual ~TimerBase() = default;
};

// Frame timer over the high-resolution counter: no smoothing, no clamp.
class TimerLocalWin32 {
 public:
  virtual ~TimerLocalWin32() = default;
  // Reads the frequency and the current counter.
  void Start();
  // Delta = seconds since the previous Update (or Start).
  void Update();
  float GetDelta() const { return mDelta; }

 private:
  win32::LONGLONG mFrequency = 1;
  win32::LONGLONG mLast = 0;
  float mDelta = 0.0f;
};

}  // namespace app
