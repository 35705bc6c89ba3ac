#include "Core/App/Win32/TimerLocalWin32.h"

#include "Platform/Win32/Process.h"

namespace app {

void TimerLocalWin32::Start() {
  win32::QueryPerformanceFrequency(&mFrequency);
  win32::QueryPerformanceCounter(&mLast);
}

void TimerLocalWin32::Update() {
  win32::LONGLONG counter = 0;
  win32::QueryPerformanceCounter(&counter);
  mDelta = static_cast<float>(static_cast<double>(counter - mLast) / static_cast<double>(mFrequency));
  mLast = counter;
}

}  // namespace app
