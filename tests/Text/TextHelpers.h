#pragma once
// Shared by the text tests: one ASCII (or byte) text as either character type.
#include <string>

namespace texttest {

// Each byte becomes one character of Char (0xE9 stays 0xE9, for char16_t as well).
template <class Char>
std::basic_string<Char> Text(const std::string& bytes) {
  std::basic_string<Char> out;
  for (unsigned char b : bytes) out.push_back(static_cast<Char>(b));
  return out;
}

}  // namespace texttest
