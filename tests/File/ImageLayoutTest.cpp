// Layouts opened as image containers: "layers.xml" folders and layered documents, on the disk and
// inside a mounted pack.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/PsdFile.h"
#include "Core/File/PsdFolder.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceTexture.h"
#include "FileTestSupport.h"
#include "Psd/PsdFiles.h"
#include "fakes/RecordingRender.h"

namespace {

using LayoutNames = std::vector<std::u16string>;

const char* const kImageLayoutXml = R"(<Layers>
  <Layer name="ui/menu/b_01_in" x="10" y="20" width="30" height="40" opacity="200" ind="3"/>
  <Layer name="ui/menu/b_02" x="1" y="2" width="3" height="4" opacity="255" ind="4" atlas="atlas.png"
         tu1="0.25" tv1="0.5" tu2="0.5" tv2="0.75"/>
  <Layer name="ui/top" x="0" y="0" width="5" height="5"/>
  <Layer name="UI/upper" x="0" y="0" width="1" height="1" opacity="1" ind="1"/>
  <Layer name="ui/top" x="9" y="9" width="9" height="9" opacity="9" ind="9"/>
  <Layer x="1"/>
  <Layer name="after" x="0" y="0" width="1" height="1" opacity="1" ind="1"/>
</Layers>)";

class ImageLayoutTest : public filetest::TempFolderTest {
 protected:
  static file::FileManager* Files() { return file::FileManager::Instance(); }

  std::unique_ptr<file::ImageContainer> OpenLayout(const std::u16string& name) {
    return std::unique_ptr<file::ImageContainer>(Files()->OpenImageContainer(name));
  }

  static std::string LayeredDocument() {
    using psdtest::PsdLayerSpec;
    const auto image = [](int32_t top, int32_t left, int32_t bottom, int32_t right, const std::string& name) {
      const size_t n = size_t(bottom - top) * size_t(right - left);
      return psdtest::RawLayer(top, left, bottom, right, {-1, 0, 1, 2},
                               {psdtest::Bytes(n, 0xFF), psdtest::Bytes(n, 0x11), psdtest::Bytes(n, 0x22),
                                psdtest::Bytes(n, 0x33)},
                               name);
    };
    psdtest::PsdSpec spec;
    spec.layers = {image(0, 0, 1, 1, "bottom"),
                   psdtest::FolderLayer(3, "</Layer group>"),
                   psdtest::FolderLayer(3, "</Layer group>"),
                   image(0, 0, 2, 2, "b_01_in"),
                   image(20, 10, 31, 41, "pt|center"),
                   psdtest::FolderLayer(1, "menu"),
                   image(1, 2, 3, 4, "r|box"),
                   psdtest::FolderLayer(1, "ui"),
                   psdtest::FolderLayer(3, "stray end")};
    spec.layers[3].opacity = 128;
    const psdtest::Bytes bytes = psdtest::MakePsd(spec);
    return std::string(bytes.begin(), bytes.end());
  }
};

TEST_F(ImageLayoutTest, FolderLayoutReadsLayersXml) {
  WriteTestFile("ruv/ui/layers.xml", kImageLayoutXml);
  WriteTestFile("ruv/ui/ui/menu/b_01_in.png", "png");
  auto layout = OpenLayout(u"ruv/ui");
  ASSERT_NE(dynamic_cast<file::PsdFolder*>(layout.get()), nullptr);
  EXPECT_EQ(layout->GetPath(), u"ruv/ui/");
  // The nameless Layer ends the reading; the repeated name is listed twice but mapped once.
  ASSERT_EQ(layout->GetLayerCount(), 5u);
  EXPECT_EQ(layout->GetLayerInfo(u"after"), nullptr);
  EXPECT_EQ(layout->GetLayer(4), layout->GetLayer(2));
  EXPECT_EQ(layout->GetLayer(5), nullptr);

  const base::ImageInfo* button = layout->GetLayerInfo(u"ui/menu/b_01_in");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->mOpacity, 200);
  EXPECT_EQ(button->mIndex, 3);
  EXPECT_FLOAT_EQ(button->mX, 10);
  EXPECT_FLOAT_EQ(button->mHeight, 40);
  EXPECT_FALSE(button->mRawPixels);

  const base::ImageInfo* top = layout->GetLayerInfo(u"ui/top");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->mOpacity, 255);  // no "opacity": opaque
  EXPECT_EQ(top->mIndex, 0);
  EXPECT_FLOAT_EQ(top->mWidth, 5);  // the first of the repeated names

  const base::ImageInfo* atlas = layout->GetLayerInfo(u"ui/menu/b_02");
  ASSERT_NE(atlas, nullptr);
  EXPECT_TRUE(atlas->mInAtlas);
  EXPECT_EQ(atlas->mAtlasPath, u"ruv/ui/atlas.png");
  EXPECT_FLOAT_EQ(atlas->mTextureU, 0.25f);
  EXPECT_FLOAT_EQ(atlas->mTextureV, 0.25f);
  EXPECT_FLOAT_EQ(atlas->mTextureWidth, 0.25f);
  EXPECT_FLOAT_EQ(atlas->mTextureHeight, 0.25f);
}

TEST_F(ImageLayoutTest, FolderLayoutFindsLayerFiles) {
  WriteTestFile("ruv/ui/layers.xml", kImageLayoutXml);
  WriteTestFile("ruv/ui/ui/menu/b_01_in.png", "png");
  auto layout = OpenLayout(u"ruv/ui");
  ASSERT_NE(layout, nullptr);
  const char16_t* const* extensions = resource::ResourceTexture::GetExtensions();
  const unsigned count = resource::ResourceTexture::GetExtensionCount();
  unsigned index = 99;
  std::unique_ptr<file::ImageFileInfo> found(layout->FindLayer(u"ui/menu/b_01_in", extensions, count, &index));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(found->GetName(), u"b_01_in");
  EXPECT_EQ(found->GetPath(), u"ui/menu/b_01_in.png");
  EXPECT_EQ(found->mOpacity, 200);
  std::unique_ptr<base::Stream> stream(found->Open());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->GetSize(), 3u);

  std::unique_ptr<file::ImageFileInfo> atlas(layout->FindLayer(u"ui/menu/b_02", extensions, count, &index));
  ASSERT_NE(atlas, nullptr);
  EXPECT_EQ(atlas->GetPath(), u"ui/menu/b_02");
  EXPECT_EQ(layout->FindLayer(u"ui/top", extensions, count, &index), nullptr);  // no file
  EXPECT_EQ(layout->FindLayer(u"UI/TOP", extensions, count, &index), nullptr);  // exact names
  EXPECT_TRUE(layout->HasImageFile(u"ui/menu/b_01_in"));
  EXPECT_FALSE(layout->HasImageFile(u"ui/top"));
  // The layout's own copy of the texture loader's extensions stays the same list.
  ASSERT_EQ(file::PsdFolder::GetTextureExtensionCount(), count);
  for (unsigned i = 0; i < count; ++i) {
    EXPECT_EQ(std::u16string(file::PsdFolder::GetTextureExtensions()[i]), std::u16string(extensions[i]));
  }
}

TEST_F(ImageLayoutTest, FolderLayoutListings) {
  WriteTestFile("ruv/ui/layers.xml", kImageLayoutXml);
  auto layout = OpenLayout(u"ruv/ui");
  ASSERT_NE(layout, nullptr);
  struct Case {
    const char* name;
    std::u16string folder;
    bool recursive, strip;
    LayoutNames expected;
  };
  const Case cases[] = {
      {"OwnLayers", u"UI", false, false, {u"ui/top", u"ui/top"}},
      {"Stripped", u"ui\\", false, true, {u"top", u"top"}},
      {"Recursive", u"ui", true, false, {u"ui/menu/b_01_in", u"ui/menu/b_02", u"ui/top", u"ui/top"}},
      {"Nested", u"ui/menu/", false, true, {u"b_01_in", u"b_02"}},
      {"Missing", u"none", true, false, {}},
  };
  for (const Case& c : cases) {
    LayoutNames names;
    EXPECT_EQ(layout->ListLayers(c.folder, c.recursive, names, c.strip), VN_OK);
    EXPECT_EQ(names, c.expected) << c.name;
  }
  for (bool strip : {false, true}) {
    LayoutNames folders;
    EXPECT_EQ(layout->ListFolders(u"ui", folders, strip), VN_OK);
    EXPECT_EQ(folders, LayoutNames{u"menu"});
  }
  LayoutNames roots;
  layout->ListFolders(u"", roots, false);
  EXPECT_EQ(roots, (LayoutNames{u"UI", u"ui"}));
  EXPECT_TRUE(layout->HasLayer(u"UI/TOP"));  // lower-cased before the lookup
  EXPECT_FALSE(layout->HasLayer(u"UI/upper"));
  // A folder test asks for a further '/' below the folder: "ui" holds "menu/", "ui/menu" only layers.
  EXPECT_TRUE(layout->IsFolder(u"UI"));
  EXPECT_FALSE(layout->IsFolder(u"ui/MENU"));
  EXPECT_FALSE(layout->IsFolder(u"ui/top"));
}

TEST_F(ImageLayoutTest, BrokenFolderLayoutsAreEmpty) {
  for (const char* xml : {"", "<Layers><Layer name=\"a\"", "<Other><Layer name=\"a\"/></Other>"}) {
    WriteTestFile("bad/layers.xml", xml);
    auto layout = OpenLayout(u"bad");
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->GetLayerCount(), 0u) << xml;
    EXPECT_EQ(layout->GetLayerInfo(u"a"), nullptr);
  }
  std::filesystem::create_directories(mRoot / "nolayout");
  auto empty = OpenLayout(u"nolayout");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetLayerCount(), 0u);
}

TEST_F(ImageLayoutTest, OpenImageContainerChoosesFolderThenDocument) {
  WriteTestFile("doc.psd", LayeredDocument());
  WriteTestFile("both.psd", LayeredDocument());
  WriteTestFile("both", "not a document");
  EXPECT_NE(dynamic_cast<file::PsdFile*>(OpenLayout(u"doc").get()), nullptr);
  EXPECT_NE(dynamic_cast<file::PsdFile*>(OpenLayout(u"doc.psd").get()), nullptr);
  auto both = OpenLayout(u"both");
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both->GetLayerCount(), 3u);  // "both.psd" was tried first
  EXPECT_EQ(OpenLayout(u"missing"), nullptr);
}

void ExpectDocumentLayout(file::ImageContainer* layout) {
  ASSERT_NE(layout, nullptr);
  // The bottom record is no layer; folders prefix the names; a stray folder end is ignored.
  ASSERT_EQ(layout->GetLayerCount(), 3u);
  EXPECT_EQ(layout->GetLayer(0)->mName, u"ui/r|box");
  EXPECT_EQ(layout->GetLayer(1)->mName, u"ui/menu/pt|center");
  EXPECT_EQ(layout->GetLayer(2)->mName, u"ui/menu/b_01_in");
  EXPECT_EQ(layout->GetLayerInfo(u"bottom"), nullptr);

  const base::ImageInfo* point = layout->GetLayerInfo(u"ui/menu/pt|center");
  ASSERT_NE(point, nullptr);
  EXPECT_FLOAT_EQ(point->mX, 25);
  EXPECT_FLOAT_EQ(point->mY, 25);
  EXPECT_FLOAT_EQ(point->mWidth, 0);
  EXPECT_FALSE(point->mImage);
  EXPECT_FALSE(layout->GetLayerInfo(u"ui/r|box")->mImage);

  const base::ImageInfo* button = layout->GetLayerInfo(u"ui/menu/b_01_in");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->mImage);
  EXPECT_TRUE(button->mRawPixels);
  EXPECT_EQ(button->mOpacity, 128);
  EXPECT_EQ(button->mIndex, 3);

  unsigned index = 99;
  std::unique_ptr<file::ImageFileInfo> found(layout->FindLayer(
      u"ui/menu/b_01_in", resource::ResourceTexture::GetExtensions(), resource::ResourceTexture::GetExtensionCount(),
      &index));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 0u);  // the empty extension
  EXPECT_EQ(found->GetName(), u"b_01_in");
  EXPECT_EQ(found->GetPath(), u"ui/menu/b_01_in");
  std::unique_ptr<base::Stream> stream(found->Open());
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->GetSize(), 16u);
  uint32_t pixels[4] = {};
  ASSERT_EQ(stream->Read(pixels, 16), 16u);
  EXPECT_EQ(pixels[3], 0xFF112233u);
  EXPECT_EQ(layout->OpenStream(u"ui/menu/none"), nullptr);

  LayoutNames names;
  EXPECT_EQ(layout->ListLayers(u"ui", true, names, false), VN_OK);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(layout->HasLayer(u"ui/menu/b_01_in"));
  EXPECT_FALSE(layout->IsFolder(u"ui"));
}

TEST_F(ImageLayoutTest, DocumentLayoutOnTheDisk) {
  WriteTestFile("ruv/ui/menu.psd", LayeredDocument());
  auto layout = OpenLayout(u"ruv/ui/menu");
  EXPECT_EQ(layout->GetPath(), u"ruv/ui/menu.psd/");
  ExpectDocumentLayout(layout.get());
}

TEST_F(ImageLayoutTest, LayoutsInsideAPackAreReadFromThePack) {
  const std::u16string pack = filetest::UniquePackName();
  WriteTestFile(std::filesystem::path(pack).string(),
                filetest::MakePack({{u"ui/menu.psd", LayeredDocument()},
                                    {u"ui/folder/layers.xml", kImageLayoutXml},
                                    {u"ui/folder/ui/menu/b_01_in.png", "png"}}));
  Files()->GetMountTable()[u"ruv/"] = pack;
  auto document = OpenLayout(u"ruv/ui/menu");
  ASSERT_NE(dynamic_cast<file::PsdFile*>(document.get()), nullptr);
  ExpectDocumentLayout(document.get());

  auto folder = OpenLayout(u"ruv/ui/folder");
  ASSERT_NE(dynamic_cast<file::PsdFolder*>(folder.get()), nullptr);
  EXPECT_EQ(folder->GetLayerCount(), 5u);
  EXPECT_EQ(folder->GetPath(), u"ruv/ui/folder/");
  std::unique_ptr<file::ImageFileInfo> found(folder->FindLayer(
      u"ui/menu/b_01_in", resource::ResourceTexture::GetExtensions(), resource::ResourceTexture::GetExtensionCount(),
      nullptr));
  ASSERT_NE(found, nullptr);
  std::unique_ptr<base::Stream> stream(found->Open());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->GetSize(), 3u);
  EXPECT_EQ(OpenLayout(u"ruv/ui/none"), nullptr);
}

TEST_F(ImageLayoutTest, UnreadableDocumentGivesAnEmptyLayout) {
  WriteTestFile("broken.psd", "8BPS but nothing else");
  auto layout = OpenLayout(u"broken");
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->GetLayerCount(), 0u);
  EXPECT_EQ(layout->GetLayer(0), nullptr);
  EXPECT_EQ(layout->FindLayer(u"x", nullptr, 0, nullptr), nullptr);
}

// A layer of each kind of layout loads as an image through the renderer, with its description.
TEST_F(ImageLayoutTest, LayersLoadThroughTheRenderer) {
  const std::string xml = R"(<Layers><Layer name="ui/b_01_in" x="3" y="4" width="2" height="1" opacity="90" ind="2"/></Layers>)";
  WriteTestFile("folder/layers.xml", xml);
  // An uncompressed 32-bit top-down TGA of 2 x 1 white pixels.
  std::string tga(18, '\0');
  tga[2] = 2, tga[12] = 2, tga[14] = 1, tga[16] = 32, tga[17] = 0x28;
  WriteTestFile("folder/ui/b_01_in.tga", tga + std::string(8, '\xFF'));
  WriteTestFile("disk.psd", LayeredDocument());
  const std::u16string pack = filetest::UniquePackName();
  WriteTestFile(std::filesystem::path(pack).string(), filetest::MakePack({{u"packed.psd", LayeredDocument()}}));
  Files()->GetMountTable()[u"ruv/"] = pack;

  struct Case {
    const char* name;
    std::u16string layout, layer;
    float x, width;
    int opacity;
  };
  const Case cases[] = {
      {"Folder", u"folder", u"ui/b_01_in", 3, 2, 90},
      {"Document", u"disk", u"ui/menu/b_01_in", 0, 2, 128},
      {"DocumentInAPack", u"ruv/packed", u"ui/menu/b_01_in", 0, 2, 128},
  };
  fakes::RecordingRender render;
  for (const Case& c : cases) {
    auto layout = OpenLayout(c.layout);
    ASSERT_NE(layout, nullptr) << c.name;
    render::Image* image = nullptr;
    base::ImageInfo info;
    ASSERT_EQ(render.LoadImage(c.layer, layout.get(), &image, &info), VN_OK) << c.name;
    std::unique_ptr<render::Image> owned(image);
    EXPECT_EQ(image->GetWidth(), 2) << c.name;
    EXPECT_FLOAT_EQ(info.mX, c.x) << c.name;
    EXPECT_FLOAT_EQ(info.mWidth, c.width) << c.name;
    EXPECT_EQ(info.mOpacity, c.opacity) << c.name;
    EXPECT_EQ(info.mName, c.layer) << c.name;
  }
}

}  // namespace
