#include "Game/Tables/RuvSpellSheet.h"

#include <cstdlib>

#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Core/Base/Tokenizer.h"
#include "Core/Render/Image.h"
#include "Game/Art/RuvFrameEntry.h"

namespace {

constexpr int kSpellRowFields = 5;

render::Image* spellSheetIcon(const std::string& path) {
  return path.empty() ? nullptr : ruvLoadImage(base::ToWide(path, base::kEncodingUtf8), nullptr);
}

}  // namespace

RuvSpellSheet::RuvSpellSheet() {
  parse(base::ReadTextFile(kPath));
  for (const std::unique_ptr<RuvSpellRow>& row : rows) {
    row->icon.reset(spellSheetIcon(row->iconPath));
    row->secondIcon.reset(spellSheetIcon(row->secondIconPath));
  }
}

RuvSpellSheet::RuvSpellSheet(const std::string& text) { parse(text); }

RuvSpellSheet::~RuvSpellSheet() = default;

void RuvSpellSheet::parse(const std::string& text) {
  base::Tokenizer lines(text, '\n', true);
  std::string line;
  while (lines.Next(&line)) {
    base::Tokenizer tokens(line, ';', false);
    std::vector<std::string> fields;
    std::string field;
    while (tokens.Next(&field)) fields.push_back(field);
    if (fields.empty() || fields[0] == "#") continue;
    // A short row names no prototype or no number: it cannot be cast, so it is left out.
    if (int(fields.size()) < kSpellRowFields) continue;
    auto row = std::make_unique<RuvSpellRow>();
    row->protoId = std::atoi(fields[1].c_str());
    row->iconPath = fields[2];
    row->secondIconPath = fields[3];
    row->spellNumber = std::atoi(fields[4].c_str());
    if (fields.size() > 5) row->rechargePrice = std::atoi(fields[5].c_str());
    rows.push_back(std::move(row));
  }
}

const RuvSpellRow* RuvSpellSheet::findSpell(int number) const {
  for (const std::unique_ptr<RuvSpellRow>& row : rows) {
    if (row->spellNumber == number) return row.get();
  }
  return nullptr;
}
