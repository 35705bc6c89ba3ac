#pragma once
#include "Core/App/Win32/CriticalSectionWin32.h"

namespace app {

// A recursive mutual-exclusion lock.
class CriticalSection : public CriticalSectionWin32 {};

// Holds a lock for one scope; a null lock is allowed and does nothing.
class CriticalSectionGuard {
 public:
  explicit CriticalSectionGuard(CriticalSection* section) : mSection(section) {
    if (mSection) mSection->Enter();
  }
  ~CriticalSectionGuard() {
    if (mSection) mSection->Leave();
  }
  CriticalSectionGuard(const CriticalSectionGuard&) = delete;
  CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

 private:
  CriticalSection* mSection;
};

// The process-wide lock that serialises window creation with the window procedure.
CriticalSection& GlobalCriticalSection();

}  // namespace app
