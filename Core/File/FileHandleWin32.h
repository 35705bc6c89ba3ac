#pragma once
#include <string>

#include "Core/Base/Result.h"
#include "Platform/Win32/Handle.h"

namespace file {

// A file opened through the Win32 file API: the only place the engine reads and writes files.
class FileHandleWin32 {
 public:
  // Access codes of Open.
  static constexpr unsigned kRead = 0;
  static constexpr unsigned kWrite = 1;
  static constexpr unsigned kReadWrite = 2;
  // Disposition codes of Open.
  static constexpr unsigned kCreateAlways = 0;
  static constexpr unsigned kCreateNew = 1;
  static constexpr unsigned kOpenExisting = 2;

  FileHandleWin32() = default;
  FileHandleWin32(const FileHandleWin32&) = delete;
  FileHandleWin32& operator=(const FileHandleWin32&) = delete;
  virtual ~FileHandleWin32();

  // Stores the path (kept even when the open fails) and opens it; an open handle is closed first.
  // An unknown access opens a handle that can neither read nor write; an unknown disposition fails.
  VNResultEnum Open(const std::u16string& path, unsigned access, unsigned disposition);
  // Reaching the end is a success with a short count. On failure count is untouched.
  VNResultEnum Read(void* buffer, unsigned n, unsigned* count);
  VNResultEnum Write(const void* buffer, unsigned n, unsigned* count);
  // Origin 0 from the start, 1 from the current position, anything else from the end. Returns the
  // new position; a failed seek (before the start) keeps the old position and returns it. 0 while
  // closed.
  unsigned Seek(int offset, int origin);
  // Low 32 bits of the file's size; 0 when closed.
  unsigned GetSize() const;
  // Forces the written data to the device.
  VNResultEnum Flush();
  // 1 when already closed or when closing fails; clears the path on success.
  VNResultEnum Close();

  bool IsOpen() const;
  const std::u16string& GetPath() const { return mPath; }

 private:
  win32::HANDLE mHandle = win32::INVALID_HANDLE_VALUE;
  std::u16string mPath;
};

}  // namespace file
