// Reads arbitrary bytes as bitmap-font XML, pages loaded by the recording renderer from the small
// test font's folder, then lays out and measures a text with whatever was read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/TextFormat.h"
#include "tests/fakes/RecordingRender.h"

namespace {

const std::string kFuzzFontName = std::string(QM_SOURCE_DIR) + "/tests/data/fonts/tiny";

class FuzzFont : public render::BMFont {
 public:
  FuzzFont() { Init(std::u16string(kFuzzFontName.begin(), kFuzzFontName.end())); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  static fakes::RecordingRender* render = [] {
    auto* made = new fakes::RecordingRender;
    made->Init();
    return made;
  }();
  base::MemoryStream stream(data, static_cast<unsigned>(size));
  FuzzFont font;
  font.SetRender(render);
  font.Parse(&stream);
  render::TextFormat format;
  format.mWrapWidth = 40.0f;
  format.mFallback = u'?';
  float measured[2] = {0.0f, 0.0f};
  font.DrawText(nullptr, nullptr, u"AV A\tV\n  VA AAAA VVVV \u0416", format, measured);
  return 0;
}
