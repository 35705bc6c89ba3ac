#pragma once
#include <vector>

namespace base {

// An object that may be queued for deletion at a fixed point of the frame.
class DeferredDeletable {
 public:
  virtual ~DeferredDeletable() = default;
};

class DeferredDeleteManager {
 public:
  void QueueDelete(DeferredDeletable* object) { mQueue.push_back(object); }
  // Deletes the queued objects in order; objects their destructors queue go in the same flush.
  void DeleteQueued();
  bool HasQueued() const { return !mQueue.empty(); }

 private:
  std::vector<DeferredDeletable*> mQueue;
};

}  // namespace base
