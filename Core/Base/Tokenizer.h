#pragma once
#include <string>

namespace base {

// Splits a text at one delimiter character. The text is trimmed of blanks and tabs at
// construction, and so is every token. Char is char (Tokenizer) or char16_t (TokenizerW).
template <class Char>
class BasicTokenizer {
 public:
  using String = std::basic_string<Char>;

  BasicTokenizer(const String& source, Char delimiter, bool skipEmpty);

  // The next token into *token (which may be null); false, with *token unchanged, when none is
  // left. With skip-empty set, tokens that are empty after trimming are passed over.
  bool Next(String* token = nullptr);
  // With skip-empty off, the number of delimiters in the text plus one; with it on, the number of
  // tokens Next gives from the start. Independent of the read position; computed once.
  int Count();

  // Removes blanks and tabs from both ends; a text of only those becomes empty.
  static void Trim(String& text);

 private:
  static constexpr std::size_t kDone = String::npos;

  String mSource;
  Char mDelimiter;
  std::size_t mPosition = 0;  // where the next token starts; kDone once the last one was taken
  bool mSkipEmpty;
  int mCount = -1;  // -1: not counted yet
};

using Tokenizer = BasicTokenizer<char>;
using TokenizerW = BasicTokenizer<char16_t>;

extern template class BasicTokenizer<char>;
extern template class BasicTokenizer<char16_t>;

// Take the next token and store its value, read as atoi and atof read it but always in the C
// locale: leading white space, a sign, as many characters as form a number, 0 when none do.
// Out of range: an int is clamped; a float becomes infinite, or zero for a negative exponent.
// When no token is left the target keeps its value. Both return the tokenizer, so reads chain.
Tokenizer& ReadTokenInt(Tokenizer& tokenizer, int& value);
Tokenizer& ReadTokenFloat(Tokenizer& tokenizer, float& value);
inline Tokenizer& operator>>(Tokenizer& tokenizer, int& value) { return ReadTokenInt(tokenizer, value); }
inline Tokenizer& operator>>(Tokenizer& tokenizer, float& value) { return ReadTokenFloat(tokenizer, value); }

}  // namespace base
