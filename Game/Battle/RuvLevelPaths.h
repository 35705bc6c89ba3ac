#pragma once
#include <string>

// "ruv/levels_normal/level_EE_LL" ("levels_hardcore" in mode 3), from 0-based episode and level
// indices shown from 1 with two digits: the level file and its route cache add their extensions.
std::u16string levelPathStem(int mode, int episode, int level);
