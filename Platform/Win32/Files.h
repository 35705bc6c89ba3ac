#pragma once
// Files and folders over POSIX. Paths are UTF-16, relative to the current folder or absolute; '\' is
// accepted as a separator. Reads and writes loop until the full count is done (or the end of the
// file is reached). A folder never opens as a file.
#include "Platform/Win32/Handle.h"
#include "Platform/Win32/Types.h"

namespace win32 {

constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
// Also makes the rename itself durable (the target's folder is synced).
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  WCHAR cFileName[MAX_PATH];
};

// Share modes and flags are accepted and ignored (no mandatory locks here). Desired access 0 opens
// a handle that can neither read nor write. INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileW(const WCHAR* name, DWORD desiredAccess, DWORD shareMode, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
// Reads up to n bytes; a short count means the end of the file. Overlapped I/O is not supported.
BOOL ReadFile(HANDLE file, void* buffer, DWORD n, DWORD* read, void* overlapped);
// Writes all n bytes or fails; *written holds the bytes that did reach the file.
BOOL WriteFile(HANDLE file, const void* buffer, DWORD n, DWORD* written, void* overlapped);
// Moves the position; without a high part the distance is signed 32-bit and the result the low
// 32 bits. A position before the start fails with ERROR_NEGATIVE_SEEK and leaves it unchanged.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
// Writes the file's data to the device (fsync).
BOOL FlushFileBuffers(HANDLE file);

// Lists the entries that match the last component of pattern ('*' and '?' wildcards; a name
// without wildcards finds that entry alone), sorted by UTF-16 code units ("." and ".." included
// when the wildcard matches them). Close with FindClose. A listing leaves out disk names that could
// not be opened by the listed name: names that are not valid UTF-8 (each reported once, see
// SetSkippedNameReporter) and names holding '\'.
HANDLE FindFirstFileW(const WCHAR* pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE find, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE find);
// Receives one line of text for each listed disk name that is not valid UTF-8, once per path in
// the process's life; may be called on any thread that lists. Null: the debugger output.
void SetSkippedNameReporter(void (*reporter)(const WCHAR* text));

// One level; fails with ERROR_ALREADY_EXISTS or ERROR_PATH_NOT_FOUND.
BOOL CreateDirectoryW(const WCHAR* path, void* security);
// Files only; a folder is ERROR_ACCESS_DENIED.
BOOL DeleteFileW(const WCHAR* path);
BOOL MoveFileExW(const WCHAR* from, const WCHAR* to, DWORD flags);
BOOL SetCurrentDirectoryW(const WCHAR* path);
DWORD GetFileAttributesW(const WCHAR* path);

}  // namespace win32
