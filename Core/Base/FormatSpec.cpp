#include "Core/Base/FormatSpec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace base {

namespace {

constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr char kUpperDigits[] = "0123456789ABCDEF";

// Number text in reading order. No value needs more than 50 characters; the rest is dropped.
class NumberText {
 public:
  void Put(char c) {
    if (mCount < kCapacity) mText[mCount++] = c;
  }
  void Put(const char* text) {
    while (*text) Put(*text++);
  }
  void PutRepeated(char c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
  }
  const char* Data() const { return mText; }
  std::size_t Count() const { return mCount; }

 private:
  static constexpr std::size_t kCapacity = 256;
  char mText[kCapacity];
  std::size_t mCount = 0;
};

// The exact decimal digits of an integral, non-negative double. Taken from the double's own bits
// rather than a 64-bit conversion, which is undefined from 2^64 on.
void PutWholeDigits(double whole, NumberText& out) {
  constexpr int kLimbs = 34;  // 1088 bits: a 53-bit mantissa shifted by any double exponent
  std::uint32_t limbs[kLimbs] = {};
  int exponent = 0;
  const double fraction = std::frexp(whole, &exponent);  // whole = fraction * 2^exponent
  std::uint64_t mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  int shift = exponent - 53;
  if (shift < 0) {
    mantissa = -shift < 64 ? mantissa >> -shift : 0;  // whole is integral: only zero bits go
    shift = 0;
  }
  const int wordShift = shift / 32;
  const int bitShift = shift % 32;
  const std::uint64_t low = mantissa << bitShift;
  const std::uint64_t high = bitShift != 0 ? mantissa >> (64 - bitShift) : 0;
  limbs[wordShift] = static_cast<std::uint32_t>(low);
  limbs[wordShift + 1] = static_cast<std::uint32_t>(low >> 32);
  limbs[wordShift + 2] = static_cast<std::uint32_t>(high);

  char reversed[330];
  int count = 0;
  int top = kLimbs - 1;
  while (top > 0 && limbs[top] == 0) --top;
  do {
    std::uint64_t remainder = 0;
    for (int i = top; i >= 0; --i) {
      const std::uint64_t current = (remainder << 32) | limbs[i];
      limbs[i] = static_cast<std::uint32_t>(current / 10);
      remainder = current % 10;
    }
    reversed[count++] = static_cast<char>('0' + remainder);
    while (top > 0 && limbs[top] == 0) --top;
  } while (top > 0 || limbs[0] != 0);
  while (count > 0) out.Put(reversed[--count]);
}

// The integer part of r, ".", then p fraction digits cut (not rounded) from r's fraction.
void PutFixedDigits(double r, int p, NumberText& out) {
  const double whole = std::floor(r);
  PutWholeDigits(whole, out);
  out.Put('.');
  double fraction = r - whole;
  for (int i = 0; i < p; ++i) {
    fraction *= 10.0;
    const int digit = static_cast<int>(fraction);
    fraction -= digit;
    out.Put(static_cast<char>('0' + digit));
  }
}

// "e+003", "E-045": the sign always, the magnitude in exactly three digits.
void PutExponent(int exponent, bool upperCase, NumberText& out) {
  out.Put(upperCase ? 'E' : 'e');
  out.Put(exponent < 0 ? '-' : '+');
  const int magnitude = std::abs(exponent);
  out.Put(static_cast<char>('0' + magnitude / 100 % 10));
  out.Put(static_cast<char>('0' + magnitude / 10 % 10));
  out.Put(static_cast<char>('0' + magnitude % 10));
}

// The integer part of log10(a) truncated toward zero, minus 1 below 1 (a > 0).
int DecimalExponent(double a) {
  int exponent = static_cast<int>(std::log10(a));
  if (a < 1.0) --exponent;
  return exponent;
}

double PowerOfTen(int exponent) { return std::pow(10.0, exponent); }

void PutGeneral(double a, int p, bool upperCase, NumberText& out) {
  int x = DecimalExponent(a);
  // The significand as a whole number of p digits, rounded by an added half unit.
  std::uint64_t s = static_cast<std::uint64_t>((a + 5.0 * PowerOfTen(x - p)) * PowerOfTen(p - x - 1));
  std::uint64_t limit = 1;
  for (int i = 0; i < p; ++i) limit *= 10;
  if (s >= limit) {
    s /= 10;
    ++x;
  }
  while (s != 0 && s % 10 == 0) s /= 10;
  NumberText significand;
  PutWholeDigits(static_cast<double>(s), significand);
  const char* const digits = significand.Data();
  const int k = static_cast<int>(significand.Count());

  if (x >= -4 && x < p) {
    if (x < 0) {
      out.Put("0.");
      out.PutRepeated('0', -x - 1);
      for (int i = 0; i < k; ++i) out.Put(digits[i]);
    } else {
      for (int i = 0; i <= x; ++i) out.Put(i < k ? digits[i] : '0');
      if (k > x + 1) {
        out.Put('.');
        for (int i = x + 1; i < k; ++i) out.Put(digits[i]);
      }
    }
  } else {
    out.Put(digits[0]);
    if (k > 1) {
      out.Put('.');
      for (int i = 1; i < k; ++i) out.Put(digits[i]);
    }
    PutExponent(x, upperCase, out);
  }
}

}  // namespace

template <class Char>
BasicFormatSpec<Char>::BasicFormatSpec(int width, int precision)
    : mWidth(width), mPrecision(precision), mOutput(&mOwnText) {}

template <class Char>
BasicFormatSpec<Char>::BasicFormatSpec(const BasicFormatSpec& other)
    : mWidth(other.mWidth),
      mPrecision(other.mPrecision),
      mZeroFill(other.mZeroFill),
      mPlus(other.mPlus),
      mBlank(other.mBlank),
      mUpperCase(other.mUpperCase),
      mAlternate(other.mAlternate),
      mFloatStyle(other.mFloatStyle),
      mAlignment(other.mAlignment),
      mBaseKind(other.mBaseKind),
      mOutput(&mOwnText),
      mOwnText(other.mOwnText) {}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::operator=(const BasicFormatSpec& other) {
  if (this != &other) {
    mWidth = other.mWidth;
    mPrecision = other.mPrecision;
    mZeroFill = other.mZeroFill;
    mPlus = other.mPlus;
    mBlank = other.mBlank;
    mUpperCase = other.mUpperCase;
    mAlternate = other.mAlternate;
    mFloatStyle = other.mFloatStyle;
    mAlignment = other.mAlignment;
    mBaseKind = other.mBaseKind;
    mOwnText = other.mOwnText;
  }
  return *this;
}

template <class Char>
void BasicFormatSpec<Char>::ClearSpec() {
  mWidth = 0;
  mPrecision = 0;
  mZeroFill = false;
  mPlus = false;
  mBlank = false;
  mUpperCase = false;
  mAlternate = false;
  mFloatStyle = kFloatGeneral;
  mAlignment = kAlignRight;
  mBaseKind = kBaseDecimal;
}

template <class Char>
template <class Source>
void BasicFormatSpec<Char>::PutFilled(const Source* text, std::size_t length) {
  const std::size_t width = mWidth > 0 ? static_cast<std::size_t>(mWidth) : 0;
  std::size_t before = 0;
  std::size_t after = 0;
  if (length < width) {
    const std::size_t fill = width - length;
    if (mAlignment == kAlignLeft) {
      after = fill;
    } else if (mAlignment == kAlignCentre) {
      before = fill / 2;
      after = fill - before;
    } else {
      before = fill;
    }
  }
  mOutput->append(before, Char(' '));
  for (std::size_t i = 0; i < length; ++i) mOutput->push_back(static_cast<Char>(text[i]));
  mOutput->append(after, Char(' '));
}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::PutChar(Char c) {
  mOutput->push_back(c);
  return *this;
}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::PutString(const Char* text, std::size_t length) {
  PutFilled(text, length);
  return *this;
}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::PutInt(int value) {
  PutInteger(static_cast<unsigned int>(value), value < 0, true);
  return *this;
}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::PutUnsigned(unsigned int value) {
  PutInteger(value, false, false);
  return *this;
}

template <class Char>
void BasicFormatSpec<Char>::PutInteger(unsigned int pattern, bool negative, bool isSigned) {
  const char* const digits = mUpperCase ? kUpperDigits : kLowerDigits;
  char reversed[40];
  std::size_t n = 0;
  switch (mBaseKind) {
    case kBaseHex:
      do {
        reversed[n++] = digits[pattern & 0xF];
        pattern >>= 4;
      } while (pattern != 0);
      if (mAlternate) {
        reversed[n++] = mUpperCase ? 'X' : 'x';
        reversed[n++] = '0';
      }
      break;
    case kBaseOctal:
      do {
        reversed[n++] = digits[pattern & 7];
        pattern >>= 3;
      } while (pattern != 0);
      if (mAlternate) reversed[n++] = '0';
      break;
    case kBaseBinary:
      do {
        reversed[n++] = digits[pattern & 1];
        pattern >>= 1;
      } while (pattern != 0);
      break;
    default: {
      unsigned int magnitude = negative ? 0u - pattern : pattern;
      do {
        reversed[n++] = digits[magnitude % 10];
        magnitude /= 10;
      } while (magnitude != 0);
      if (isSigned) {
        if (negative) {
          reversed[n++] = '-';
        } else if (mPlus) {
          reversed[n++] = '+';
        } else if (mBlank) {
          reversed[n++] = ' ';
        }
      }
      break;
    }
  }
  char text[40];
  for (std::size_t i = 0; i < n; ++i) text[i] = reversed[n - 1 - i];

  const std::size_t width = mWidth > 0 ? static_cast<std::size_t>(mWidth) : 0;
  if (n >= width || !mZeroFill) {
    PutFilled(text, n);
    return;
  }
  // Zero fill goes between the sign (a blank included) or the hexadecimal prefix and the digits.
  std::size_t lead = 0;
  if (text[0] == '+' || text[0] == '-' || text[0] == ' ') {
    lead = 1;
  } else if (n > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    lead = 2;
  }
  for (std::size_t i = 0; i < lead; ++i) mOutput->push_back(static_cast<Char>(text[i]));
  mOutput->append(width - n, Char('0'));
  for (std::size_t i = lead; i < n; ++i) mOutput->push_back(static_cast<Char>(text[i]));
}

template <class Char>
BasicFormatSpec<Char>& BasicFormatSpec<Char>::PutFloat(float value) {
  const int p = mPrecision <= 0 ? 6 : std::min(mPrecision, 7);
  const double v = value;
  NumberText out;
  if (std::isnan(v)) {
    out.Put("NaN");
  } else if (std::isinf(v)) {
    out.Put(v < 0 ? "-INF" : "+INF");
  } else if (v == 0.0) {
    if (mFloatStyle == kFloatGeneral) {
      out.Put('0');
    } else {
      out.Put("0.");
      out.PutRepeated('0', p);
      if (mFloatStyle == kFloatExponent) PutExponent(0, mUpperCase, out);
    }
  } else {
    const double a = std::fabs(v);
    if (v < 0) {
      out.Put('-');
    } else if (mPlus) {
      out.Put('+');
    } else if (mBlank) {
      out.Put(' ');
    }
    if (mFloatStyle == kFloatFixed) {
      PutFixedDigits(a + 0.5 * PowerOfTen(-p), p, out);
    } else if (mFloatStyle == kFloatExponent) {
      int x = DecimalExponent(a);
      double m = a * PowerOfTen(-x) + 0.5 * PowerOfTen(-p);
      if (m >= 10.0) {
        m /= 10.0;
        ++x;
      }
      PutFixedDigits(m, p, out);
      PutExponent(x, mUpperCase, out);
    } else {
      PutGeneral(a, p, mUpperCase, out);
    }
  }
  PutFilled(out.Data(), out.Count());
  return *this;
}

template class BasicFormatSpec<char16_t>;
template class BasicFormatSpec<char>;

}  // namespace base
