#include "Core/File/FileHandleWin32.h"

#include "Platform/Win32/Files.h"

namespace file {

namespace {

struct OpenArguments {
  win32::DWORD access;
  win32::DWORD share;
};

OpenArguments AccessArguments(unsigned access) {
  constexpr win32::DWORD kShare = win32::FILE_SHARE_READ | win32::FILE_SHARE_WRITE;
  switch (access) {
    case FileHandleWin32::kRead: return {win32::GENERIC_READ, kShare};
    case FileHandleWin32::kWrite: return {win32::GENERIC_WRITE, kShare};
    case FileHandleWin32::kReadWrite: return {win32::GENERIC_READ | win32::GENERIC_WRITE, kShare};
    default: return {0, 0};
  }
}

win32::DWORD Disposition(unsigned disposition) {
  switch (disposition) {
    case FileHandleWin32::kCreateAlways: return win32::CREATE_ALWAYS;
    case FileHandleWin32::kCreateNew: return win32::CREATE_NEW;
    case FileHandleWin32::kOpenExisting: return win32::OPEN_EXISTING;
    default: return 0;
  }
}

}  // namespace

FileHandleWin32::~FileHandleWin32() {
  if (IsOpen()) Close();
}

bool FileHandleWin32::IsOpen() const { return mHandle != win32::INVALID_HANDLE_VALUE; }

VNResultEnum FileHandleWin32::Open(const std::u16string& path, unsigned access, unsigned disposition) {
  // Reopening must not leak the descriptor of the previous open.
  if (IsOpen()) Close();
  mPath = path;
  const OpenArguments arguments = AccessArguments(access);
  mHandle = win32::CreateFileW(path.c_str(), arguments.access, arguments.share, nullptr, Disposition(disposition),
                               0, nullptr);
  return IsOpen() ? VN_OK : VN_FAIL;
}

VNResultEnum FileHandleWin32::Read(void* buffer, unsigned n, unsigned* count) {
  win32::DWORD done = 0;
  if (!win32::ReadFile(mHandle, buffer, n, &done, nullptr)) return VN_FAIL;
  if (count) *count = done;
  return VN_OK;
}

VNResultEnum FileHandleWin32::Write(const void* buffer, unsigned n, unsigned* count) {
  win32::DWORD done = 0;
  if (!win32::WriteFile(mHandle, buffer, n, &done, nullptr)) return VN_FAIL;
  if (count) *count = done;
  return VN_OK;
}

unsigned FileHandleWin32::Seek(int offset, int origin) {
  if (!IsOpen()) return 0;
  const win32::DWORD method = origin == 0 ? win32::FILE_BEGIN : origin == 1 ? win32::FILE_CURRENT : win32::FILE_END;
  win32::SetLastError(win32::ERROR_SUCCESS);
  const win32::DWORD position = win32::SetFilePointer(mHandle, offset, nullptr, method);
  if (win32::GetLastError() != win32::ERROR_SUCCESS) return win32::SetFilePointer(mHandle, 0, nullptr, win32::FILE_CURRENT);
  return position;
}

unsigned FileHandleWin32::GetSize() const {
  if (!IsOpen()) return 0;
  return win32::GetFileSize(mHandle, nullptr);
}

VNResultEnum FileHandleWin32::Flush() { return win32::FlushFileBuffers(mHandle) ? VN_OK : VN_FAIL; }

VNResultEnum FileHandleWin32::Close() {
  if (!IsOpen()) return VN_FAIL;
  const bool closed = win32::CloseHandle(mHandle);
  mHandle = win32::INVALID_HANDLE_VALUE;
  if (!closed) return VN_FAIL;
  mPath.clear();
  return VN_OK;
}

}  // namespace file
