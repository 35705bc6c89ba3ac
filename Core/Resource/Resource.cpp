#include "Core/Resource/Resource.h"

#include "Core/Base/LogMessage.h"

namespace resource {

VNResultEnum Resource::Init(const std::u16string& name) {
  if (&name != &mName) mName = name;
  return OnInit();
}

VNResultEnum Resource::Load() {
  if (mLoaded) {
    base::LogBlock(u"Trying to Load already loaded resource '%s'.\n") % mName;
    return VN_OK;
  }
  const VNResultEnum result = DoLoad();
  if (result != VN_OK) return result;
  mLoaded = true;
  return VN_OK;
}

VNResultEnum Resource::UnLoad() {
  if (!mLoaded) {
    base::LogBlock(u"Trying to UnLoad already unloaded resource '%s'.\n") % mName;
    return VN_OK;
  }
  const VNResultEnum result = DoUnLoad();
  if (result != VN_OK) return result;
  mLoaded = false;
  return VN_OK;
}

}  // namespace resource
