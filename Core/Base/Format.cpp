#include "Core/Base/Format.h"

#include <array>
#include <cstdint>
#include <type_traits>

namespace base {

namespace {

// What one character of a spec does; the table is indexed by the character code 0..127.
enum class Handler : std::uint8_t {
  kInvalid,
  kZero,
  kDigit,
  kLeft,
  kCentre,
  kPlus,
  kBlank,
  kAlternate,
  kDot,
  kLength,
  kConversion,
  kExponent,
  kExponentUpper,
  kFixed,
  kGeneral,
  kGeneralUpper,
  kHex,
  kHexUpper,
  kOctal,
  kBinary,
};

// Phases of a spec; they must not decrease from one character to the next.
constexpr int kPhaseInvalid = 0;
constexpr int kPhaseFlag = 1;
constexpr int kPhaseWidth = 2;
constexpr int kPhaseLength = 4;
constexpr int kPhaseConversion = 5;

// Larger widths or precisions make the spec malformed: a format from a data file must not ask for
// billions of blanks or overflow the accumulator.
constexpr int kMaxField = 1024;

constexpr std::array<Handler, 128> MakeHandlerTable() {
  std::array<Handler, 128> table{};
  table['0'] = Handler::kZero;
  for (char c = '1'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = Handler::kDigit;
  table['-'] = Handler::kLeft;
  table['='] = Handler::kCentre;
  table['+'] = Handler::kPlus;
  table[' '] = Handler::kBlank;
  table['#'] = Handler::kAlternate;
  table['.'] = Handler::kDot;
  for (char c : {'h', 'l', 'L'}) table[static_cast<std::size_t>(c)] = Handler::kLength;
  for (char c : {'c', 'd', 'i', 's', 'u', 'p', 'n'}) table[static_cast<std::size_t>(c)] = Handler::kConversion;
  table['e'] = Handler::kExponent;
  table['E'] = Handler::kExponentUpper;
  table['f'] = Handler::kFixed;
  table['g'] = Handler::kGeneral;
  table['G'] = Handler::kGeneralUpper;
  table['x'] = Handler::kHex;
  table['X'] = Handler::kHexUpper;
  table['o'] = Handler::kOctal;
  table['b'] = Handler::kBinary;
  return table;
}

constexpr std::array<Handler, 128> kHandlers = MakeHandlerTable();

// Parse state of one spec, cleared at each "%".
struct ParseState {
  int phase = 0;
  bool digitSeen = false;
  int width = 0;
  bool dotSeen = false;
  int precision = 0;
  bool alternate = false;
};

template <class Char>
int Handle(unsigned int c, ParseState& state, BasicFormatSpec<Char>& spec) {
  using Spec = BasicFormatSpec<Char>;
  switch (kHandlers[c]) {
    case Handler::kInvalid:
      return kPhaseInvalid;
    case Handler::kZero:
      if (!state.digitSeen) {
        spec.mZeroFill = true;
        return kPhaseFlag;
      }
      [[fallthrough]];
    case Handler::kDigit: {
      state.digitSeen = true;
      int& accumulator = state.dotSeen ? state.precision : state.width;
      const int value = accumulator * 10 + static_cast<int>(c - '0');
      if (value > kMaxField) return kPhaseInvalid;
      accumulator = value;
      return kPhaseWidth;
    }
    case Handler::kLeft:
      spec.mAlignment = Spec::kAlignLeft;
      return kPhaseFlag;
    case Handler::kCentre:
      spec.mAlignment = Spec::kAlignCentre;
      return kPhaseFlag;
    case Handler::kPlus:
      spec.mPlus = true;
      return kPhaseFlag;
    case Handler::kBlank:
      spec.mBlank = true;
      return kPhaseFlag;
    case Handler::kAlternate:
      state.alternate = true;
      return kPhaseFlag;
    case Handler::kDot:
      state.digitSeen = true;
      if (state.dotSeen) return kPhaseInvalid;
      state.dotSeen = true;
      return kPhaseWidth;
    case Handler::kLength:
      return kPhaseLength;
    case Handler::kConversion:
      return kPhaseConversion;
    case Handler::kExponentUpper:
      spec.mUpperCase = true;
      [[fallthrough]];
    case Handler::kExponent:
      spec.mFloatStyle = Spec::kFloatExponent;
      return kPhaseConversion;
    case Handler::kFixed:
      spec.mFloatStyle = Spec::kFloatFixed;
      return kPhaseConversion;
    case Handler::kGeneralUpper:
      spec.mUpperCase = true;
      [[fallthrough]];
    case Handler::kGeneral:
      spec.mFloatStyle = Spec::kFloatGeneral;
      return kPhaseConversion;
    case Handler::kHexUpper:
      spec.mUpperCase = true;
      [[fallthrough]];
    case Handler::kHex:
      spec.mBaseKind = Spec::kBaseHex;
      return kPhaseConversion;
    case Handler::kOctal:
      spec.mBaseKind = Spec::kBaseOctal;
      return kPhaseConversion;
    case Handler::kBinary:
      spec.mBaseKind = Spec::kBaseBinary;
      return kPhaseConversion;
  }
  return kPhaseInvalid;
}

template <class Char>
unsigned int CodeOf(Char c) {
  return static_cast<std::make_unsigned_t<Char>>(c);
}

template <class Char>
std::size_t LengthOf(const Char* text) {
  std::size_t length = 0;
  if (text) {
    while (text[length] != Char(0)) ++length;
  }
  return length;
}

}  // namespace

template <class Char>
BasicFormat<Char>::BasicFormat(const Char* format) : BasicFormat(format ? String(format) : String()) {}

template <class Char>
BasicFormat<Char>::BasicFormat(const String& format) : mFormat(format) {
  this->SetOutput(&mText);
  this->ClearSpec();
  mComplete = Scan();
}

template <class Char>
BasicFormat<Char>::BasicFormat(const BasicFormat& other)
    : BasicFormatSpec<Char>(other),
      mFormat(other.mFormat),
      mPosition(other.mPosition),
      mError(other.mError),
      mComplete(other.mComplete),
      mText(other.mText) {
  this->SetOutput(&mText);
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator=(const BasicFormat& other) {
  BasicFormatSpec<Char>::operator=(other);
  mFormat = other.mFormat;
  mPosition = other.mPosition;
  mError = other.mError;
  mComplete = other.mComplete;
  mText = other.mText;
  return *this;
}

template <class Char>
bool BasicFormat<Char>::Scan() {
  this->ClearSpec();
  const std::size_t length = mFormat.size();
  while (mPosition < length) {
    Char c = mFormat[mPosition];
    if (c == Char('%')) {
      ++mPosition;
      ParseState state;
      while (mPosition < length) {
        const Char d = mFormat[mPosition];
        const unsigned int code = CodeOf(d);
        const int phase = code == 0 || code > 127 ? kPhaseInvalid : Handle(code, state, *this);
        if (phase == kPhaseConversion) {
          this->mWidth = state.width;
          this->mPrecision = state.precision;
          this->mAlternate = state.alternate;
          ++mPosition;
          return false;
        }
        if (phase == kPhaseInvalid || phase < state.phase) {
          // A malformed spec: its last character stands for it ("%%" gives "%").
          if (d != Char('%')) mError = true;
          c = d;
          break;
        }
        state.phase = phase;
        ++mPosition;
      }
      // Cut off by the end of the format: the last character read stands for the spec.
      if (mPosition >= length) c = mFormat[length - 1];
    }
    mText.push_back(c);
    ++mPosition;
  }
  return true;
}

template <class Char>
void BasicFormat<Char>::PutRest() {
  if (mPosition < mFormat.size()) mText.append(mFormat, mPosition, String::npos);
  mPosition = static_cast<unsigned int>(mFormat.size());
}

template <class Char>
typename BasicFormat<Char>::String BasicFormat<Char>::GetResult() {
  PutRest();
  return mText;
}

template <class Char>
template <class Render>
BasicFormat<Char>& BasicFormat<Char>::Apply(Render render) {
  if (!mComplete) {
    render();
    mComplete = Scan();
  }
  return *this;
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::ArgInt(int value) {
  return Apply([&] { this->PutInt(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::ArgUnsigned(unsigned int value) {
  return Apply([&] { this->PutUnsigned(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::ArgFloat(float value) {
  return Apply([&] { this->PutFloat(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::ArgString(const Char* text) {
  return Apply([&] { this->PutString(text, LengthOf(text)); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::ArgString(const String& text) {
  return Apply([&] { this->PutString(text.data(), text.size()); });
}

template class BasicFormat<char16_t>;
template class BasicFormat<char>;

Format MakeFormat(const char16_t* format) { return Format(format); }

Format MakeFormatFromString(const std::u16string& format) { return Format(format); }

}  // namespace base
