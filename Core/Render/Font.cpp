#include "Core/Render/Font.h"

#include "Core/Render/DrawParam.h"

namespace render {

DrawUntransformedParam<DrawTextParam> Font::MeasureText(const std::u16string* text) {
  return DrawUntransformedParam<DrawTextParam>(DrawTextParam(nullptr, text, this));
}

}  // namespace render
