// Buttons that the screens draw as their pictures alone say what they do: each state picture carries
// its caption or icon in the caption ink, around its middle, over a ground of its own colour. So do
// the offers' name plates and badges, and the title plate.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/Layouts/LayoutData.h"

namespace layouts {
namespace {

constexpr uint32_t kWhiteInk = 0xFFFFFF;  // captions and icons on buttons
constexpr uint32_t kGoldInk = 0xFAD25A;   // the game's caption on the title plate

struct MarkedPicture {
  const char* layout;
  const char* picture;
  uint32_t ink = kWhiteInk;
};

std::vector<MarkedPicture> PictureTable() {
  return {
      {"ruv/ui_levelresult", "button/done"},
      {"ruv/ui_levelresult", "button/restart"},
      {"ruv/ui_levelresult", "button/menu"},
      {"ruv/episode_select", "button/back"},
      {"ruv/episode_select", "button/shop"},
      {"ruv/level_select", "button/back"},
      {"ruv/level_select", "button/upgrade"},
      {"ruv/level_select", "button/locked_d"},
      {"ruv/level_select", "button/unlocked_d"},
      {"ruv/level_select", "plate/locked"},
      {"ruv/shop", "button/back_ac"},
      {"ruv/shop", "button/return_ac"},
      {"ruv/shop", "button/gem_shop"},
      {"ruv/shop", "button/reset_premium_points"},
      {"ruv/shop", "item_plate/buy_in"},
      {"ruv/shop", "item_plate/buy_ac"},
      {"ruv/gem_shop", "pricing/en/1"},
      {"ruv/gem_shop", "1/best_buy"},
      {"ruv/boost_shop", "pricing/en/3"},
      {"ruv/boost_shop", "1/most_popular"},
      {"ruv/gem_shop", "button/back_in"},
      {"ruv/gem_shop", "button/offers_wall"},
      {"ruv/boost_shop", "button/back_in"},
      {"ruv/boost_shop", "button/offers_wall"},
      {"ruv/options", "buttons/sound_dec/b_in"},
      {"ruv/options", "buttons/sound_dec/b_ac"},
      {"ruv/options", "buttons/sound_inc/b_in"},
      {"ruv/options", "buttons/sound_inc/b_ac"},
      {"ruv/options", "buttons/music_dec/b_in"},
      {"ruv/options", "buttons/music_dec/b_ac"},
      {"ruv/options", "buttons/music_inc/b_in"},
      {"ruv/options", "buttons/music_inc/b_ac"},
      {"ruv/options", "buttons/menu/menu_in"},
      {"ruv/options", "buttons/menu/menu_ac"},
      {"ruv/options", "buttons/cheat/cheat_in"},
      {"ruv/options", "buttons/cheat/cheat_ac"},
      {"ruv/main_menu", "en", kGoldInk},
      {"ruv/main_menu", "ru", kGoldInk},
  };
}

bool IsInk(uint32_t pixel, uint32_t ink) {
  for (int shift : {0, 8, 16}) {
    const int channel = int((pixel >> shift) & 0xFF);
    const int wanted = int((ink >> shift) & 0xFF);
    if (std::abs(channel - wanted) > 8) return false;
  }
  return (pixel >> 24) == 0xFF;
}

class ButtonPicturesTest : public LayoutDataTest {};

TEST_F(ButtonPicturesTest, EachPictureCarriesItsCaptionOrIconAroundItsMiddle) {
  for (const MarkedPicture& entry : PictureTable()) {
    SCOPED_TRACE(std::string(entry.layout) + " " + entry.picture);
    std::unique_ptr<file::ImageContainer> layout = Open(Wide(entry.layout));
    if (!layout) continue;
    int width = 0;
    const std::vector<uint32_t> pixels = Pixels(layout.get(), Wide(entry.picture), &width);
    ASSERT_FALSE(pixels.empty());
    const int height = int(pixels.size()) / width;

    // Ground, frame and ink at least (letters add their smoothed edges).
    const std::set<uint32_t> colours(pixels.begin(), pixels.end());
    EXPECT_GE(colours.size(), 3u);

    int inked = 0;
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!IsInk(pixels[size_t(y) * size_t(width) + size_t(x)], entry.ink)) continue;
        ++inked;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    // A caption's strokes or an icon: more than a stray pixel, less than the whole ground.
    EXPECT_GE(inked, width * height / 100 + 20);
    EXPECT_LE(inked, width * height / 2);
    if (inked == 0) continue;
    // Centred: the ink's middle lies within a sixth of the size from the picture's middle.
    EXPECT_LE(std::abs((left + right + 1) - width), width / 3) << left << ".." << right;
    EXPECT_LE(std::abs((top + bottom + 1) - height), height / 3) << top << ".." << bottom;
    // Inside the picture's frame: nothing of it on the outermost pixels.
    EXPECT_GT(left, 0);
    EXPECT_LT(right, width - 1);
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, height - 1);
  }
}

// The pictures of one button's states (at rest, under the pointer) differ in ground, not in caption.
TEST_F(ButtonPicturesTest, StatePicturesOfOneButtonDifferInGround) {
  const std::pair<const char*, std::pair<const char*, const char*>> pairs[] = {
      {"ruv/shop", {"item_plate/buy_in", "item_plate/buy_ac"}},
      {"ruv/options", {"buttons/sound_dec/b_in", "buttons/sound_dec/b_ac"}},
      {"ruv/options", {"buttons/cheat/cheat_in", "buttons/cheat/cheat_ac"}},
      {"ruv/options", {"buttons/menu/menu_in", "buttons/menu/menu_ac"}},
  };
  for (const auto& [path, names] : pairs) {
    SCOPED_TRACE(std::string(path) + " " + names.first);
    std::unique_ptr<file::ImageContainer> layout = Open(Wide(path));
    if (!layout) continue;
    int width = 0, otherWidth = 0;
    const std::vector<uint32_t> rest = Pixels(layout.get(), Wide(names.first), &width);
    const std::vector<uint32_t> over = Pixels(layout.get(), Wide(names.second), &otherWidth);
    ASSERT_EQ(rest.size(), over.size());
    ASSERT_EQ(width, otherWidth);
    ASSERT_FALSE(rest.empty());
    // The ground just inside the frame differs; the ink covers as much of both.
    const size_t ground = size_t(4) * size_t(width) + 4;
    EXPECT_NE(rest[ground], over[ground]);
    const auto inked = [](const std::vector<uint32_t>& pixels) {
      return std::count_if(pixels.begin(), pixels.end(), [](uint32_t pixel) { return IsInk(pixel, kWhiteInk); });
    };
    const auto restInk = inked(rest);
    EXPECT_GT(restInk, 0);
    EXPECT_LE(std::abs(restInk - inked(over)), restInk / 10);
  }
}

}  // namespace
}  // namespace layouts
