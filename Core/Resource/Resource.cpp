#include "Core/Resource/Resource.h"

namespace resource {

VNResultEnum Resource::Init(const std::u16string& name) {
  if (&name != &mName) mName = name;
  return OnInit();
}

VNResultEnum Resource::Load() {
  if (mLoaded) return VN_OK;
  const VNResultEnum result = DoLoad();
  if (result != VN_OK) return result;
  mLoaded = true;
  return VN_OK;
}

VNResultEnum Resource::UnLoad() {
  if (!mLoaded) return VN_OK;
  const VNResultEnum result = DoUnLoad();
  if (result != VN_OK) return result;
  mLoaded = false;
  return VN_OK;
}

}  // namespace resource
