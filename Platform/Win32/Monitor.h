#pragma once
// Display monitors, from the window system's displays: display 0 is the primary one and the work
// area is the display's usable bounds.
#include "Platform/Win32/Window.h"

namespace win32 {

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

constexpr DWORD MONITORINFOF_PRIMARY = 0x00000001;

struct MONITORINFO {
  DWORD cbSize;  // sizeof(MONITORINFO), 40
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
};

using MONITORENUMPROC = BOOL (*)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM data);

// Calls procedure for each monitor in display order. The device context and clipping rectangle are
// not supported (must be null). FALSE when there is no display, or when procedure returned FALSE
// (which ends the enumeration).
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC procedure, LPARAM data);
// FALSE for an unknown monitor or a cbSize other than sizeof(MONITORINFO).
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);

}  // namespace win32
