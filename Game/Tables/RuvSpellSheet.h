#pragma once
// The spell rows of "ruv/spells_sheet.csv": the prototype a spell button casts, its icons and its
// recharge price. Read once with the map.
#include <memory>
#include <string>
#include <vector>

namespace render {
class Image;
}

struct RuvSpellRow {
  RuvSpellRow() = default;
  RuvSpellRow(const RuvSpellRow&) = delete;
  RuvSpellRow& operator=(const RuvSpellRow&) = delete;

  std::string iconPath;
  std::string secondIconPath;
  int protoId = 0;
  int spellNumber = 0;
  int rechargePrice = 0;  // gems; 0 when the row has no sixth field
  std::unique_ptr<render::Image> icon;        // null when the path is empty or does not load
  std::unique_ptr<render::Image> secondIcon;  // likewise
};

class RuvSpellSheet {
 public:
  static constexpr char16_t kPath[] = u"ruv/spells_sheet.csv";

  // Reads kPath; an unreadable file gives no rows.
  RuvSpellSheet();
  // Rows of the text, without loading their icons.
  explicit RuvSpellSheet(const std::string& text);
  ~RuvSpellSheet();
  RuvSpellSheet(const RuvSpellSheet&) = delete;
  RuvSpellSheet& operator=(const RuvSpellSheet&) = delete;

  // The first row of that spell number; null when none.
  const RuvSpellRow* findSpell(int number) const;

  std::vector<std::unique_ptr<RuvSpellRow>> rows;

 private:
  // Lines split at ";"; a first field of exactly "#" marks a comment; a row needs five fields.
  void parse(const std::string& text);
};
