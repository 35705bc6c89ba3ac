#include "Platform/Win32/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Win32/Process.h"
#include "Platform/Win32/Utf.h"

namespace win32 {

namespace {

class File : public KernelObject {
 public:
  File(int fd, bool canRead, bool canWrite) : mFd(fd), mCanRead(canRead), mCanWrite(canWrite) {}
  ~File() override {
    if (mFd >= 0) ::close(mFd);
  }
  bool Close() override;

  int mFd;
  bool mCanRead;
  bool mCanWrite;
};

class Find : public KernelObject {
 public:
  std::vector<WIN32_FIND_DATAW> mEntries;
  std::size_t mNext = 0;
};

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_WRITE_FAULT;
  }
}

BOOL FailWith(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL FailFromErrno() { return FailWith(ErrorFromErrno(errno)); }

bool File::Close() {
  const int fd = mFd;
  mFd = -1;
  // Linux releases the descriptor even when close reports an error; never retry.
  if (::close(fd) != 0 && errno != EINTR) {
    FailFromErrno();
    return false;
  }
  return true;
}

// UTF-8 path with '/' separators; empty when the path is null or empty.
std::string NativePath(const WCHAR* path) {
  if (!path) return {};
  std::u16string wide(path);
  std::replace(wide.begin(), wide.end(), u'\\', u'/');
  return Utf16ToUtf8(wide);
}

File* FileFrom(HANDLE handle) { return dynamic_cast<File*>(FromHandle(handle)); }

// '*' matches any run, '?' one unit. Greedy with one backtrack point, the last star: a later star
// supersedes the earlier one, so the time is bounded by pattern length times name length.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name) {
  constexpr std::size_t kNoStar = std::u16string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = kNoStar;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (star != kNoStar) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::atomic<void (*)(const WCHAR*)> sSkippedNameReporter{nullptr};

// The bytes as text, each byte outside printable ASCII as \xNN.
std::u16string EscapedDiskName(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::u16string text;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      text.push_back(c);
    } else {
      text += u"\\x";
      text.push_back(static_cast<char16_t>(kHex[c >> 4]));
      text.push_back(static_cast<char16_t>(kHex[c & 15]));
    }
  }
  return text;
}

// Reports a name that is not valid UTF-8, once per absolute path in the life of the process.
void ReportUnconvertibleName(const std::string& folder, const char* name) {
  static std::mutex sReportedMutex;
  static std::set<std::string>* sReported = new std::set<std::string>;
  char* absolute = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
  const std::string key = (absolute ? std::string(absolute) : folder) + "/" + name;
  std::free(absolute);
  {
    std::lock_guard<std::mutex> lock(sReportedMutex);
    if (!sReported->insert(key).second) return;
  }
  const std::u16string text = u"FindFirstFileW: skipped \"" + EscapedDiskName(key) +
                              u"\": the name is not valid UTF-8 and could not be opened by its listed name\n";
  if (auto reporter = sSkippedNameReporter.load()) {
    reporter(text.c_str());
  } else {
    OutputDebugStringW(text.c_str());
  }
}

// Fills an entry for the object at path; false when it cannot be described (missing, name too long).
bool Describe(const std::string& path, const std::u16string& name, WIN32_FIND_DATAW& entry) {
  struct stat info {};
  if (name.empty() || name.size() >= MAX_PATH || ::stat(path.c_str(), &info) != 0) return false;
  entry = WIN32_FIND_DATAW{};
  entry.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  if (!S_ISDIR(info.st_mode) && (info.st_mode & S_IWUSR) == 0) entry.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
  const auto size = static_cast<unsigned long long>(S_ISDIR(info.st_mode) ? 0 : info.st_size);
  entry.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  entry.nFileSizeLow = static_cast<DWORD>(size);
  std::copy(name.begin(), name.end(), entry.cFileName);
  return true;
}

void ListFolder(const std::string& folder, const std::u16string& pattern, std::vector<WIN32_FIND_DATAW>& out) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  while (const dirent* item = ::readdir(dir)) {
    // A listed name must open again: one that does not convert cannot, and a backslash in a name
    // would be taken for a separator (Windows names never hold one).
    if (!IsValidUtf8(item->d_name)) {
      ReportUnconvertibleName(folder, item->d_name);
      continue;
    }
    if (std::strchr(item->d_name, '\\')) continue;
    const std::u16string name = Utf8ToUtf16(item->d_name);
    if (!MatchesWildcard(pattern, name)) continue;
    WIN32_FIND_DATAW entry;
    if (Describe(folder + item->d_name, name, entry)) out.push_back(entry);
  }
  ::closedir(dir);
  // readdir's order is arbitrary; callers get a stable order by UTF-16 code units.
  std::sort(out.begin(), out.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
    return std::u16string_view(a.cFileName) < std::u16string_view(b.cFileName);
  });
}

}  // namespace

void SetSkippedNameReporter(void (*reporter)(const WCHAR* text)) { sSkippedNameReporter = reporter; }

HANDLE CreateFileW(const WCHAR* name, DWORD desiredAccess, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
  const std::string path = NativePath(name);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const bool canRead = desiredAccess & GENERIC_READ;
  const bool canWrite = desiredAccess & GENERIC_WRITE;
  int flags = O_CLOEXEC | (canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY);
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    SetLastError(disposition == CREATE_NEW && errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  auto* file = new (std::nothrow) File(fd, canRead, canWrite);
  if (!file) {
    ::close(fd);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  return ToHandle(file);
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD n, DWORD* read, void*) {
  File* file = FileFrom(handle);
  if (!file) return FailWith(ERROR_INVALID_HANDLE);
  if (!file->mCanRead) return FailWith(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (done < n) {
    const ssize_t got = ::read(file->mFd, bytes + done, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (read) *read = done;
      return FailWith(ERROR_READ_FAULT);
    }
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (read) *read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD n, DWORD* written, void*) {
  File* file = FileFrom(handle);
  if (!file) return FailWith(ERROR_INVALID_HANDLE);
  if (!file->mCanWrite) return FailWith(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < n) {
    const ssize_t put = ::write(file->mFd, bytes + done, n - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (written) *written = done;
      return put < 0 ? FailFromErrno() : FailWith(ERROR_DISK_FULL);
    }
    done += static_cast<DWORD>(put);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  File* file = FileFrom(handle);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  long long move = distance;
  if (distanceHigh) move = static_cast<long long>((static_cast<unsigned long long>(*distanceHigh) << 32) |
                                                  static_cast<DWORD>(distance));
  const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t current = ::lseek(file->mFd, 0, SEEK_CUR);
  const off_t end = whence == SEEK_END ? ::lseek(file->mFd, 0, SEEK_END) : 0;
  const long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? current : end;
  const long long target = base + move;
  if (target < 0 || (!distanceHigh && target > 0xFFFFFFFFll)) {
    ::lseek(file->mFd, current, SEEK_SET);
    SetLastError(target < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t now = ::lseek(file->mFd, static_cast<off_t>(target), SEEK_SET);
  if (now < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<unsigned long long>(now) >> 32);
  return static_cast<DWORD>(now);
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
  File* file = FileFrom(handle);
  struct stat info {};
  if (!file || ::fstat(file->mFd, &info) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  const auto size = static_cast<unsigned long long>(info.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

BOOL FlushFileBuffers(HANDLE handle) {
  File* file = FileFrom(handle);
  if (!file) return FailWith(ERROR_INVALID_HANDLE);
  return ::fsync(file->mFd) == 0 ? TRUE : FailFromErrno();
}

HANDLE FindFirstFileW(const WCHAR* pattern, WIN32_FIND_DATAW* data) {
  std::u16string wide = pattern ? pattern : u"";
  std::replace(wide.begin(), wide.end(), u'\\', u'/');
  const std::size_t slash = wide.rfind(u'/');
  const std::u16string leaf = slash == std::u16string::npos ? wide : wide.substr(slash + 1);
  const std::string folder = Utf16ToUtf8(slash == std::u16string::npos ? u"" : wide.substr(0, slash + 1));

  auto* find = new (std::nothrow) Find;
  if (!find) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  if (leaf.find_first_of(u"*?") != std::u16string::npos) {
    ListFolder(folder, leaf, find->mEntries);
  } else {
    WIN32_FIND_DATAW entry;
    if (Describe(Utf16ToUtf8(wide), leaf, entry)) find->mEntries.push_back(entry);
  }
  if (find->mEntries.empty()) {
    delete find;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *data = find->mEntries[0];
  find->mNext = 1;
  return ToHandle(find);
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* data) {
  auto* find = dynamic_cast<Find*>(FromHandle(handle));
  if (!find) return FailWith(ERROR_INVALID_HANDLE);
  if (find->mNext >= find->mEntries.size()) return FailWith(ERROR_NO_MORE_FILES);
  *data = find->mEntries[find->mNext++];
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  if (!dynamic_cast<Find*>(FromHandle(handle))) return FailWith(ERROR_INVALID_HANDLE);
  return CloseHandle(handle);
}

BOOL CreateDirectoryW(const WCHAR* path, void*) {
  const std::string native = NativePath(path);
  if (native.empty()) return FailWith(ERROR_PATH_NOT_FOUND);
  if (::mkdir(native.c_str(), 0755) == 0) return TRUE;
  return FailWith(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
}

BOOL DeleteFileW(const WCHAR* path) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (native.empty() || ::stat(native.c_str(), &info) != 0) return FailWith(ERROR_FILE_NOT_FOUND);
  if (S_ISDIR(info.st_mode)) return FailWith(ERROR_ACCESS_DENIED);
  return ::unlink(native.c_str()) == 0 ? TRUE : FailFromErrno();
}

BOOL MoveFileExW(const WCHAR* from, const WCHAR* to, DWORD flags) {
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  if (source.empty() || target.empty()) return FailWith(ERROR_PATH_NOT_FOUND);
  struct stat info {};
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::stat(target.c_str(), &info) == 0) {
    return FailWith(ERROR_ALREADY_EXISTS);
  }
  if (::rename(source.c_str(), target.c_str()) != 0) return FailFromErrno();
  if (flags & MOVEFILE_WRITE_THROUGH) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FailFromErrno();
    const int synced = ::fsync(fd);
    ::close(fd);
    if (synced != 0) return FailFromErrno();
  }
  return TRUE;
}

BOOL SetCurrentDirectoryW(const WCHAR* path) {
  const std::string native = NativePath(path);
  if (native.empty()) return FailWith(ERROR_PATH_NOT_FOUND);
  return ::chdir(native.c_str()) == 0 ? TRUE : FailWith(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
}

DWORD GetFileAttributesW(const WCHAR* path) {
  const std::string native = NativePath(path);
  WIN32_FIND_DATAW entry;
  if (native.empty() || !Describe(native, u"-", entry)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  return entry.dwFileAttributes;
}

}  // namespace win32
