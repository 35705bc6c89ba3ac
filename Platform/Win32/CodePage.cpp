#include "Platform/Win32/CodePage.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "Platform/Win32/Utf.h"

namespace win32 {

namespace {

bool IsUtf8CodePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_UTF8; }

template <class Char>
std::size_t LengthWithZero(const Char* text) {
  std::size_t length = 0;
  while (text[length] != Char(0)) ++length;
  return length + 1;
}

// Copies the converted text out, or reports its size when capacity is 0.
template <class Char>
int CopyOut(const std::basic_string<Char>& converted, Char* out, int capacity) {
  const int size = static_cast<int>(converted.size());
  if (capacity == 0) return size;
  if (size > capacity) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(converted.begin(), converted.end(), out);
  return size;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD, const char* multiByte, int count, WCHAR* wide, int wideCount) {
  if (!IsUtf8CodePage(codePage) || !multiByte || count == 0 || count < -1 || wideCount < 0 ||
      (wideCount > 0 && !wide)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::size_t length = count == -1 ? LengthWithZero(multiByte) : static_cast<std::size_t>(count);
  return CopyOut(Utf8ToUtf16(std::string_view(multiByte, length)), wide, wideCount);
}

int WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* wide, int count, char* multiByte, int multiByteCount,
                        const char*, BOOL* usedDefaultChar) {
  if (usedDefaultChar) *usedDefaultChar = FALSE;
  if (!IsUtf8CodePage(codePage) || !wide || count == 0 || count < -1 || multiByteCount < 0 ||
      (multiByteCount > 0 && !multiByte)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::size_t length = count == -1 ? LengthWithZero(wide) : static_cast<std::size_t>(count);
  return CopyOut(Utf16ToUtf8(std::u16string_view(wide, length)), multiByte, multiByteCount);
}

BOOL CharToOemBuffW(const WCHAR* source, char* destination, DWORD length) {
  if (!source || !destination) return FALSE;
  const std::string converted = Utf16ToUtf8(std::u16string_view(source, length));
  std::memcpy(destination, converted.data(), converted.size());
  return TRUE;
}

BOOL OemToCharBuffW(const char* source, WCHAR* destination, DWORD length) {
  if (!source || !destination) return FALSE;
  const std::u16string converted = Utf8ToUtf16(std::string_view(source, length));
  std::copy(converted.begin(), converted.end(), destination);
  return TRUE;
}

}  // namespace win32
