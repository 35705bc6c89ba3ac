#pragma once
#include <cstdint>

namespace render {

// Layout options of a text draw; a value type.
struct TextFormat {
  float mLetterSpacing = 0.0f;     // added to every glyph's and blank's advance
  float mWrapWidth = 0.0f;         // above 0: lines wrap at this width
  uint32_t mAlignment = 0;         // 0 left, 1 right, 2 centre, 3 justify
  char16_t mNewline = 10;          // the character that ends a line
  char16_t mFallback = 0;          // glyph for characters the font lacks; 0 = none
  float mLineSpacing = 0.0f;       // added to the line advance
  float mIndent = 0.0f;            // x offset of each paragraph's first line
  bool mJustifyCharacters = true;  // justify: a wrapped line without blanks spreads its characters
  bool mFitToText = true;          // false with a wrap width: the block is the wrap width wide
};

}  // namespace render
