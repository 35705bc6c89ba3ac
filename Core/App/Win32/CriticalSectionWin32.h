#pragma once
#include "Platform/Win32/Sync.h"

namespace app {

class CriticalSectionWin32 {
 public:
  CriticalSectionWin32();
  virtual ~CriticalSectionWin32();
  CriticalSectionWin32(const CriticalSectionWin32&) = delete;
  CriticalSectionWin32& operator=(const CriticalSectionWin32&) = delete;

  virtual void Enter();
  virtual void Leave();

 private:
  win32::CRITICAL_SECTION mSection;
};

}  // namespace app
