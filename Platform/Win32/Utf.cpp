#include "Platform/Win32/Utf.h"

#include <utf8.h>

#include <cstdint>
#include <iterator>

namespace win32 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  auto it = text.begin();
  const auto end = text.end();
  while (it != end) {
    auto start = it;
    std::uint32_t cp = 0;
    // utf8::internal::validate_next checks overlong forms, surrogates and the range without throwing.
    const auto status = utf8::internal::validate_next(it, end, cp);
    if (status == utf8::internal::UTF8_OK) {
      AppendUtf16(out, cp);
    } else {
      // Skip one byte of a broken sequence and mark it.
      it = start + 1;
      AppendUtf16(out, kReplacement);
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  auto it = text.begin();
  while (it != text.end()) {
    std::uint32_t cp = 0;
    if (utf8::internal::validate_next(it, text.end(), cp) != utf8::internal::UTF8_OK) return false;
  }
  return true;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  auto sink = std::back_inserter(out);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // an unpaired surrogate
    }
    utf8::unchecked::append(cp, sink);
  }
  return out;
}

}  // namespace win32
