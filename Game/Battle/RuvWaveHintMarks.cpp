#include <algorithm>
#include <cmath>

#include "Core/Render/Image.h"
#include "Game/Battle/RuvWaveHint.h"

void RuvWaveHint::addHint(float x, float y) {
  auto mark = std::make_unique<RuvFrameEntry>();
  mark->image = image;
  const float width = image ? static_cast<float>(image->GetWidth()) : 0.0f;
  const float height = image ? static_cast<float>(image->GetHeight()) : 0.0f;
  float left = std::min(1024.0f, std::trunc(std::max(0.0f, x)));
  float top = std::min(768.0f, std::trunc(std::max(0.0f, y)));
  if (left + width > 1024.0f) left = 1024.0f - width;
  if (top < 100.0f) {
    top = 100.0f;
  } else if (top + height > 668.0f) {
    top = 668.0f - height;
  }
  mark->rect[0] = left;
  mark->rect[1] = top;
  mark->rect[2] = width;
  mark->rect[3] = height;
  marks.push_back(std::move(mark));
}
