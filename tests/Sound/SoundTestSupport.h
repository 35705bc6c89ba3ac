#pragma once
// Shared by the sound tests: a sound system made and destroyed per test.
#include "Core/Base/Singletone.h"
#include "Core/Sound/SoundSystem.h"
#include "tests/Sound/SoundBytes.h"

namespace soundtest {

// A sound system of its own for one test; deleting it takes it out of the singleton registry.
inline SoundSystem* NewSoundSystem() { return new SoundSystem; }
inline void DeleteSoundSystem(SoundSystem* system) { delete system; }

}  // namespace soundtest
