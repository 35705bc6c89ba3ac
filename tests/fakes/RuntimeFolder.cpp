#include "fakes/RuntimeFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace fakes {

PrivateRuntimeFolder::PrivateRuntimeFolder() : mOwner(int(getpid())) {
  const char* temp = getenv("TMPDIR");
  std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/qm-test-" +
                        std::to_string(mOwner) + "-XXXXXX";
  if (!mkdtemp(pattern.data())) return;
  mPath = pattern;
  setenv("XDG_RUNTIME_DIR", mPath.c_str(), 1);
}

PrivateRuntimeFolder::~PrivateRuntimeFolder() {
  if (mPath.empty() || int(getpid()) != mOwner) return;
  std::error_code ignored;
  std::filesystem::remove_all(mPath, ignored);
}

}  // namespace fakes
