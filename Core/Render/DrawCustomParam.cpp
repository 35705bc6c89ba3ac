#include "Core/Render/DrawCustomParam.h"

#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shader.h"

namespace render {

namespace {

unsigned PrimitiveCount(int type, unsigned n) {
  switch (type) {
    case Render::kLineList:
      return n / 2;
    case Render::kLineStrip:
      return n ? n - 1 : 0;
    case Render::kTriangleList:
      return n / 3;
    case Render::kTriangleStrip:
    case Render::kTriangleFan:
      return n >= 2 ? n - 2 : 0;
    default:
      return n;
  }
}

}  // namespace

VNResultEnum DrawCustomParam::Draw(DrawParam* request) {
  if (!mGraphics || !mVertices || !mShader) return VN_FAIL;
  VNResultEnum result = request ? request->TransformVertices(mVertices, mFormat, mVertexCount) : VN_OK;
  if (result == VN_OK) result = TransformVertices(mVertices, mFormat, mVertexCount);
  if (result != VN_OK) return result;
  ApplyHalfPixelOffset(mVertices, mFormat, mVertexCount);

  SetShader(mShader->GetProgram());
  if ((result = SetProjection(mShader)) != VN_OK) return result;
  if (mPrimitiveCount == 0) mPrimitiveCount = PrimitiveCount(mType, mIndexBuffer ? mIndexCount : mVertexCount);

  SetVertexBuffer(mVertexBuffer);
  if (mIndexBuffer) {
    SetIndexBuffer(mIndexBuffer);
    if ((result = ApplyState()) != VN_OK) return result;
    return mRender->DrawIndexed(uint32_t(mType), mIndexStart, mPrimitiveCount, mVertexStart, mVertexCount);
  }
  if ((result = ApplyState()) != VN_OK) return result;
  return mRender->Draw(uint32_t(mType), mVertexStart, mPrimitiveCount);
}

}  // namespace render
