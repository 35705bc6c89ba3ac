#pragma once
#include <cstddef>
#include <string>

namespace base {

// One printf-style conversion spec and the rendering of one value by it. Every Put appends to the
// output: the spec's own text, unless a formatter points the output at its own text. Rendering
// never fails; every value gives some text. Char is char16_t (FormatSpec) or char (FormatSpecA).
template <class Char>
class BasicFormatSpec {
 public:
  using String = std::basic_string<Char>;

  enum FloatStyle : int { kFloatGeneral = 0, kFloatExponent = 1, kFloatFixed = 2 };
  enum Alignment : int { kAlignRight = 0, kAlignLeft = 1, kAlignCentre = 2 };
  enum BaseKind : int { kBaseDecimal = 0, kBaseHex = 1, kBaseOctal = 2, kBaseBinary = 3 };

  // All flags false, all codes 0, output = the own text (empty).
  explicit BasicFormatSpec(int width = 0, int precision = 0);
  BasicFormatSpec(const BasicFormatSpec& other);
  BasicFormatSpec& operator=(const BasicFormatSpec& other);

  // Appends one character, without fill.
  BasicFormatSpec& PutChar(Char c);
  // The text filled with blanks to the width by the alignment; never shortened, never zero-filled.
  BasicFormatSpec& PutString(const Char* text, std::size_t length);
  // Decimal (with sign), hexadecimal, octal or binary by the base kind; zero fill applies.
  BasicFormatSpec& PutInt(int value);
  // As PutInt, without a sign character.
  BasicFormatSpec& PutUnsigned(unsigned int value);
  // By the float style with precision 1..7 (0 means 6, above 7 means 7); filled with blanks.
  BasicFormatSpec& PutFloat(float value);

  const String& GetOutput() const { return *mOutput; }

  int mWidth = 0;      // minimum field width (0: none)
  int mPrecision = 0;  // digits after the point for floats (0: not given)
  bool mZeroFill = false;
  bool mPlus = false;
  bool mBlank = false;
  bool mUpperCase = false;
  bool mAlternate = false;
  int mFloatStyle = kFloatGeneral;
  int mAlignment = kAlignRight;
  int mBaseKind = kBaseDecimal;

 protected:
  // Clears every field a conversion sets.
  void ClearSpec();
  void SetOutput(String* output) { mOutput = output; }

 private:
  void PutInteger(unsigned int pattern, bool negative, bool isSigned);
  template <class Source>
  void PutFilled(const Source* text, std::size_t length);

  String* mOutput;
  String mOwnText;
};

using FormatSpec = BasicFormatSpec<char16_t>;
using FormatSpecA = BasicFormatSpec<char>;

extern template class BasicFormatSpec<char16_t>;
extern template class BasicFormatSpec<char>;

}  // namespace base
