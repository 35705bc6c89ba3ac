#pragma once
#include "Core/Resource/Resource.h"
#include "Platform/Bass/Bass.h"

namespace resource {

// The decoded sample of one sound file, shared by every Sound of that file.
class ResourceSound : public Resource {
 public:
  // Candidate extensions in order of preference: the name as given, ".ogg", ".wav".
  static const char16_t* const* GetExtensions();
  static unsigned GetExtensionCount();

  VNResultEnum Release() override;
  // Reads the file whole and decodes it into a sample. 1 when no candidate exists or nothing
  // decodes (logged).
  VNResultEnum DoLoad() override;
  // Frees the sample (and its channels).
  VNResultEnum DoUnLoad() override;

  // 0 while not loaded.
  bass::HSAMPLE GetSample() const { return mSample; }

 private:
  bass::HSAMPLE mSample = 0;
};

}  // namespace resource
