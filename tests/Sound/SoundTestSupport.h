#pragma once
// Shared by the sound tests: a sound system made and destroyed per test, an environment variable
// set for a test's lifetime.
#include <cstdlib>
#include <optional>
#include <string>

#include "Core/Base/Singletone.h"
#include "Core/Sound/SoundSystem.h"
#include "tests/Sound/SoundBytes.h"

namespace soundtest {

// A sound system of its own for one test; deleting it takes it out of the singleton registry.
inline SoundSystem* NewSoundSystem() { return new SoundSystem; }
inline void DeleteSoundSystem(SoundSystem* system) { delete system; }

// Sets an environment variable (SDL's audio driver, its output file) until destroyed.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : mName(name) {
    if (const char* old = std::getenv(name)) mOld = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (mOld)
      setenv(mName, mOld->c_str(), 1);
    else
      unsetenv(mName);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* mName;
  std::optional<std::string> mOld;
};

}  // namespace soundtest
