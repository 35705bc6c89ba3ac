#include "Game/Battle/RuvLevelPaths.h"

#include <cstdio>

#include "Core/Base/StringEncoding.h"

std::u16string levelPathStem(int mode, int episode, int level) {
  char name[96];
  std::snprintf(name, sizeof name, "ruv/levels_%s/level_%02d_%02d", mode == 3 ? "hardcore" : "normal", episode + 1,
                level + 1);
  return base::ToWide(name, base::kEncodingUtf8);
}
