#include "Core/Base/DeferredDeleteManager.h"

namespace base {

void DeferredDeleteManager::DeleteQueued() {
  // Index loop: destructors may append to the queue while it is flushed.
  for (std::size_t i = 0; i < mQueue.size(); ++i) {
    DeferredDeletable* object = mQueue[i];
    mQueue[i] = nullptr;
    delete object;
  }
  mQueue.clear();
}

}  // namespace base
