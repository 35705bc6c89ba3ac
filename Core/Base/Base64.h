#pragma once
#include <string>

namespace base {

// Standard base64 (RFC 4648 alphabet, '=' padding).
std::string Base64Encode(const void* bytes, std::size_t n);
std::string Base64Encode(const std::string& bytes);
// Decodes up to the end, the first '=' or the first character outside the alphabet (only ASCII
// letters, digits, '+' and '/' belong); the rest is ignored. A single left-over character gives
// nothing.
std::string Base64Decode(const std::string& text);

}  // namespace base
