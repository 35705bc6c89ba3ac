#pragma once
#include <string>

namespace base {

// No text of the program comes near this; a larger size is a broken or wrong file.
constexpr unsigned kMaxTextFileSize = 256u << 20;

// The bytes of a file read through the file manager (packs included), up to its first 0 byte. A
// leading UTF-8 byte-order mark is dropped and reported in hasBom. Every failure (missing file,
// short read, a file too large to be a text) gives the empty string. No conversion of line ends or
// encodings is made.
std::string ReadTextFile(const std::u16string& path, bool* hasBom = nullptr);

}  // namespace base
