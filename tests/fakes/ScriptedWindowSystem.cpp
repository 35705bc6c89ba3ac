#include "fakes/ScriptedWindowSystem.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "Platform/Win32/Keyboard.h"

namespace fakes {

ScriptedWindowSystem::ScriptedWindowSystem() {
  if (const char* previous = getenv("XDG_RUNTIME_DIR")) mPreviousRuntimeFolder = previous;
  char folder[] = "/tmp/qm-runtime-XXXXXX";
  if (mkdtemp(folder)) mRuntimeFolder = folder;
  setenv("XDG_RUNTIME_DIR", mRuntimeFolder.c_str(), 1);
  win32::SetWindowSystem(this);
}

ScriptedWindowSystem::~ScriptedWindowSystem() {
  win32::SetWindowSystem(nullptr);
  std::error_code ignored;
  if (!mRuntimeFolder.empty()) std::filesystem::remove_all(mRuntimeFolder, ignored);
  // The program's own folder again: later windows must not fall back to /tmp.
  if (mPreviousRuntimeFolder.empty()) {
    unsetenv("XDG_RUNTIME_DIR");
  } else {
    setenv("XDG_RUNTIME_DIR", mPreviousRuntimeFolder.c_str(), 1);
  }
}

bool ScriptedWindowSystem::Open(win32::WindowRecord& window) {
  if (failOpen) {
    std::fprintf(stderr, "scripted: no native window\n");
    return false;
  }
  ++opened;
  window.nativeId = ++mNextId;
  return true;
}

void ScriptedWindowSystem::Close(win32::WindowRecord& window) {
  ++closed;
  if (mouseFocus == window.nativeId) mouseFocus = 0;
}

void ScriptedWindowSystem::Place(win32::WindowRecord& window) {
  placements.push_back(Placement{window.style, window.rect, window.visible});
}

void ScriptedWindowSystem::Restore(win32::WindowRecord&) { ++restored; }

void ScriptedWindowSystem::Raise(win32::WindowRecord&) { ++raised; }

void ScriptedWindowSystem::MoveCursor(win32::HWND over, int x, int y) {
  const win32::WindowRecord* record = win32::FindWindowRecord(over);
  mouseFocus = record ? record->nativeId : 0;
  cursor = win32::POINT{x, y};
}

win32::LPARAM KeyLParam(int scanCode, bool alt, bool repeat, bool up) {
  win32::LPARAM lParam = 1 | (static_cast<win32::LPARAM>(scanCode & 0xFF) << 16);
  if (alt) lParam |= win32::KF_ALTDOWN;
  if (repeat || up) lParam |= win32::KF_REPEAT;
  if (up) lParam |= win32::KF_UP;
  return lParam;
}

void Deliver(win32::HWND window, win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam,
             std::u16string_view text) {
  DrainMessages();
  win32::PostKeyMessage(window, message, wParam, lParam, text);
  win32::MSG taken{};
  if (win32::PeekMessageW(&taken, nullptr, message, message, win32::PM_REMOVE)) win32::DispatchMessageW(&taken);
}

void DrainMessages() {
  win32::MSG taken{};
  while (win32::PeekMessageW(&taken, nullptr, 0, 0, win32::PM_REMOVE)) {
  }
}

}  // namespace fakes
