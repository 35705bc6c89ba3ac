#include "Game/Entities/RuvBulletList.h"

#include <algorithm>

void RuvBulletList::forgetUnit(const RuvUnit* unit) {
  for (const std::unique_ptr<RuvBullet>& bullet : bullets) {
    if (bullet->target == unit) bullet->target = nullptr;
    bullet->hits.erase(std::remove(bullet->hits.begin(), bullet->hits.end(), unit), bullet->hits.end());
  }
}
