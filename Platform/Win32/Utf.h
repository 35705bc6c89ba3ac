#pragma once
// UTF-8 <-> UTF-16 for the platform's edges (POSIX, SDL). Never throws: invalid input becomes U+FFFD.
#include <string>
#include <string_view>

namespace win32 {

std::u16string Utf8ToUtf16(std::string_view text);
// True when every byte belongs to a well-formed UTF-8 sequence (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace win32
