#include "Core/Resource/ResourceSound.h"

#include <memory>
#include <vector>

#include "Core/Base/LogMessage.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"

namespace resource {

namespace {

const char16_t* const kSoundExtensions[] = {u"", u".ogg", u".wav"};
const unsigned kSoundExtensionCount = sizeof(kSoundExtensions) / sizeof(kSoundExtensions[0]);
// Simultaneous playbacks a sample allows.
constexpr bass::DWORD kSoundMaxChannels = 65535;

}  // namespace

const char16_t* const* ResourceSound::GetExtensions() { return kSoundExtensions; }

unsigned ResourceSound::GetExtensionCount() { return kSoundExtensionCount; }

VNResultEnum ResourceSound::Release() { return ResourceManager::ReleaseFromManager<ResourceSound>(this); }

VNResultEnum ResourceSound::DoLoad() {
  file::FileManager* files = file::FileManager::Instance();
  std::unique_ptr<file::FileInfo> file(files ? files->Open(GetName(), kSoundExtensions, kSoundExtensionCount, nullptr) : nullptr);
  if (!file) return VN_FAIL;
  std::unique_ptr<base::Stream> stream(file->Open());
  bass::DWORD read = 0;
  std::vector<unsigned char> buffer;
  if (stream) {
    const unsigned size = stream->GetSize();
    buffer.resize(std::size_t(size) + 1);
    read = stream->Read(buffer.data(), size);
  }
  mSample = bass::BASS_SampleLoad(bass::TRUE, buffer.data(), 0, read, kSoundMaxChannels, 0);
  if (mSample == 0) {
    base::LogBlock(u"Can't decode sound '%s'.\n") % file->GetPath();
    return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum ResourceSound::DoUnLoad() {
  bass::BASS_SampleFree(mSample);
  mSample = 0;
  return VN_OK;
}

}  // namespace resource
