#pragma once
#include <atomic>
#include <utility>
#include <vector>

#include "Core/Base/NoCopy.h"

namespace base {

class SingletoneBase;

// The process-wide list of singletons; destroys them at exit in dependency order. Registration,
// the getters and teardown take one process-wide recursive lock, so any thread may use a getter.
class SingletoneRegistry {
 public:
  using Pair = std::pair<SingletoneBase*, SingletoneBase*>;

  // Orders instances topologically: each singleton precedes those it depends on and every pair's
  // first precedes its second; otherwise registration order holds. The members of a dependency
  // cycle keep their registration order among themselves, and each cycle is logged once.
  static void SortByDependencies(std::vector<SingletoneBase*>& instances, const std::vector<Pair>& pairs);
  // Sorts and deletes every registered singleton from the front. Runs at process exit.
  static void DestroyAll();
  // True from the start of DestroyAll on: getters then create nothing.
  static bool IsTearingDown();

  static void Register(SingletoneBase* instance);
  // Drops a singleton destroyed before teardown, with the pairs that name it.
  static void Unregister(SingletoneBase* instance);
  static void AddPair(SingletoneBase* first, SingletoneBase* second);
  // A copy: the list may change on another thread as soon as the lock is left.
  static std::vector<SingletoneBase*> Instances();

  // The registry's recursive lock; the getters hold it while they create an instance.
  static void Lock();
  static void Unlock();
};

class SingletoneBase : public NoCopy {
 public:
  SingletoneBase();
  // Removes the object from the registry when it is destroyed before teardown.
  virtual ~SingletoneBase();
  // The singletons that must still exist while this one is destroyed.
  virtual std::vector<SingletoneBase*> GetDependencies();

  // Declares that first is destroyed before second; neither needs to exist yet.
  static void AddDependency(SingletoneBase* first, SingletoneBase* second);

 protected:
  struct Unregistered {};
  // An object that takes part in sorts handed to it directly but never enters the registry.
  explicit SingletoneBase(Unregistered);

 private:
  bool mRegistered;
};

// Holder of the one instance of T (T derives from Singletone<T>). The instance is created on the
// first Instance() and destroyed by the registry at exit, which clears the pointer. During teardown
// Instance() creates nothing and returns the pointer as it is (null once destroyed). Any thread may
// call Instance(): the first caller builds the instance under the registry's lock, so a constructor
// must not wait for another thread that itself calls a getter.
template <class T>
class Singletone : public SingletoneBase {
 public:
  static T* Instance() {
    T* instance = sInstance.load(std::memory_order_acquire);
    if (instance || SingletoneRegistry::IsTearingDown()) return instance;
    SingletoneRegistry::Lock();
    instance = sInstance.load(std::memory_order_acquire);
    if (!instance && !SingletoneRegistry::IsTearingDown()) {
      instance = Create();
      sInstance.store(instance, std::memory_order_release);
    }
    SingletoneRegistry::Unlock();
    return instance;
  }
  static bool Exists() { return sInstance.load(std::memory_order_acquire) != nullptr; }

 protected:
  Singletone() = default;
  ~Singletone() override {
    // Compares through the base: the T part of this object is already gone.
    T* current = sInstance.load(std::memory_order_acquire);
    if (current && static_cast<Singletone<T>*>(current) == this) {
      sInstance.compare_exchange_strong(current, nullptr, std::memory_order_acq_rel);
    }
  }

 private:
  // Specialised where the instance comes from a factory (the application).
  static T* Create() { return new T; }

  static inline std::atomic<T*> sInstance{nullptr};
};

}  // namespace base
