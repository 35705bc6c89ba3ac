#pragma once
// Code-page conversions. On Linux the ANSI and the OEM code pages are UTF-8. Nothing throws:
// invalid UTF-8 and unpaired surrogates become U+FFFD.
#include "Platform/Win32/Types.h"

namespace win32 {

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;

// count: the input's length in bytes, or -1 for a zero-terminated input (its zero is converted too).
// With wideCount 0, returns the number of units the conversion needs. Otherwise converts into wide
// and returns the units written. 0 with ERROR_INSUFFICIENT_BUFFER when they do not fit; 0 with
// ERROR_INVALID_PARAMETER for an empty input, another code page or a bad argument. flags: ignored.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int count, WCHAR* wide, int wideCount);
// The reverse, with the same rules (multiByteCount 0 asks for the size). Every character can be
// written in UTF-8, so defaultChar is never used and *usedDefaultChar becomes FALSE.
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide, int count, char* multiByte,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar);

// Converts length units of source into the OEM code page, without a terminating zero. A UTF-16
// unit takes up to three bytes of UTF-8, so destination must hold 3 * length bytes. TRUE on success.
BOOL CharToOemBuffW(const WCHAR* source, char* destination, DWORD length);
// Converts length bytes of OEM text into destination, without a terminating zero; UTF-8 never
// gives more units than bytes, so length units of room suffice. TRUE on success.
BOOL OemToCharBuffW(const char* source, WCHAR* destination, DWORD length);

}  // namespace win32
