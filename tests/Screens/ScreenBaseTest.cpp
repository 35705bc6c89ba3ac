// The screen base: layout conventions, hit tests, texts, and frames, buttons and texts drawn in that
// order, scaled about the view centre.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Screens/HUDWindow.h"
#include "gamesupport/GameArtScene.h"

namespace {

struct IndexedLayer {
  std::string name;
  int x, y, width, height, index;
};

class ScreenBaseTest : public gameart::GameArtTest {
 protected:
  // The hit test plays the click sound.
  void TearDown() override {
    if (k2::SoundTags::Exists()) delete k2::SoundTags::Instance();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    gameart::GameArtTest::TearDown();
  }

  // "ruv/probe" with the layers in this order and their own order indices, each a 1x1 PNG.
  static void WriteProbeLayout(const std::vector<IndexedLayer>& layers) {
    std::string xml = "<Layers>\n";
    for (const IndexedLayer& l : layers) {
      xml += "  <Layer name=\"" + l.name + "\" x=\"" + std::to_string(l.x) + "\" y=\"" + std::to_string(l.y) +
             "\" width=\"" + std::to_string(l.width) + "\" height=\"" + std::to_string(l.height) + "\" ind=\"" +
             std::to_string(l.index) + "\"/>\n";
      WritePixelPng("ruv/probe/" + l.name + ".png");
    }
    WriteDataFile("ruv/probe/layers.xml", xml + "</Layers>\n");
  }
};

TEST_F(ScreenBaseTest, LayoutConventions) {
  WriteProbeLayout({
      {"back", 0, 0, 1, 1, 2},
      {"panel", 0, 0, 1, 1, 1},
      {"logo", 0, 0, 1, 1, 1},
      {"button/ok", 0, 0, 1, 1, 3},
      {"button/group/ok", 0, 0, 1, 1, 4},
      {"text/caption", 1, 2, 3, 4, 5},
      {"text/caption.old", 5, 6, 7, 8, 6},
      {"text/deeper/skipped", 0, 0, 1, 1, 7},
      {"other/skipped", 0, 0, 1, 1, 8},
  });
  HUDWindow screen(u"ruv/probe");
  std::vector<std::u16string> frames;
  for (const RuvFrameEntry* frame : screen.frames) {
    frames.push_back(frame->name);
    EXPECT_NE(frame->image, nullptr);
    EXPECT_EQ(frame->ownsImage, 1);
  }
  EXPECT_EQ(frames, (std::vector<std::u16string>{u"panel", u"logo", u"back"})) << "equal indices keep their order";
  ASSERT_EQ(screen.buttons.size(), 2u);
  EXPECT_EQ(screen.buttons[0]->name, u"ok");
  EXPECT_EQ(screen.buttons[1]->name, u"ok");
  EXPECT_EQ(screen.findButton(u"ok"), screen.buttons[0]);
  EXPECT_EQ(screen.findButton(u"group"), nullptr);
  ASSERT_EQ(screen.textSlots.size(), 1u);
  const RuvFrameEntry* slot = screen.textSlots.at(u"caption");
  EXPECT_EQ(std::vector<float>(slot->rect, slot->rect + 4), (std::vector<float>{5, 6, 7, 8})) << "the later layer wins";
  EXPECT_EQ(slot->image, nullptr);
  EXPECT_EQ(screen.layout, nullptr) << "the path constructor deletes the container";
}

TEST_F(ScreenBaseTest, MissingLayoutLeavesAnEmptyScreen) {
  HUDWindow screen(u"ruv/absent");
  EXPECT_TRUE(screen.frames.empty());
  EXPECT_TRUE(screen.buttons.empty());
  EXPECT_EQ(screen.buttonIndexAt(0, 0), -1);
  EXPECT_EQ(screen.open, 1);
  Frame([&](render::Graphics& g) { screen.draw(g); });
}

TEST_F(ScreenBaseTest, HitTestsIncludeEdges) {
  WriteProbeLayout({
      {"button/a", 10, 20, 30, 40, 0},
      {"button/hidden", 100, 100, 10, 10, 1},
      {"button/one/ok", 200, 0, 10, 10, 2},
      {"button/two/ok", 205, 0, 10, 10, 3},
  });
  HUDWindow screen(u"ruv/probe");
  screen.findButton(u"hidden")->visible = 0;
  struct Case {
    int x, y, index;
    std::u16string name;
  };
  const Case cases[] = {
      {10, 20, 0, u"a"},  {40, 60, 0, u"a"},      {41, 60, -1, u""},    {40, 61, -1, u""}, {9, 20, -1, u""},
      {105, 105, 1, u""}, {207, 5, 2, u"ok"},     {212, 5, 3, u"ok"},   {0, 0, -1, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(screen.buttonIndexAt(c.x, c.y), c.index) << c.x << "," << c.y;
    EXPECT_EQ(screen.buttonNameAt(c.x, c.y), c.name) << c.x << "," << c.y;
  }
}

TEST_F(ScreenBaseTest, TextsAndFrameVisibility) {
  WriteProbeLayout({{"star", 0, 0, 1, 1, 0}, {"star", 5, 0, 1, 1, 1}, {"moon", 9, 0, 1, 1, 2}});
  HUDWindow screen(u"ruv/probe");
  screen.setText(u"a", u"1");
  screen.setText(u"b", u"2");
  screen.setText(u"a", u"3");
  EXPECT_EQ(screen.texts, (std::vector<std::pair<std::u16string, std::u16string>>{{u"a", u"3"}, {u"b", u"2"}}));
  EXPECT_EQ(screen.getText(u"c"), u"");
  screen.setFrameVisible(u"star", false);
  for (const RuvFrameEntry* frame : screen.frames) EXPECT_EQ(frame->visible, frame->name == u"star" ? 0 : 1);
  screen.setFrameVisible(u"none", false);
}

TEST_F(ScreenBaseTest, DrawsFramesButtonsTextsScaledAboutTheViewCentre) {
  WriteProbeLayout({
      {"button/ok", 300, 200, 20, 20, 0},
      {"panel", 100, 50, 1, 1, 1},
      {"text/message", 400, 300, 100, 40, 2},
  });
  const float cx = 512.0f, cy = 384.0f;
  RuvResources::Instance()->setSceneryCentre(math::Point2(cx, cy));
  struct Case {
    float scale, offsetX, offsetY;
  };
  for (const Case& c : {Case{1.0f, 0.0f, 0.0f}, Case{0.5f, 8.0f, -4.0f}, Case{0.0f, 0.0f, 0.0f}}) {
    HUDWindow screen(u"ruv/probe");
    gameart::ProbeFont font;
    screen.setFont(font.Handle());
    screen.scale = c.scale;
    screen.offsetX = c.offsetX;
    screen.offsetY = c.offsetY;
    screen.setText(u"message", u"hi");
    screen.setText(u"nowhere", u"never drawn");
    Frame([&](render::Graphics& g) { screen.draw(g); });
    const auto about = [&](float value, float centre) { return (value - centre) * c.scale + centre; };
    // Images land half a pixel up and left (pixel centres onto texel centres).
    const std::vector<render::SVertex2D> quads = FrameImageVertices();
    ASSERT_EQ(quads.size(), 8u) << "the frame, then the button";
    EXPECT_NEAR(quads[0].x, about(100.0f + c.offsetX, cx) - 0.5f, 1e-3) << c.scale;
    EXPECT_NEAR(quads[0].y, about(50.0f + c.offsetY, cy) - 0.5f, 1e-3) << c.scale;
    // The button's 20x20 picture is centred on its rectangle's centre (310, 210).
    EXPECT_NEAR(quads[4].x, about(310.0f - 10.0f, cx) - 0.5f, 1e-3) << "buttons ignore the offset";
    EXPECT_NEAR(quads[4].y, about(210.0f - 10.0f, cy) - 0.5f, 1e-3);
    ASSERT_EQ(font.mDrawn.size(), 1u);
    EXPECT_EQ(font.mDrawn[0].text, u"hi");
    // Centred on the slot's centre (450, 320): the probe font's "hi" is 20 x 20.
    EXPECT_NEAR(font.mDrawn[0].x, about(450.0f + c.offsetX - 10.0f, cx), 1e-3);
    EXPECT_NEAR(font.mDrawn[0].y, about(320.0f + c.offsetY - 10.0f, cy), 1e-3);
    EXPECT_NEAR(font.mDrawn[0].scale, c.scale, 1e-4);
    ASSERT_FALSE(font.mRequests.empty());
    EXPECT_EQ(font.mRequests.back().mWrapWidth, 100.0f) << "wrapped to the slot's width";
    EXPECT_EQ(font.mRequests.back().mHorizontalAnchor, 2);
    EXPECT_EQ(font.mRequests.back().mVerticalAnchor, 2);
  }
}

TEST_F(ScreenBaseTest, UpdateAndPointer) {
  WriteProbeLayout({{"button/ok", 0, 0, 20, 20, 0}});
  HUDWindow screen(u"ruv/probe");
  screen.onMouseMove(10, 10);
  EXPECT_EQ(screen.pointerX, 10.0f);
  EXPECT_EQ(screen.pointerY, 10.0f);
  EXPECT_EQ(screen.buttons[0]->hovered, 1);
  screen.update(0.2f);
  EXPECT_FLOAT_EQ(screen.time, 0.2f);
  EXPECT_FLOAT_EQ(screen.buttons[0]->scale, 1.1f) << "the buttons grow while hovered";
  screen.buttons[0]->visible = 0;
  screen.onMouseMove(5, 5);
  EXPECT_EQ(screen.buttons[0]->hovered, 1) << "hidden buttons are hover-tested too";
}

}  // namespace
