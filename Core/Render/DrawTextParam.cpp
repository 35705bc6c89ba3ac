#include "Core/Render/DrawTextParam.h"

#include <cmath>

#include "Core/Render/DrawParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/VertexPositions.h"
#include "Core/Render/Vertices.h"

namespace render {

DrawTextParam::DrawTextParam(Graphics* graphics, const std::u16string* text, Font* font)
    : GraphicsFriend(graphics), mText(text), mFont(font) {}

DrawTextParam::DrawTextParam(const DrawTextParam& other)
    : GraphicsFriend(other.mGraphics),
      mText(other.mText),
      mFont(other.mFont),
      mFormat(other.mFormat),
      mHorizontalAnchor(other.mHorizontalAnchor),
      mVerticalAnchor(other.mVerticalAnchor),
      mOutWidth(other.mOutWidth),
      mOutHeight(other.mOutHeight),
      mOutBox(other.mOutBox) {}

VNResultEnum DrawTextParam::Draw(DrawParam* request) {
  if (mGraphics) SetGraphics(mGraphics);  // the context's renderer and state may have changed
  mOuter = request;
  if (!mFont || !mText) return VN_FAIL;
  const VNResultEnum result = mFont->DrawText(mGraphics, this, *mText, mFormat, mSize);
  if (result != VN_OK) return result;
  const float width = mSize[0];
  const float height = mSize[1];
  if (mOutWidth) *mOutWidth = width;
  if (mOutHeight) *mOutHeight = height;
  if (mOutBox) {
    SVertex2D corners[4] = {};
    const float xs[4] = {0.0f, width, width, 0.0f};
    const float ys[4] = {0.0f, 0.0f, height, height};
    for (int i = 0; i < 4; ++i) {
      corners[i].x = xs[i];
      corners[i].y = ys[i];
      corners[i].w = 1.0f;
    }
    TransformVertices(corners, SVertex2D::GetFormat(), 4);
    mOutBox->Reset();
    for (const SVertex2D& corner : corners) mOutBox->AddPoint(math::Point3(corner.x, corner.y, corner.z));
  }
  return VN_OK;
}

VNResultEnum DrawTextParam::TransformVertices(void* vertices, const VertexFormat& format, unsigned count) {
  float dx = 0.0f;
  if (mHorizontalAnchor == kAnchorEnd) dx = -mSize[0];
  if (mHorizontalAnchor == kAnchorCentre) dx = std::floor(mSize[0] * -0.5f);
  float dy = 0.0f;
  if (mVerticalAnchor == kAnchorEnd) dy = -mSize[1];
  if (mVerticalAnchor == kAnchorCentre) dy = -std::floor(mSize[1] * 0.5f);
  if (mVerticalAnchor == kAnchorBase && mFont) dy = -mFont->GetBase();
  if (dx != 0.0f || dy != 0.0f) {
    ForEachPosition(vertices, format, count, [dx, dy](float* p, int) {
      p[0] += dx;
      p[1] += dy;
    });
  }
  VNResultEnum result = mOuter ? mOuter->TransformVertices(vertices, format, count) : VN_OK;
  if (result == VN_OK && mGraphics) result = GraphicsFriend::TransformVertices(vertices, format, count);
  return result;
}

}  // namespace render
