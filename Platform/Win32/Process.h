#pragma once
// Process-level services: entry arguments, the program file, COM start-up, clock, debugger output,
// message boxes and the user folders.
#include <string>
#include <vector>

#include "Platform/Win32/Types.h"

namespace win32 {

// Called once by the process entry before the engine runs: keeps argv as UTF-16 strings.
void SetCommandLine(int argc, const char* const* argv);
// The arguments as given to the process, the program name first (CommandLineToArgvW of
// GetCommandLineW). An empty argument stays an empty string.
std::vector<std::u16string> CommandLineToArgvW();

HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// The program's own module; the only module there is.
HINSTANCE GetModuleHandleW(const WCHAR* name);
// Writes the program file's path (from /proc/self/exe) with a terminating zero. Returns the length
// without the zero; when it does not fit, the text is cut, the result is size and the last error is
// ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, WCHAR* buffer, DWORD size);

// Folder ids of SHGetFolderPathW.
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_APPDATA = 0x001a;
// Application data: $XDG_DATA_HOME, else $HOME/.local/share (created when missing).
// Documents: $XDG_DOCUMENTS_DIR, else $HOME/Documents when it exists, else $HOME.
// Writes at most MAX_PATH units with the terminating zero; E_FAIL when there is no such folder.
HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, WCHAR* path);

// High-resolution counter in nanoseconds of the monotonic clock.
BOOL QueryPerformanceFrequency(LONGLONG* frequency);
BOOL QueryPerformanceCounter(LONGLONG* counter);
// Replaces the counter by a scripted source (tests); null restores the clock.
void SetPerformanceCounterSource(LONGLONG (*source)());
void Sleep(DWORD milliseconds);

// Writes to standard error, only when the environment variable QUELLMARK_DEBUG_OUTPUT is set.
void OutputDebugStringW(const WCHAR* text);

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONERROR = 0x10;
constexpr int IDOK = 1;
// SDL's simple message box; standard error when no display can show it.
int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type);

}  // namespace win32
