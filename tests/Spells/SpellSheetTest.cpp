// The spells sheet: comments, padded and missing fields, short rows.
#include <gtest/gtest.h>

#include <string>

#include "Game/Tables/RuvSpellSheet.h"

namespace {

TEST(SpellSheetTest, RowsByField) {
  const std::string text =
      "  # ; comment line\n"
      "#x;3001;icons/a;icons/a2;0;15\n"
      "\n"
      "meteor ;\t3002 ; icons/b ;icons/b2; 1 ; 20 \n"
      "hold;3003;;;2\n"
      "short;3009;icons/c;icons/c2\n"
      "boost;3004;icons/d;icons/d2;4;7;extra\n"
      "#;3005;icons/e;icons/e2;5;9\n";
  const RuvSpellSheet sheet(text);
  struct Row {
    int number, protoId, price;
    const char* icon;
    const char* secondIcon;
  };
  const Row expected[] = {
      {0, 3001, 15, "icons/a", "icons/a2"},
      {1, 3002, 20, "icons/b", "icons/b2"},
      {2, 3003, 0, "", ""},
      {4, 3004, 7, "icons/d", "icons/d2"},
  };
  ASSERT_EQ(sheet.rows.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const RuvSpellRow& row = *sheet.rows[i];
    EXPECT_EQ(row.spellNumber, expected[i].number) << i;
    EXPECT_EQ(row.protoId, expected[i].protoId) << i;
    EXPECT_EQ(row.rechargePrice, expected[i].price) << i;
    EXPECT_EQ(row.iconPath, expected[i].icon) << i;
    EXPECT_EQ(row.secondIconPath, expected[i].secondIcon) << i;
    EXPECT_EQ(row.icon, nullptr);
  }
}

TEST(SpellSheetTest, FindsTheFirstRowOfANumber) {
  const RuvSpellSheet sheet("a;1;x;y;3;1\nb;2;x;y;3;2\nc;5;x;y;0\n");
  ASSERT_NE(sheet.findSpell(3), nullptr);
  EXPECT_EQ(sheet.findSpell(3)->protoId, 1);
  EXPECT_EQ(sheet.findSpell(0)->protoId, 5);
  EXPECT_EQ(sheet.findSpell(4), nullptr);
  EXPECT_TRUE(RuvSpellSheet("").rows.empty());
}

}  // namespace
