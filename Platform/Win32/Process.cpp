#include "Platform/Win32/Process.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "Platform/Win32/Utf.h"

namespace win32 {

namespace {

std::vector<std::u16string>& Arguments() {
  static std::vector<std::u16string> arguments;
  return arguments;
}

thread_local DWORD tLastError = ERROR_SUCCESS;
std::atomic<LONGLONG (*)()> sCounterSource{nullptr};

// Writes text with its terminating zero into buffer, cut to size units.
DWORD CopyOut(const std::u16string& text, WCHAR* buffer, DWORD size) {
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() >= size) {
    text.copy(buffer, size - 1);
    buffer[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  text.copy(buffer, text.size());
  buffer[text.size()] = 0;
  return static_cast<DWORD>(text.size());
}

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p; true when the folder exists afterwards.
bool MakeFolders(const std::string& path) {
  for (std::size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos == path.size() || path[pos] == '/') {
      const std::string part = path.substr(0, pos);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return IsFolder(path);
}

std::string FolderPath(int folder) {
  const char* home = Env("HOME");
  if (folder == CSIDL_APPDATA) {
    if (const char* data = Env("XDG_DATA_HOME")) return data;
    return home ? std::string(home) + "/.local/share" : std::string();
  }
  if (folder == CSIDL_PERSONAL) {
    if (const char* documents = Env("XDG_DOCUMENTS_DIR")) return documents;
    if (!home) return {};
    const std::string documents = std::string(home) + "/Documents";
    return IsFolder(documents) ? documents : std::string(home);
  }
  return {};
}

}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD error) { tLastError = error; }

void SetCommandLine(int argc, const char* const* argv) {
  auto& arguments = Arguments();
  arguments.clear();
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8ToUtf16(argv[i] ? argv[i] : ""));
}

std::vector<std::u16string> CommandLineToArgvW() { return Arguments(); }

HRESULT CoInitialize(void*) { return S_OK; }
void CoUninitialize() {}

HINSTANCE GetModuleHandleW(const WCHAR*) {
  static char sModule;
  return reinterpret_cast<HINSTANCE>(&sModule);
}

DWORD GetModuleFileNameW(HMODULE, WCHAR* buffer, DWORD size) {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  path.resize(static_cast<std::size_t>(length));
  return CopyOut(Utf8ToUtf16(path), buffer, size);
}

HRESULT SHGetFolderPathW(HWND, int folder, HANDLE, DWORD, WCHAR* path) {
  const std::string found = FolderPath(folder);
  if (found.empty()) return E_FAIL;
  // Windows always has the roaming folder; a fresh Linux account may lack ~/.local/share.
  if (folder == CSIDL_APPDATA && !MakeFolders(found)) return E_FAIL;
  const std::u16string wide = Utf8ToUtf16(found);
  if (wide.size() >= MAX_PATH) return E_FAIL;
  CopyOut(wide, path, MAX_PATH);
  return S_OK;
}

BOOL QueryPerformanceFrequency(LONGLONG* frequency) {
  *frequency = 1000000000;
  return TRUE;
}

BOOL QueryPerformanceCounter(LONGLONG* counter) {
  if (auto source = sCounterSource.load()) {
    *counter = source();
    return TRUE;
  }
  *counter = std::chrono::duration_cast<std::chrono::nanoseconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
                 .count();
  return TRUE;
}

void SetPerformanceCounterSource(LONGLONG (*source)()) { sCounterSource = source; }

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void OutputDebugStringW(const WCHAR* text) {
  if (!text || !std::getenv("QUELLMARK_DEBUG_OUTPUT")) return;
  const std::string narrow = Utf16ToUtf8(text);
  std::fwrite(narrow.data(), 1, narrow.size(), stderr);
  std::fflush(stderr);
}

int MessageBoxW(HWND, const WCHAR* text, const WCHAR* caption, UINT type) {
  const std::string message = Utf16ToUtf8(text ? text : u"");
  const std::string title = Utf16ToUtf8(caption ? caption : u"");
  const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  const bool hasDisplay = Env("DISPLAY") || Env("WAYLAND_DISPLAY");
  if (!hasDisplay || SDL_ShowSimpleMessageBox(flags, title.c_str(), message.c_str(), nullptr) != 0) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
  }
  return IDOK;
}

}  // namespace win32
