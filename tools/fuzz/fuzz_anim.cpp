// Reads arbitrary bytes as an animation file, then evaluates every envelope around its keys.
#include <cstddef>
#include <cstdint>

#include "Core/Animation/AnimData.h"
#include "Core/Base/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  base::MemoryStream stream(data, static_cast<unsigned>(size));
  animation::AnimData anim;
  if (anim.Read(&stream) != 0) return 0;
  float sum = 0.0f;
  for (const auto& track : anim.GetTracks()) {
    for (const animation::Envelope& envelope : track->mMotion) {
      for (const animation::EnvelopeKey& key : envelope.mKeys) {
        sum += envelope.Evaluate(key.time - 1.5f) + envelope.Evaluate(key.time + 0.1f);
      }
      sum += envelope.Evaluate(anim.GetStartTime()) + envelope.Evaluate(anim.GetEndTime());
    }
  }
  return sum == 12345.0f ? 1 : 0;
}
