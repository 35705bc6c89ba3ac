#include "Core/Render/DrawParticlesParam.h"

#include "Core/Render/ParticleEmitter.h"

namespace render {

VNResultEnum DrawParticlesParam::Draw(DrawParam* request) {
  if (!mEmitter) return VN_FAIL;
  ParticleDrawStatistics statistics;
  statistics.mBefore = mBoxBefore;
  statistics.mAfter = mBoxAfter;
  const VNResultEnum result = mEmitter->Draw(mGraphics, request, &statistics);
  if (result == VN_OK && mOutCount) *mOutCount = int(statistics.mCount);
  return result;
}

}  // namespace render
