// Format texts, encodings and tokenizers over untrusted bytes: localised strings and data files
// reach all three.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "Core/Base/Format.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/Tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  base::FormatA narrow(bytes);
  narrow % 42 % -7 % 3.5f % "text" % 4000000000u % 3.0e38f % -1.0e-30f;
  narrow.GetResult();

  for (int code = 0; code <= 4; ++code) {
    const auto encoding = static_cast<base::StringEncoding>(code);
    base::Format wide(base::ToWide(bytes, encoding));
    wide % std::numeric_limits<int>::min() % 0.0f % u"wide" % 7u % 123456.789f;
    base::ToNarrow(wide.GetResult(), encoding);
  }

  base::Tokenizer tokenizer(bytes, ',', size % 2 == 0);
  tokenizer.Count();
  int value = 0;
  float number = 0.0f;
  for (int i = 0; i < 64 && tokenizer.Next(nullptr); ++i) tokenizer >> value >> number;
  return 0;
}
