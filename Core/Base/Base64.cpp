#include "Core/Base/Base64.h"

namespace base {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Encode(const void* bytes, std::size_t n) {
  const auto* in = static_cast<const unsigned char*>(bytes);
  std::string out;
  out.reserve((n + 2) / 3 * 4);
  for (std::size_t i = 0; i < n; i += 3) {
    const std::size_t left = n - i;
    const unsigned group = static_cast<unsigned>(in[i]) << 16 | (left > 1 ? in[i + 1] << 8 : 0) | (left > 2 ? in[i + 2] : 0);
    out += kAlphabet[group >> 18 & 63];
    out += kAlphabet[group >> 12 & 63];
    out += left > 1 ? kAlphabet[group >> 6 & 63] : '=';
    out += left > 2 ? kAlphabet[group & 63] : '=';
  }
  return out;
}

std::string Base64Encode(const std::string& bytes) { return Base64Encode(bytes.data(), bytes.size()); }

std::string Base64Decode(const std::string& text) {
  std::string out;
  unsigned group = 0;
  int filled = 0;
  for (char c : text) {
    const int value = ValueOf(c);
    if (value < 0) break;
    group = group << 6 | static_cast<unsigned>(value);
    if (++filled == 4) {
      out += static_cast<char>(group >> 16 & 0xFF);
      out += static_cast<char>(group >> 8 & 0xFF);
      out += static_cast<char>(group & 0xFF);
      group = 0;
      filled = 0;
    }
  }
  if (filled >= 2) out += static_cast<char>(group >> (6 * filled - 8) & 0xFF);
  if (filled == 3) out += static_cast<char>(group >> 2 & 0xFF);
  return out;
}

}  // namespace base
