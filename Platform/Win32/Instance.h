#pragma once
// Finding the window of another running instance of the program: each top-level window holds an
// advisory lock on a file and listens on a Unix socket, both in the user's runtime folder
// ($XDG_RUNTIME_DIR, else /tmp) and named after a hash of the window's class and title.
// Private to Platform/Win32.
#include <string>

namespace win32 {

// True when another open file description holds the lock of (className, title).
bool IsInstanceRunning(const std::u16string& className, const std::u16string& title);
// Asks the instance that holds the lock to restore its window; waits up to two seconds for its
// answer. True when it answered.
bool RequestRestore(const std::u16string& className, const std::u16string& title);

// The running side: the lock and the listening socket of one window.
class InstanceServer {
 public:
  InstanceServer() = default;
  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Takes the lock and listens. False (and nothing held) when another instance holds the lock or
  // the runtime folder cannot be used.
  bool Open(const std::u16string& className, const std::u16string& title);
  // Answers the requests that wait, without blocking. True when one asked for a restore.
  bool Poll();

 private:
  int mLock = -1;
  int mListener = -1;
  std::string mSocketPath;
};

}  // namespace win32
