#include "Core/Base/StringEncoding.h"

#include <cstdint>

#include "Platform/Win32/CodePage.h"
#include "Platform/Win32/Utf.h"

namespace base {

namespace {

// The text of a zero-terminated buffer, up to its first zero.
template <class Char>
std::basic_string<Char> UpToZero(const std::basic_string<Char>& buffer) {
  return std::basic_string<Char>(buffer.c_str());
}

std::u16string AnsiToWide(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int units = win32::MultiByteToWideChar(win32::CP_ACP, 0, text.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::u16string buffer(static_cast<std::size_t>(units) + 1, u'\0');
  win32::MultiByteToWideChar(win32::CP_ACP, 0, text.data(), size, buffer.data(), units);
  return UpToZero(buffer);
}

std::string WideToAnsi(const std::u16string& text) {
  const int size = static_cast<int>(text.size());
  const char zero = '\0';
  const int bytes = win32::WideCharToMultiByte(win32::CP_ACP, 0, text.data(), size, nullptr, 0, &zero, nullptr);
  if (bytes <= 0) return {};
  std::string buffer(static_cast<std::size_t>(bytes) + 1, '\0');
  win32::WideCharToMultiByte(win32::CP_ACP, 0, text.data(), size, buffer.data(), bytes, &zero, nullptr);
  return UpToZero(buffer);
}

std::u16string OemToWide(const std::string& text) {
  std::u16string buffer(text.size() + 1, u'\0');
  const auto length = static_cast<win32::DWORD>(text.size());
  if (win32::OemToCharBuffW(text.data(), buffer.data(), length) != win32::TRUE) return {};
  return UpToZero(buffer);
}

std::string WideToOem(const std::u16string& text) {
  // UTF-8 is the OEM code page here: up to three bytes per unit.
  std::string buffer(3 * text.size() + 1, '\0');
  const auto length = static_cast<win32::DWORD>(text.size());
  if (win32::CharToOemBuffW(text.data(), buffer.data(), length) != win32::TRUE) return {};
  return UpToZero(buffer);
}

}  // namespace

std::u16string ToWide(const std::string& text, StringEncoding encoding) {
  switch (encoding) {
    case kEncodingRaw: {
      std::u16string out;
      out.reserve(text.size());
      for (char c : text) out.push_back(static_cast<char16_t>(static_cast<std::int16_t>(static_cast<signed char>(c))));
      return out;
    }
    case kEncodingUtf8:
      return win32::Utf8ToUtf16(text);
    case kEncodingAnsi:
      return AnsiToWide(text);
    case kEncodingOem:
      return OemToWide(text);
  }
  return {};
}

std::string ToNarrow(const std::u16string& text, StringEncoding encoding) {
  switch (encoding) {
    case kEncodingRaw: {
      std::string out;
      out.reserve(text.size());
      for (char16_t c : text) out.push_back(static_cast<char>(c & 0xFF));
      return out;
    }
    case kEncodingUtf8:
      return win32::Utf16ToUtf8(text);
    case kEncodingAnsi:
      return WideToAnsi(text);
    case kEncodingOem:
      return WideToOem(text);
  }
  return {};
}

}  // namespace base
