#pragma once
// Conversions between the engine's wide text (UTF-16) and 8-bit text at its borders.
#include <string>

namespace base {

enum StringEncoding : int {
  kEncodingRaw = 0,   // to wide: each byte sign-extended (0xE9 -> 0xFFE9); to 8-bit: each unit's low byte
  kEncodingUtf8 = 1,  // XML files, the log file, profile names
  kEncodingAnsi = 2,  // 8-bit paths and compiler messages; UTF-8 on Linux; cut at the first zero
  kEncodingOem = 3,   // the OEM code page; UTF-8 on Linux; cut at the first zero
};

// Any other code gives an empty text. Never fails: invalid UTF-8 and unpaired surrogates become
// U+FFFD (its UTF-8 form in 8-bit text).
std::u16string ToWide(const std::string& text, StringEncoding encoding);
std::string ToNarrow(const std::u16string& text, StringEncoding encoding);

}  // namespace base
