#pragma once
#include <utility>
#include <vector>

#include "Core/Base/NoCopy.h"

namespace base {

class SingletoneBase;

// The process-wide list of singletons; destroys them at exit in dependency order.
class SingletoneRegistry {
 public:
  using Pair = std::pair<SingletoneBase*, SingletoneBase*>;

  // Orders instances so that each singleton precedes those it depends on and every pair's first
  // precedes its second. Gives up after a bounded number of passes (a declared cycle).
  static void SortByDependencies(std::vector<SingletoneBase*>& instances, const std::vector<Pair>& pairs);
  // Sorts and deletes every registered singleton from the front. Runs at process exit.
  static void DestroyAll();
  // True from the start of DestroyAll on: getters then create nothing.
  static bool IsTearingDown();

  static void Register(SingletoneBase* instance);
  static void AddPair(SingletoneBase* first, SingletoneBase* second);
  static const std::vector<SingletoneBase*>& Instances();
};

class SingletoneBase : public NoCopy {
 public:
  SingletoneBase();
  virtual ~SingletoneBase();
  // The singletons that must still exist while this one is destroyed.
  virtual std::vector<SingletoneBase*> GetDependencies();

  // Declares that first is destroyed before second; neither needs to exist yet.
  static void AddDependency(SingletoneBase* first, SingletoneBase* second);
};

// Holder of the one instance of T (T derives from Singletone<T>). The instance is created on the
// first Instance() and destroyed by the registry at exit, which clears the pointer. During teardown
// Instance() creates nothing and returns the pointer as it is (null once destroyed).
template <class T>
class Singletone : public SingletoneBase {
 public:
  static T* Instance() {
    if (!sInstance && !SingletoneRegistry::IsTearingDown()) sInstance = Create();
    return sInstance;
  }
  static bool Exists() { return sInstance != nullptr; }

 protected:
  Singletone() = default;
  ~Singletone() override {
    if (sInstance && static_cast<Singletone<T>*>(sInstance) == this) sInstance = nullptr;
  }

 private:
  // Specialised where the instance comes from a factory (the application).
  static T* Create() { return new T; }

  static inline T* sInstance = nullptr;
};

}  // namespace base
