#pragma once
#include <string>

#include "Core/Base/FormatSpec.h"

namespace base {

// Printf-style formatter: built from a format text, it takes its arguments one at a time; each
// fills the next "%" conversion, and the literal text up to the following conversion is copied
// when the scan reaches it. Conversions: flags "-" (left), "=" (centred), "+", " ", "#", "0";
// width and "." precision (at most 1024; no "*"); length modifiers "h", "l", "L"; letters
// c d i s u p n e E f g G x X o b. The argument's type chooses the rendering, the letter only sets
// the spec: an int under "%s" prints its digits, a text under "%d" prints the text.
// Nothing fails: a malformed spec sets the error flag and the text goes on.
template <class Char>
class BasicFormat : public BasicFormatSpec<Char> {
 public:
  using String = std::basic_string<Char>;

  // Copies the format and scans up to its first conversion. A null format is an empty one.
  explicit BasicFormat(const Char* format);
  explicit BasicFormat(const String& format);
  BasicFormat(const BasicFormat& other);
  BasicFormat& operator=(const BasicFormat& other);

  // Each renders its argument into the pending conversion and scans on; ignored once complete.
  BasicFormat& ArgInt(int value);
  BasicFormat& ArgUnsigned(unsigned int value);
  BasicFormat& ArgFloat(float value);
  BasicFormat& ArgString(const Char* text);  // null counts as an empty text
  BasicFormat& ArgString(const String& text);
  BasicFormat& operator%(int value) { return ArgInt(value); }
  BasicFormat& operator%(unsigned int value) { return ArgUnsigned(value); }
  BasicFormat& operator%(float value) { return ArgFloat(value); }
  BasicFormat& operator%(const Char* text) { return ArgString(text); }
  BasicFormat& operator%(const String& text) { return ArgString(text); }

  // Copies literal text up to the next conversion and parses its spec. True when the format is
  // exhausted with no conversion pending, false when a conversion waits for its argument.
  bool Scan();
  // Copies the rest of the format unparsed; a second call adds nothing.
  void PutRest();
  // Takes the result: PutRest, then a copy of the output.
  String GetResult();

  bool IsComplete() const { return mComplete; }
  bool HasError() const { return mError; }

 private:
  template <class Render>
  BasicFormat& Apply(Render render);

  String mFormat;
  unsigned int mPosition = 0;
  bool mError = false;
  bool mComplete = false;
  String mText;
};

using Format = BasicFormat<char16_t>;
using FormatA = BasicFormat<char>;

extern template class BasicFormat<char16_t>;
extern template class BasicFormat<char>;

Format MakeFormat(const char16_t* format);
Format MakeFormatFromString(const std::u16string& format);

}  // namespace base
