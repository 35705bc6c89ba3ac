#pragma once

namespace base {

// Counted shared handle to a delegate: the holder that drops the last count deletes the delegate.
template <class D>
class DelegatePtr {
 public:
  DelegatePtr() = default;
  explicit DelegatePtr(D* delegate) { Reset(delegate); }
  DelegatePtr(const DelegatePtr& other) : mDelegate(other.mDelegate), mCount(other.mCount) {
    if (mCount) ++*mCount;
  }
  DelegatePtr& operator=(const DelegatePtr& other) {
    if (this != &other) {
      // Take the new count before dropping the old one: other may be owned by our delegate.
      DelegatePtr copy(other);
      Swap(copy);
    }
    return *this;
  }
  ~DelegatePtr() { Release(); }

  // Drops the held delegate and takes a new one with a fresh count (null leaves the handle empty).
  void Reset(D* delegate = nullptr) {
    Release();
    if (delegate) {
      mDelegate = delegate;
      mCount = new int(1);
    }
  }

  D* Get() const { return mDelegate; }
  D* operator->() const { return mDelegate; }
  explicit operator bool() const { return mDelegate != nullptr; }

 private:
  void Release() {
    D* delegate = mDelegate;
    int* count = mCount;
    mDelegate = nullptr;
    mCount = nullptr;
    if (count && --*count == 0) {
      delete count;
      delete delegate;
    }
  }
  void Swap(DelegatePtr& other) {
    D* delegate = mDelegate;
    int* count = mCount;
    mDelegate = other.mDelegate;
    mCount = other.mCount;
    other.mDelegate = delegate;
    other.mCount = count;
  }

  D* mDelegate = nullptr;
  int* mCount = nullptr;
};

}  // namespace base
