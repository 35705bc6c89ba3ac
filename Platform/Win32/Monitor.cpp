#include "Platform/Win32/Monitor.h"

#include "Platform/Win32/WindowSystem.h"

namespace win32 {

namespace {

// Monitor handles are display indexes + 1, so no handle is null.
HMONITOR HandleOf(std::size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

}  // namespace

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC procedure, LPARAM data) {
  if (dc || clip || !procedure) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::vector<MONITORINFO> monitors = TheWindowSystem().Monitors();
  if (monitors.empty()) return FALSE;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    RECT rect = monitors[i].rcMonitor;
    if (!procedure(HandleOf(i), nullptr, &rect, data)) return FALSE;
  }
  return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
  if (!info || info->cbSize != sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::vector<MONITORINFO> monitors = TheWindowSystem().Monitors();
  const std::size_t index = reinterpret_cast<std::size_t>(monitor) - 1;
  if (!monitor || index >= monitors.size()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *info = monitors[index];
  info->cbSize = sizeof(MONITORINFO);
  return TRUE;
}

}  // namespace win32
