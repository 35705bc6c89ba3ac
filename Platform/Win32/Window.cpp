#include "Platform/Win32/Window.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "Platform/Win32/Instance.h"
#include "Platform/Win32/Utf.h"
#include "Platform/Win32/WindowSystem.h"

namespace win32 {

namespace {

struct ClassInfo {
  UINT style;
  WNDPROC procedure;
};

// A window of another instance, found by FindWindowW.
struct RemoteWindow {
  std::u16string className;
  std::u16string title;
};

struct Windows {
  std::map<std::u16string, ClassInfo> classes;
  std::map<HWND, std::unique_ptr<WindowRecord>> records;
  std::map<HWND, RemoteWindow> remotes;
  std::uintptr_t nextHandle = 0x10;
};

// Main thread only, as windows are. Never destroyed: the application and its window are
// destroyed by the singleton registry at exit, after the function statics made since.
Windows& TheWindows() {
  static Windows& windows = *new Windows;
  return windows;
}

HWND NewHandle() { return reinterpret_cast<HWND>(TheWindows().nextHandle += 0x10); }

std::u16string Text(const WCHAR* text) { return text ? std::u16string(text) : std::u16string(); }

// Native events first, then the requests of other instances: their window comes back and to the front.
void PumpWindows() {
  TheWindowSystem().Pump();
  for (WindowRecord* record : AllWindowRecords()) {
    if (record->instance && record->instance->Poll()) {
      ShowWindow(record->handle, SW_RESTORE);
      SetForegroundWindow(record->handle);
    }
  }
}

void Fail(const char* call, const std::u16string& title, const char* why) {
  std::fprintf(stderr, "win32: %s(\"%s\") failed: %s\n", call, Utf16ToUtf8(title).c_str(), why);
}

}  // namespace

WindowRecord* FindWindowRecord(HWND window) {
  auto& records = TheWindows().records;
  const auto it = records.find(window);
  return it == records.end() ? nullptr : it->second.get();
}

WindowRecord* FindWindowRecordByNativeId(std::uint32_t nativeId) {
  if (nativeId == 0) return nullptr;
  for (auto& [handle, record] : TheWindows().records) {
    if (record->nativeId == nativeId) return record.get();
  }
  return nullptr;
}

std::vector<WindowRecord*> AllWindowRecords() {
  std::vector<WindowRecord*> all;
  for (auto& [handle, record] : TheWindows().records) all.push_back(record.get());
  return all;
}

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& classes = TheWindows().classes;
  classes[windowClass->lpszClassName] = ClassInfo{windowClass->style, windowClass->lpfnWndProc};
  return static_cast<ATOM>(classes.size());
}

HWND CreateWindowExW(DWORD, const WCHAR* className, const WCHAR* title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, void*) {
  Windows& windows = TheWindows();
  const auto found = windows.classes.find(Text(className));
  if (found == windows.classes.end()) {
    Fail("CreateWindowExW", Text(title), "the class is not registered");
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto record = std::make_unique<WindowRecord>();
  record->handle = NewHandle();
  record->className = found->first;
  record->title = Text(title);
  record->classStyle = found->second.style;
  record->style = style;
  record->rect = RECT{x, y, x + width, y + height};
  if (!TheWindowSystem().Open(*record)) {
    Fail("CreateWindowExW", record->title, "no native window");
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!parent) {
    record->instance = std::make_unique<InstanceServer>();
    if (!record->instance->Open(record->className, record->title)) record->instance.reset();
  }
  const HWND handle = record->handle;
  windows.records[handle] = std::move(record);
  SetWindowProc(handle, found->second.procedure);
  SetMessagePump(&PumpWindows);
  SendMessageW(handle, WM_CREATE, 0, 0);
  if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return handle;
}

BOOL DestroyWindow(HWND window) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record || record->destroying) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  record->destroying = true;
  SendMessageW(window, WM_DESTROY, 0, 0);
  Windows& windows = TheWindows();
  record = FindWindowRecord(window);
  TheWindowSystem().Close(*record);
  ForgetWindow(window);
  windows.records.erase(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return FindWindowRecord(window) || TheWindows().remotes.count(window) ? TRUE : FALSE; }

BOOL ShowWindow(HWND window, int command) {
  Windows& windows = TheWindows();
  if (const auto remote = windows.remotes.find(window); remote != windows.remotes.end()) {
    if (command != SW_RESTORE && command != SW_SHOW && command != SW_SHOWNORMAL) return FALSE;
    return RequestRestore(remote->second.className, remote->second.title) ? TRUE : FALSE;
  }
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  const BOOL wasVisible = record->visible ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      record->visible = false;
      TheWindowSystem().Place(*record);
      break;
    case SW_RESTORE:
      record->visible = true;
      record->minimized = false;
      TheWindowSystem().Restore(*record);
      break;
    default:
      record->visible = true;
      TheWindowSystem().Place(*record);
      break;
  }
  return wasVisible;
}

BOOL UpdateWindow(HWND window) { return FindWindowRecord(window) ? TRUE : FALSE; }

BOOL SetForegroundWindow(HWND window) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  TheWindowSystem().Raise(*record);
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  RECT& rect = record->rect;
  if (!(flags & SWP_NOMOVE)) {
    rect = RECT{x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
  }
  if (!(flags & SWP_NOSIZE)) {
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
  }
  if (flags & SWP_SHOWWINDOW) record->visible = true;
  if (flags & SWP_HIDEWINDOW) record->visible = false;
  TheWindowSystem().Place(*record);
  return TRUE;
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record || index != GWL_STYLE) return 0;
  const LONG previous = static_cast<LONG>(record->style);
  record->style = static_cast<DWORD>(value);
  return previous;
}

LONG GetWindowLongW(HWND window, int index) {
  const WindowRecord* record = FindWindowRecord(window);
  return record && index == GWL_STYLE ? static_cast<LONG>(record->style) : 0;
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  if (index != GWLP_USERDATA) return SetWindowLongW(window, index, static_cast<LONG>(value));
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return 0;
  const LONG_PTR previous = record->userData;
  record->userData = value;
  return previous;
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
  if (index != GWLP_USERDATA) return GetWindowLongW(window, index);
  const WindowRecord* record = FindWindowRecord(window);
  return record ? record->userData : 0;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  *rect = RECT{0, 0, record->rect.right - record->rect.left, record->rect.bottom - record->rect.top};
  return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  *rect = record->rect;
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  point->x += record->rect.left;
  point->y += record->rect.top;
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  point->x -= record->rect.left;
  point->y -= record->rect.top;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL) { return rect ? TRUE : FALSE; }

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record) return FALSE;
  placement->flags = 0;
  placement->showCmd = record->minimized ? SW_SHOWMINIMIZED : record->visible ? SW_SHOWNORMAL : SW_HIDE;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = record->rect;
  return TRUE;
}

HWND FindWindowW(const WCHAR* className, const WCHAR* title) {
  const std::u16string wantedClass = Text(className);
  const std::u16string wantedTitle = Text(title);
  for (WindowRecord* record : AllWindowRecords()) {
    if (record->className == wantedClass && record->title == wantedTitle) return record->handle;
  }
  if (!IsInstanceRunning(wantedClass, wantedTitle)) return nullptr;
  Windows& windows = TheWindows();
  for (const auto& [handle, remote] : windows.remotes) {
    if (remote.className == wantedClass && remote.title == wantedTitle) return handle;
  }
  const HWND handle = NewHandle();
  windows.remotes[handle] = RemoteWindow{wantedClass, wantedTitle};
  return handle;
}

HWND WindowFromPoint(POINT point) {
  const WindowRecord* record = FindWindowRecordByNativeId(TheWindowSystem().MouseFocus());
  if (!record) return nullptr;
  const RECT& rect = record->rect;
  const bool inside = point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
  return inside ? record->handle : nullptr;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_QUERYOPEN: return TRUE;
    default: return 0;
  }
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  *paint = PAINTSTRUCT{};
  GetClientRect(window, &paint->rcPaint);
  return nullptr;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

HICON LoadIconA(HINSTANCE, const char*) { return nullptr; }

HCURSOR LoadCursorA(HINSTANCE, const char* name) {
  static char sArrow;
  return name == IDC_ARROW ? reinterpret_cast<HCURSOR>(&sArrow) : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  if (cursor) TheWindowSystem().ShowArrowCursor();
  return cursor;
}

BOOL GetCursorPos(POINT* point) {
  *point = TheWindowSystem().CursorPos();
  return TRUE;
}

BOOL ReleaseCapture() {
  TheWindowSystem().ReleaseCapture();
  return TRUE;
}

}  // namespace win32
