#pragma once
#include <string>

#include "Core/Base/Result.h"

namespace resource {

// A named, file-backed asset that is loaded once and shared through ResourcePtr handles. Getting a
// resource (ResourceManager::Get) never loads it: its user calls Load.
class Resource {
 public:
  Resource() = default;
  Resource(const Resource&) = delete;
  Resource& operator=(const Resource&) = delete;
  virtual ~Resource() = default;

  // Hands this object to ResourceManager::Release<T> of the concrete type (ReleaseFromManager).
  // Runs when the last handle is dropped.
  virtual VNResultEnum Release() = 0;
  // Run by Init after the name is set.
  virtual VNResultEnum OnInit() { return VN_OK; }
  virtual VNResultEnum DoLoad() = 0;
  virtual VNResultEnum DoUnLoad() = 0;

  // Names the resource; used by the manager when it creates it.
  VNResultEnum Init(const std::u16string& name);
  // DoLoad unless already loaded (then only a warning in the log and 0); DoLoad's failure unchanged.
  VNResultEnum Load();
  // DoUnLoad unless not loaded (then only a warning in the log and 0); DoUnLoad's failure unchanged.
  VNResultEnum UnLoad();

  bool IsLoaded() const { return mLoaded; }
  const std::u16string& GetName() const { return mName; }

 protected:
  std::u16string mName;
  bool mLoaded = false;
};

}  // namespace resource
