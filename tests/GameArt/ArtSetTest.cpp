// Art sets built from layouts, the cache's keys and lookups, frames made from layers, the button
// frame's hover.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceTexture.h"
#include "gamesupport/GameArtScene.h"

namespace {

using gameart::GameArtTest;

class ArtSetTest : public GameArtTest {
 protected:
  // Two folders in one container; idle frames listed out of name order; a frame below a further
  // folder; an upper-case folder.
  void WriteTowerContainer() {
    WriteLayout("ruv/towers", {{"tower1/idle/b", 1, 2, 3, 4},
                               {"tower1/idle/a", 5, 6, 7, 8},
                               {"tower1/s_point/p", 40, 50, 1, 1},
                               {"tower1/still", 0, 0, 1, 1},
                               {"tower1/idle/deep/x", 0, 0, 1, 1},
                               {"Tower2/idle/a", 0, 0, 1, 1},
                               {"tower3/blast/0", 0, 0, 1, 1}});
  }

  static const tinyxml2::XMLElement* ParseRow(tinyxml2::XMLDocument& document, const char* xml) {
    EXPECT_EQ(document.Parse(xml), tinyxml2::XML_SUCCESS);
    return document.RootElement();
  }

  static std::vector<std::u16string> Names(const RuvArtSet::FrameList& frames) {
    std::vector<std::u16string> names;
    for (const RuvFrameEntry* frame : frames) names.push_back(frame->name);
    return names;
  }
};

TEST_F(ArtSetTest, FolderSetsHaveEveryGroupInLayerOrder) {
  WriteTowerContainer();
  RuvResources* resources = RuvResources::Instance();
  resources->loadArtFolder(u"ruv/towers");
  // One set per top-level folder, in the container's name order (upper case sorts first).
  ASSERT_EQ(resources->getArtSets().size(), 3u);
  EXPECT_EQ(resources->getArtSets()[0]->psdPath, u"ruv/Tower2");
  RuvArtSet* tower = resources->findArtByPsd(u"ruv/tower1");
  ASSERT_NE(tower, nullptr);
  EXPECT_EQ(tower->imgPath, u"ruv/tower1");
  EXPECT_EQ(tower->opened, 0);
  EXPECT_EQ(tower->id, 0);
  EXPECT_EQ(tower->groups.size(), size_t(RuvArtSet::kGroupCount));
  for (const char* group : RuvArtSet::kGroupNames) EXPECT_EQ(tower->groups.count(group), 1u) << group;

  const std::vector<std::u16string> idle = {u"tower1/idle/b", u"tower1/idle/a"};
  EXPECT_EQ(Names(tower->groups["idle"]), idle);
  // The empty group is the folder itself, not its sub-folders.
  EXPECT_EQ(Names(tower->groups[""]), std::vector<std::u16string>{u"tower1/still"});
  EXPECT_TRUE(tower->groups["walk"].empty());
  const RuvFrameEntry* a = tower->groups["idle"][1];
  EXPECT_FLOAT_EQ(a->rect[0], 5.0f);
  EXPECT_FLOAT_EQ(a->rect[3], 8.0f);
  EXPECT_EQ(a->ownsImage, 0);
  EXPECT_EQ(a->visible, 1);
  ASSERT_NE(a->image, nullptr);
  EXPECT_EQ(a->image->GetWidth(), 7);  // the layer's size

  // The container lists with a lower-cased prefix: the upper-case folder's layers are not found.
  RuvArtSet* upper = resources->findArtByPsd(u"ruv/Tower2");
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(upper->groups.size(), size_t(RuvArtSet::kGroupCount));
  EXPECT_TRUE(upper->groups["idle"].empty());
}

TEST_F(ArtSetTest, FolderSetsKeepTheirContainerForTheTextures) {
  WriteTowerContainer();
  RuvResources::Instance()->loadArtFolder(u"ruv/towers");
  RuvArtSet* first = RuvResources::Instance()->findArtByPsd(u"ruv/tower1");
  RuvArtSet* second = RuvResources::Instance()->findArtByPsd(u"ruv/tower3");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // The textures reload through the container after a device reset: it outlives the loading.
  ASSERT_NE(first->container, nullptr);
  EXPECT_EQ(first->container, second->container);
  const base::ImageInfo* info = first->container->GetLayerInfo(u"tower3/blast/0");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->mName, u"tower3/blast/0");
  // A device reset reloads the texture through the container.
  const RuvFrameEntry* frame = first->groups["idle"][0];
  ASSERT_NE(frame->image, nullptr);
  resource::ResourceTexture* texture = frame->image->GetResource().Get();
  ASSERT_NE(texture, nullptr);
  ASSERT_EQ(texture->UnLoad(), VN_OK);
  EXPECT_EQ(texture->Load(), VN_OK);
  EXPECT_TRUE(texture->IsLoaded());
}

TEST_F(ArtSetTest, LoadingAgainAppendsAndTheOlderSetWins) {
  WriteTowerContainer();
  RuvResources::Instance()->loadArtFolder(u"ruv/towers");
  RuvArtSet* first = RuvResources::Instance()->findArtByPsd(u"ruv/tower1");
  RuvResources::Instance()->loadArtFolder(u"ruv/towers");
  EXPECT_EQ(RuvResources::Instance()->getArtSets().size(), 6u);
  EXPECT_EQ(RuvResources::Instance()->findArtByPsd(u"ruv/tower1"), first);
  RuvResources::Instance()->loadArtFolder(u"ruv/missing");
  EXPECT_EQ(RuvResources::Instance()->getArtSets().size(), 6u);
}

TEST_F(ArtSetTest, PathSetsUseTheWholeLayout) {
  WriteLayout("ruv/ui", {{"ui/brush", 3, 4, 1, 1}, {"ui/money", 0, 0, 1, 1}, {"top", 0, 0, 1, 1}});
  RuvArtSet* ui = RuvResources::Instance()->getArtByPsd(u"ruv/ui");
  EXPECT_EQ(RuvResources::Instance()->getArtByPsd(u"ruv/ui"), ui);
  EXPECT_EQ(ui->opened, 1);
  EXPECT_TRUE(ui->imgPath.empty());
  EXPECT_EQ(Names(ui->groups[""]), std::vector<std::u16string>{u"top"});
  // The "ui" folder is no fixed group: its frames are not in the set's groups.
  EXPECT_EQ(RuvResources::Instance()->getFrame(u"ruv/ui", u"ui/brush", u""), nullptr);
  EXPECT_NE(RuvResources::Instance()->getFrame(u"ruv/ui", u"top", u""), nullptr);
  EXPECT_EQ(RuvResources::Instance()->getFrame(u"ruv/none", u"top", u""), nullptr);

  // A layout that does not open gives a set without groups.
  RuvArtSet* missing = RuvResources::Instance()->getArtByPsd(u"ruv/missing");
  EXPECT_TRUE(missing->groups.empty());
  EXPECT_EQ(missing->container, nullptr);
}

TEST_F(ArtSetTest, FindFrameWithAnUnknownGroupAddsNothing) {
  WriteTowerContainer();
  RuvResources::Instance()->loadArtFolder(u"ruv/towers");
  RuvArtSet* tower = RuvResources::Instance()->findArtByPsd(u"ruv/tower1");
  EXPECT_EQ(tower->findFrame(u"tower1/idle/a", u"idle"), tower->groups["idle"][1]);
  EXPECT_EQ(tower->findFrame(u"tower1/idle/c", u"idle"), nullptr);
  EXPECT_EQ(tower->findFrame(u"tower1/idle/a", u"nosuch"), nullptr);
  EXPECT_EQ(tower->groups.size(), size_t(RuvArtSet::kGroupCount));
  EXPECT_EQ(tower->groups.count("nosuch"), 0u);
}

TEST_F(ArtSetTest, RowKeysCompareOnlyTheAttributesThatAreSet) {
  WriteLayout("ruv/lay", {{"s_point/p", 40, 50, 1, 1}});
  WritePixelPng("ruv/a.png");
  WritePixelPng("ruv/b.png");
  RuvResources* resources = RuvResources::Instance();
  struct Row {
    const char* xml;
    int sameAs;  // index of the earlier row whose set it gets; -1 a new set, -2 null
  };
  const Row rows[] = {
      {R"(<t id="3" psd="lay"/>)", -1}, {R"(<t psd="lay" img="a.png"/>)", 0},  // the psd key matches first
      {R"(<t img="a.png"/>)", -1},                                             // no psd: not the "ruv/" key of row 0
      {R"(<t img="b.png"/>)", -1},                                             // another picture, another set
      {R"(<t img="a.png"/>)", 2},       {R"(<t/>)", -2},
      {R"(<t psd="" img=""/>)", -2},
  };
  std::vector<RuvArtSet*> sets;
  for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
    tinyxml2::XMLDocument document;
    RuvArtSet* set = resources->getArt(ParseRow(document, rows[i].xml));
    sets.push_back(set);
    if (rows[i].sameAs == -2) {
      EXPECT_EQ(set, nullptr) << i;
    } else if (rows[i].sameAs >= 0) {
      EXPECT_EQ(set, sets[size_t(rows[i].sameAs)]) << i;
    } else {
      ASSERT_NE(set, nullptr) << i;
      for (size_t j = 0; j < i; ++j) EXPECT_NE(set, sets[j]) << i << " " << j;
    }
  }
  EXPECT_EQ(resources->getArtSets().size(), 3u);
  EXPECT_EQ(sets[0]->id, 3);
  EXPECT_EQ(sets[0]->opened, 1);
  EXPECT_EQ(sets[0]->psdPath, u"ruv/lay");
  EXPECT_EQ(sets[0]->groups["s_point"].size(), 1u);
  EXPECT_EQ(sets[0]->image, nullptr);
  EXPECT_EQ(sets[2]->opened, 0);
  EXPECT_EQ(sets[2]->imgPath, u"ruv/a.png");
  ASSERT_NE(sets[2]->image, nullptr);
  EXPECT_NE(sets[3]->image, nullptr);
}

TEST_F(ArtSetTest, FrameEntriesFromLayers) {
  WriteLayout("ruv/shop", {{"a", 0, 0, 1, 1}, {"panel/title", 7, 8, 9, 10}});
  std::unique_ptr<file::ImageContainer> layout(file::FileManager::Instance()->OpenImageContainer(u"ruv/shop"));
  ASSERT_NE(layout, nullptr);
  std::unique_ptr<RuvFrameEntry> frame(createFrameEntry(layout.get(), u"panel/title"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->name, u"panel/title");
  EXPECT_EQ(frame->index, 1);
  EXPECT_EQ(frame->ownsImage, 1);
  EXPECT_FLOAT_EQ(frame->rect[0], 7.0f);
  EXPECT_FLOAT_EQ(frame->rect[2], 9.0f);
  EXPECT_NE(frame->image, nullptr);
  EXPECT_EQ(createFrameEntry(layout.get(), u"panel/none"), nullptr);
  EXPECT_EQ(loadLayerImage(layout.get(), u"panel/none"), nullptr);

  std::unique_ptr<RuvFrameEntry> first(createFrameEntry(layout.get(), u"a"));
  std::vector<RuvFrameEntry*> order = {frame.get(), first.get()};
  std::stable_sort(order.begin(), order.end(), frameIndexLess);
  EXPECT_EQ(order[0], first.get());
}

TEST_F(ArtSetTest, ButtonFrameHoverEdgesAreStrict) {
  RuvButtonFrame button;
  button.rect[0] = 10;
  button.rect[1] = 20;
  button.rect[2] = 30;
  button.rect[3] = 40;
  struct Case {
    int x, y, hovered;
  };
  const Case cases[] = {{11, 21, 1}, {39, 59, 1}, {10, 30, 0}, {40, 30, 0}, {20, 20, 0}, {20, 60, 0}, {0, 0, 0}};
  for (const Case& c : cases) {
    button.hoverTest(c.x, c.y);
    EXPECT_EQ(button.hovered, c.hovered) << c.x << ", " << c.y;
  }
}

TEST_F(ArtSetTest, ButtonFrameScaleGrowsSlowlyAndShrinksFast) {
  RuvButtonFrame button;
  button.hovered = 1;
  button.update(0.1f);
  EXPECT_FLOAT_EQ(button.scale, 1.05f);
  button.update(0.1f);
  EXPECT_FLOAT_EQ(button.scale, 1.1f);
  button.update(1.0f);
  EXPECT_FLOAT_EQ(button.scale, 1.1f);
  button.hovered = 0;
  button.update(0.05f);
  EXPECT_FLOAT_EQ(button.scale, 1.05f);
  button.update(1.0f);
  EXPECT_FLOAT_EQ(button.scale, 1.0f);
  button.hovered = 2;  // neither: the scale stays
  button.scale = 1.03f;
  button.update(1.0f);
  EXPECT_FLOAT_EQ(button.scale, 1.03f);
}

TEST_F(ArtSetTest, ButtonFrameDrawsScaledAboutTheSceneryCentre) {
  RuvResources::Instance()->setSceneryCentre(math::Point2(100.0f, 50.0f));
  RuvButtonFrame button;
  button.image = MakeImage(10, 10);
  button.rect[0] = 200;
  button.rect[1] = 100;
  button.rect[2] = 10;
  button.rect[3] = 10;
  button.scale = 1.1f;
  Frame([&](render::Graphics& g) { button.draw(g, 2.0f); });
  const std::vector<render::SVertex2D> v = FrameImageVertices();
  ASSERT_EQ(v.size(), 4u);
  // Centre (205, 105) - (100, 50), times 2, plus (100, 50) = (310, 160); half size 5 * 1.1 * 2.
  EXPECT_NEAR(v[0].x, 310.0f - 11.0f - 0.5f, 1e-3);
  EXPECT_NEAR(v[0].y, 160.0f - 11.0f - 0.5f, 1e-3);
  EXPECT_NEAR(v[2].x, 310.0f + 11.0f - 0.5f, 1e-3);
}

}  // namespace
