#include "Core/Animation/AnimData.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/ReadString.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Lightwave/MeshLibrary.h"
#include "Core/Resource/ResourceManager.h"

namespace animation {

namespace {

// Three empty strings, four u32 and ten empty envelopes.
constexpr unsigned kAnimMinTrackBytes = 3 * 4 + 4 * 4 + AnimTrack::kMotionCount * 12;

}  // namespace

VNResultEnum AnimTrack::Read(base::Stream* stream) {
  std::uint32_t parent = 0;
  std::uint32_t flag1 = 0;
  std::uint32_t flag2 = 0;
  std::uint32_t colour = 0;
  if (base::ReadString(stream, mName) != VN_OK || base::ReadString(stream, mLibrary) != VN_OK ||
      base::ReadString(stream, mMesh) != VN_OK || base::ReadU32(stream, parent) != VN_OK ||
      base::ReadU32(stream, flag1) != VN_OK || base::ReadU32(stream, flag2) != VN_OK ||
      base::ReadU32(stream, colour) != VN_OK) {
    return VN_FAIL;
  }
  mHasParent = parent != 0;
  mParent = mHasParent ? parent - 1 : 0;
  mFlag1 = flag1 == 1;
  mFlag2 = flag2 == 1;
  if (colour == 1) {
    mColor = std::make_unique<ColorEnvelopes>();
    for (Envelope* envelope : {&mColor->mRed, &mColor->mGreen, &mColor->mBlue, &mColor->mTint}) {
      if (envelope->Read(stream) != VN_OK) return VN_FAIL;
    }
  }
  for (Envelope& envelope : mMotion) {
    if (envelope.Read(stream) != VN_OK) return VN_FAIL;
  }
  return VN_OK;
}

AnimData::~AnimData() { Clear(); }

VNResultEnum AnimData::Release() { return resource::ResourceManager::ReleaseFromManager<AnimData>(this); }

void AnimData::Clear() {
  mTracks.clear();
  mLibraries.clear();
}

VNResultEnum AnimData::DoUnLoad() {
  Clear();
  return VN_OK;
}

VNResultEnum AnimData::Read(base::Stream* stream) {
  Clear();
  std::uint32_t count = 0;
  if (base::ReadString(stream, mAnimName) != VN_OK || base::ReadF32(stream, mStartTime) != VN_OK ||
      base::ReadF32(stream, mEndTime) != VN_OK || base::ReadU32(stream, count) != VN_OK ||
      count > base::BytesLeft(stream) / kAnimMinTrackBytes) {
    return VN_FAIL;
  }
  mTracks.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    mTracks.push_back(std::make_unique<AnimTrack>(this));
    if (mTracks.back()->Read(stream) != VN_OK) {
      Clear();
      return VN_FAIL;
    }
  }
  for (const auto& track : mTracks) {
    if (track->mHasParent && track->mParent >= count) {
      Clear();
      return VN_FAIL;
    }
  }
  return VN_OK;
}

VNResultEnum AnimData::BindMeshes() {
  const std::u16string folder = base::GetDirPathNoDrive(mName);
  for (const auto& track : mTracks) {
    if (track->mLibrary == "null" || track->mLibrary == "screen_res" || track->mMesh == "null") continue;
    resource::ResourcePtr<lightwave::MeshLibrary>& library = mLibraries[track->mLibrary];
    if (!library) {
      std::u16string path = folder;
      for (char c : track->mLibrary) path.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
      path += u".lib";
      library = resource::ResourceManager::Instance()->Get<lightwave::MeshLibrary>(path);
      if (!library) return VN_FAIL;
      if (!library->IsLoaded()) {
        library->SetRender(mRender);
        const VNResultEnum result = library->Load();
        if (result != VN_OK) return result;
      }
    }
    track->mMeshData = library->FindMesh(track->mMesh);
    if (track->mMeshData == nullptr) {
      base::LogBlock(u"Animation '%s': no mesh of its track in the library\n") % mName;
      return VN_FAIL;
    }
  }
  return VN_OK;
}

VNResultEnum AnimData::DoLoad() {
  std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->Open(mName, nullptr, 0, nullptr));
  std::unique_ptr<base::Stream> stream(info ? info->Open() : nullptr);
  if (!stream) {
    base::LogBlock(u"Animation '%s' not found\n") % mName;
    return VN_FAIL;
  }
  VNResultEnum result = Read(stream.get());
  if (result != VN_OK) {
    base::LogBlock(u"Animation '%s' is damaged\n") % mName;
    return result;
  }
  result = BindMeshes();
  if (result != VN_OK) Clear();
  return result;
}

}  // namespace animation
