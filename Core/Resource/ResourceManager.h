#pragma once
#include <map>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Core/Resource/Resource.h"
#include "Core/Resource/ResourcePtr.h"

namespace resource {

// Frees one per-type map when the manager is destroyed.
class Destroyer {
 public:
  virtual ~Destroyer() = default;
};

// The cache of resources by type and name. Every singleton that holds resource handles must name the
// manager among its dependencies, so that the handles are dropped before the maps go.
class ResourceManager : public base::Singletone<ResourceManager> {
 public:
  template <class T>
  struct Entry {
    T* resource;
    int* count;
  };
  // Keys compare by UTF-16 code units (exact, case-sensitive).
  template <class T>
  using Map = std::map<std::u16string, Entry<T>>;

  // Deletes the destroyers in the order the maps were first used. Resources still cached are
  // neither unloaded nor deleted: their holders must have dropped them before.
  ~ResourceManager() override;

  // The cached resource or a new, named, not loaded one; an empty handle when Init fails.
  template <class T>
  ResourcePtr<T> Get(const std::u16string& name);
  // Unloads (when loaded) and deletes a resource of type T and removes it from the cache. A resource
  // that is not cached is left alone (0); a failed unload is returned and the resource stays.
  template <class T>
  VNResultEnum Release(T* resource);
  // The map of type T, created (with its destroyer) on first use.
  template <class T>
  Map<T>& GetMap();

  // For the Release slot of each resource type: releases through the manager, or does nothing once
  // the manager has been destroyed at exit.
  template <class T>
  static VNResultEnum ReleaseFromManager(T* resource) {
    ResourceManager* manager = Instance();
    return manager ? manager->Release<T>(resource) : VN_OK;
  }

 private:
  template <class T>
  class MapDestroyer : public Destroyer {
   public:
    ~MapDestroyer() override {
      delete MapSlot<T>();
      MapSlot<T>() = nullptr;
    }
  };

  template <class T>
  static Map<T>*& MapSlot() {
    static Map<T>* map = nullptr;
    return map;
  }

  std::vector<Destroyer*> mDestroyers;
};

template <class T>
ResourceManager::Map<T>& ResourceManager::GetMap() {
  Map<T>*& map = MapSlot<T>();
  if (!map) {
    map = new Map<T>;
    mDestroyers.push_back(new MapDestroyer<T>);
  }
  return *map;
}

template <class T>
ResourcePtr<T> ResourceManager::Get(const std::u16string& name) {
  Map<T>& map = GetMap<T>();
  const auto found = map.find(name);
  if (found != map.end()) return ResourcePtr<T>(found->second.resource, found->second.count);
  T* resource = new T;
  if (resource->Init(name) != VN_OK) {
    delete resource;
    return {};
  }
  int* count = new int(0);
  map.emplace(name, Entry<T>{resource, count});
  return ResourcePtr<T>(resource, count);
}

template <class T>
VNResultEnum ResourceManager::Release(T* resource) {
  Map<T>& map = GetMap<T>();
  for (auto it = map.begin(); it != map.end(); ++it) {
    if (it->second.resource != resource) continue;
    if (resource->IsLoaded()) {
      const VNResultEnum result = resource->UnLoad();
      if (result != VN_OK) return result;
    }
    delete resource;
    delete it->second.count;
    map.erase(it);
    return VN_OK;
  }
  return VN_OK;
}

}  // namespace resource
