#pragma once
// Plain links to battle objects that another list may delete: a RuvWeak reads null once its object
// is gone, even when a new object was made at the same address.
#include <memory>

class RuvTracked {
 public:
  RuvTracked() : mLife(std::make_shared<char>(0)) {}
  // A copy is a new object with a life of its own.
  RuvTracked(const RuvTracked&) : mLife(std::make_shared<char>(0)) {}
  RuvTracked& operator=(const RuvTracked&) { return *this; }
  std::weak_ptr<char> life() const { return mLife; }

 protected:
  ~RuvTracked() = default;

 private:
  std::shared_ptr<char> mLife;
};

template <class T>
class RuvWeak {
 public:
  RuvWeak() = default;
  RuvWeak(T* object) : mObject(object) {  // NOLINT: implicit, like the plain pointer it replaces
    if (object) mLife = object->life();
  }

  // Null once the object was deleted.
  T* get() const { return mLife.expired() ? nullptr : mObject; }
  explicit operator bool() const { return get() != nullptr; }
  T* operator->() const { return get(); }
  void reset() { *this = RuvWeak(); }

 private:
  T* mObject = nullptr;
  std::weak_ptr<char> mLife;
};
