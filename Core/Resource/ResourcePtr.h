#pragma once

namespace resource {

// A counted handle to a resource of type T. The count is shared by all handles of the resource
// (the manager's cache entry holds it too, uncounted). Dropping the last handle calls the
// resource's Release, which unloads and deletes it through the manager.
template <class T>
class ResourcePtr {
 public:
  ResourcePtr() = default;
  // Takes one more reference on count (when set).
  ResourcePtr(T* resource, int* count) : mResource(resource), mCount(count) {
    if (mCount) ++*mCount;
  }
  ResourcePtr(const ResourcePtr& other) : ResourcePtr(other.mResource, other.mCount) {}
  // A handle to a base type of the resource shares the same count.
  template <class U>
  ResourcePtr(const ResourcePtr<U>& other) : ResourcePtr(other.Get(), other.GetCount()) {}
  // Takes the new reference before dropping the old one, so that assigning a handle to another
  // handle of the same resource never releases it in between.
  ResourcePtr& operator=(const ResourcePtr& other) {
    T* resource = other.mResource;
    int* count = other.mCount;
    if (count) ++*count;
    Drop();
    mResource = resource;
    mCount = count;
    return *this;
  }
  ~ResourcePtr() { Drop(); }

  T* Get() const { return mResource; }
  T* operator->() const { return mResource; }
  T& operator*() const { return *mResource; }
  explicit operator bool() const { return mResource != nullptr; }
  int* GetCount() const { return mCount; }

 private:
  void Drop() {
    T* resource = mResource;
    int* count = mCount;
    mResource = nullptr;
    mCount = nullptr;
    if (count && --*count <= 0 && resource) resource->Release();
  }

  T* mResource = nullptr;
  int* mCount = nullptr;
};

}  // namespace resource
