#include "Platform/Win32/Instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Platform/Win32/Utf.h"

namespace win32 {

namespace {

constexpr char kRestore[] = "restore\n";
constexpr char kDone[] = "done\n";
constexpr int kAnswerTimeoutMs = 2000;

std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && access(runtime, W_OK | X_OK) == 0) return runtime;
  return "/tmp";
}

// <runtime>/qm-<uid>-<hash of class and title>; FNV-1a over the UTF-8 of both.
std::string BasePath(const std::u16string& className, const std::u16string& title) {
  const std::string key = Utf16ToUtf8(className) + '\0' + Utf16ToUtf8(title);
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char name[64];
  std::snprintf(name, sizeof(name), "/qm-%u-%016llx", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(hash));
  return RuntimeFolder() + name;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd entry{fd, events, 0};
  return poll(&entry, 1, timeoutMs) == 1 && (entry.revents & events);
}

}  // namespace

bool IsInstanceRunning(const std::u16string& className, const std::u16string& title) {
  const std::string path = BasePath(className, title) + ".lock";
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  CloseFd(fd);
  return held;
}

bool RequestRestore(const std::u16string& className, const std::u16string& title) {
  sockaddr_un address{};
  if (!MakeAddress(BasePath(className, title) + ".sock", address)) return false;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool answered = false;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      send(fd, kRestore, sizeof(kRestore) - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof(kRestore) - 1) &&
      WaitFor(fd, POLLIN, kAnswerTimeoutMs)) {
    char answer[sizeof(kDone)] = {};
    answered = recv(fd, answer, sizeof(answer) - 1, 0) > 0 && std::strcmp(answer, kDone) == 0;
  }
  CloseFd(fd);
  return answered;
}

InstanceServer::~InstanceServer() {
  if (mListener >= 0) unlink(mSocketPath.c_str());
  CloseFd(mListener);
  // The lock file stays: removing it would race with a starting instance that already opened it.
  CloseFd(mLock);
}

bool InstanceServer::Open(const std::u16string& className, const std::u16string& title) {
  const std::string base = BasePath(className, title);
  mLock = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (mLock < 0) return false;
  if (flock(mLock, LOCK_EX | LOCK_NB) != 0) {
    CloseFd(mLock);
    return false;
  }
  // Holding the lock makes any socket left at this path stale.
  sockaddr_un address{};
  mSocketPath = base + ".sock";
  unlink(mSocketPath.c_str());
  mListener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (mListener < 0 || !MakeAddress(mSocketPath, address) ||
      bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(mListener, 4) != 0) {
    std::fprintf(stderr, "win32: cannot listen on %s for other instances\n", mSocketPath.c_str());
    CloseFd(mListener);
    // The lock alone still tells other instances that this one runs.
  }
  return true;
}

bool InstanceServer::Poll() {
  if (mListener < 0) return false;
  bool restore = false;
  for (;;) {
    int client = accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) break;
    char request[sizeof(kRestore)] = {};
    // The client writes its request right after connecting.
    if (WaitFor(client, POLLIN, 200) && recv(client, request, sizeof(request) - 1, 0) > 0 &&
        std::strcmp(request, kRestore) == 0) {
      restore = true;
      send(client, kDone, sizeof(kDone) - 1, MSG_NOSIGNAL);
    }
    CloseFd(client);
  }
  return restore;
}

}  // namespace win32
