#pragma once
// Every test program runs with a runtime folder of its own ($XDG_RUNTIME_DIR, where windows keep
// their single-instance lock files and sockets), made at start-up under $TMPDIR (else /tmp) and
// removed with everything in it when the program exits. TestApplication.cpp holds the instance.
#include <string>

namespace fakes {

class PrivateRuntimeFolder {
 public:
  PrivateRuntimeFolder();
  // Removes the folder, only in the process that made it (not in a forked death-test child).
  ~PrivateRuntimeFolder();
  PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
  PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

  // Empty when no folder could be made.
  const std::string& GetPath() const { return mPath; }

 private:
  std::string mPath;
  int mOwner = 0;
};

}  // namespace fakes
