#pragma once
// Shared by the sound tests: a sound system made and destroyed per test.
#include <algorithm>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Core/Sound/SoundSystem.h"
#include "tests/Sound/SoundBytes.h"

namespace soundtest {

// A sound system of its own for one test. The registry deletes singletons at exit, so the test's
// instance is taken out of it before the test deletes it.
inline SoundSystem* NewSoundSystem() { return new SoundSystem; }

inline void DeleteSoundSystem(SoundSystem* system) {
  auto& instances = const_cast<std::vector<base::SingletoneBase*>&>(base::SingletoneRegistry::Instances());
  instances.erase(std::remove(instances.begin(), instances.end(), system), instances.end());
  delete system;
}

}  // namespace soundtest
