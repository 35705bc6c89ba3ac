#include "Core/App/Win32/CriticalSectionWin32.h"

namespace app {

CriticalSectionWin32::CriticalSectionWin32() { win32::InitializeCriticalSection(&mSection); }
CriticalSectionWin32::~CriticalSectionWin32() { win32::DeleteCriticalSection(&mSection); }
void CriticalSectionWin32::Enter() { win32::EnterCriticalSection(&mSection); }
void CriticalSectionWin32::Leave() { win32::LeaveCriticalSection(&mSection); }

}  // namespace app
