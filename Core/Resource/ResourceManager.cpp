#include "Core/Resource/ResourceManager.h"

namespace resource {

ResourceManager::~ResourceManager() {
  for (Destroyer* destroyer : mDestroyers) delete destroyer;
}

}  // namespace resource
