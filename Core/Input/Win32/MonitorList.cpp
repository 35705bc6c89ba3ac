#include "Core/Input/Win32/MonitorList.h"

#include "Platform/Win32/Monitor.h"

namespace app {

namespace {

MonitorRect RectOf(const win32::RECT& rect) {
  return MonitorRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

win32::BOOL AddMonitor(win32::HMONITOR monitor, win32::HDC, win32::RECT*, win32::LPARAM data) {
  win32::MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!win32::GetMonitorInfoA(monitor, &info)) return win32::FALSE;
  auto* monitors = reinterpret_cast<std::vector<MonitorInfo>*>(data);
  monitors->push_back(MonitorInfo{RectOf(info.rcMonitor), RectOf(info.rcWork), info.dwFlags == win32::MONITORINFOF_PRIMARY});
  return win32::TRUE;
}

}  // namespace

bool MonitorList::Refresh() {
  mMonitors.clear();
  return win32::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<win32::LPARAM>(&mMonitors)) != 0;
}

const MonitorInfo* MonitorList::GetMonitor(int index) const {
  return index >= 0 && index < GetCount() ? &mMonitors[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace app
