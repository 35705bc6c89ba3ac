#include "Core/Base/Tokenizer.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace base {

namespace {

bool IsTrimmed(char16_t c) { return c == u' ' || c == u'\t'; }

// The C locale's white space, as atoi and atof skip it.
bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Where the number of a token starts: after white space and the sign, which is reported.
const char* SkipToDigits(const std::string& token, bool& negative) {
  const char* p = token.c_str();
  while (IsCSpace(*p)) ++p;
  negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  return p;
}

int ParseInt(const std::string& token) {
  bool negative = false;
  const char* const first = SkipToDigits(token, negative);
  const char* const last = token.c_str() + token.size();
  unsigned long long magnitude = 0;
  const std::from_chars_result result = std::from_chars(first, last, magnitude);
  if (result.ptr == first) return 0;
  const unsigned long long limit =
      negative ? 0ull - static_cast<unsigned long long>(std::numeric_limits<int>::min())
               : static_cast<unsigned long long>(std::numeric_limits<int>::max());
  if (result.ec == std::errc::result_out_of_range || magnitude > limit) {
    return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  }
  return negative ? static_cast<int>(0ull - magnitude) : static_cast<int>(magnitude);
}

double ParseDouble(const std::string& token) {
  bool negative = false;
  const char* const first = SkipToDigits(token, negative);
  const char* const last = token.c_str() + token.size();
  if (*first == '-' || *first == '+') return 0;  // a second sign: no number
  const bool hex = first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
  const char* const digits = hex ? first + 2 : first;
  double value = 0;
  const std::from_chars_result result =
      std::from_chars(digits, last, value, hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ptr == digits) return 0;
  if (result.ec == std::errc::result_out_of_range) {
    const char exponentLetter = hex ? 'p' : 'e';
    bool negativeExponent = false;
    for (const char* p = digits; p + 1 < result.ptr; ++p) {
      if ((*p | 0x20) == exponentLetter) negativeExponent = p[1] == '-';
    }
    value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

}  // namespace

template <class Char>
BasicTokenizer<Char>::BasicTokenizer(const String& source, Char delimiter, bool skipEmpty)
    : mSource(source), mDelimiter(delimiter), mSkipEmpty(skipEmpty) {
  Trim(mSource);
}

template <class Char>
void BasicTokenizer<Char>::Trim(String& text) {
  std::size_t end = text.size();
  while (end > 0 && IsTrimmed(static_cast<char16_t>(text[end - 1]))) --end;
  std::size_t begin = 0;
  while (begin < end && IsTrimmed(static_cast<char16_t>(text[begin]))) ++begin;
  text = text.substr(begin, end - begin);
}

template <class Char>
bool BasicTokenizer<Char>::Next(String* token) {
  while (mPosition != kDone) {
    const std::size_t delimiter = mSource.find(mDelimiter, mPosition);
    String piece = mSource.substr(mPosition, delimiter == String::npos ? String::npos : delimiter - mPosition);
    Trim(piece);
    mPosition = delimiter == String::npos ? kDone : delimiter + 1;
    if (mSkipEmpty && piece.empty()) continue;
    if (token) *token = std::move(piece);
    return true;
  }
  return false;
}

template <class Char>
int BasicTokenizer<Char>::Count() {
  if (mCount < 0) {
    if (mSkipEmpty) {
      BasicTokenizer fromStart(*this);
      fromStart.mPosition = 0;
      mCount = 0;
      while (fromStart.Next()) ++mCount;
    } else {
      mCount = 1;
      for (Char c : mSource) mCount += c == mDelimiter;
    }
  }
  return mCount;
}

template class BasicTokenizer<char>;
template class BasicTokenizer<char16_t>;

Tokenizer& ReadTokenInt(Tokenizer& tokenizer, int& value) {
  std::string token;
  if (tokenizer.Next(&token)) value = ParseInt(token);
  return tokenizer;
}

Tokenizer& ReadTokenFloat(Tokenizer& tokenizer, float& value) {
  std::string token;
  if (tokenizer.Next(&token)) value = static_cast<float>(ParseDouble(token));
  return tokenizer;
}

}  // namespace base
