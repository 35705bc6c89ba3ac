// Texture resources, images and render targets over the recording renderer.
#include "Core/Render/Image.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Vertices.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "tests/Images/ImageFiles.h"
#include "tests/fakes/RecordingRender.h"

namespace {

using resource::ResourcePtr;
using resource::ResourceTexture;
using testimages::Bytes;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// Opaque pixels of one colour, width x height, as RGBA rows.
Bytes Solid(int width, int height) { return Bytes(size_t(width) * height * 4, 0xFF); }

class ImageFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qm_images_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mFolder = pattern;
  }
  void TearDown() override {
    for (const std::string& file : mFiles) unlink(file.c_str());
    rmdir(mFolder.c_str());
  }
  void Write(const std::string& name, const Bytes& bytes) {
    const std::string path = mFolder + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    mFiles.push_back(path);
  }
  // The texture resource of name (in the folder), loaded; empty when the load fails.
  ResourcePtr<ResourceTexture> Load(const std::string& name) {
    ResourcePtr<ResourceTexture> texture = resource::ResourceManager::Instance()->Get<ResourceTexture>(Wide(mFolder + "/" + name));
    texture->SetRender(&mRender);
    if (texture->Load() != VN_OK) return {};
    return texture;
  }

  fakes::RecordingRender mRender;
  std::string mFolder;
  std::vector<std::string> mFiles;
};

struct PrecedenceCase {
  const char* name;
  const char* request;
  int width;  // of the file expected to load; 0 = the load fails
};

void PrintTo(const PrecedenceCase& c, std::ostream* os) { *os << c.name; }

class ExtensionPrecedenceTest : public ImageFolderTest, public ::testing::WithParamInterface<PrecedenceCase> {};

// Files: both.png (2 wide), both.tga (3), only.tga (3), pic.bmp (4), UP.PNG (5).
TEST_P(ExtensionPrecedenceTest, FindsTheFirstCandidate) {
  Write("both.png", testimages::MakePng(2, 1, Solid(2, 1)));
  Write("both.tga", testimages::MakeTga(3, 1, true, Solid(3, 1)));
  Write("only.tga", testimages::MakeTga(3, 1, true, Solid(3, 1)));
  Write("pic.bmp", testimages::MakeBmp(4, 1, Bytes(12, 0x40)));
  Write("UP.PNG", testimages::MakePng(5, 1, Solid(5, 1)));
  const PrecedenceCase& c = GetParam();
  ResourcePtr<ResourceTexture> texture = Load(c.request);
  if (c.width == 0) {
    EXPECT_FALSE(texture);
    return;
  }
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->mWidth, float(c.width));  // a plain file takes the decoded size
  EXPECT_EQ(texture->mHeight, 1.0f);
  ASSERT_NE(texture->GetTexture(), nullptr);
  EXPECT_EQ(texture->GetTexture()->GetWidth(), c.width);
}

const PrecedenceCase kPrecedenceCases[] = {
    {"PngBeforeTga", "both", 2},
    {"TgaAlone", "only", 3},
    {"NameWithItsExtension", "both.tga", 3},
    {"BitmapOnlyByItsOwnExtension", "pic", 0},
    {"BitmapWithItsExtension", "pic.bmp", 4},
    {"UpperCaseExtensionHasNoDecoder", "UP.PNG", 0},
    {"Missing", "none", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExtensionPrecedenceTest, ::testing::ValuesIn(kPrecedenceCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A layout of layers kept in memory: FindLayer hands out copies of the descriptions.
class MemoryImageContainer : public file::ImageContainer {
 public:
  file::FileInfo* Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                       unsigned* index) override {
    return FindLayer(name, extensions, count, index);
  }
  base::Stream* OpenStream(const std::u16string&) override { return nullptr; }
  base::StreamCreator* GetStreamCreator(const std::u16string&) override { return nullptr; }
  std::u16string GetPath() override { return u"layout/"; }
  file::ImageFileInfo* FindLayer(const std::u16string& name, const char16_t* const*, unsigned, unsigned* index) override {
    const auto found = mLayers.find(name);
    if (found == mLayers.end()) return nullptr;
    if (index) *index = 0;
    return new file::ImageFileInfo(name, name, this, 0, found->second);
  }

  std::map<std::u16string, base::ImageInfo> mLayers;
};

class AtlasTest : public ImageFolderTest {
 protected:
  void SetUp() override {
    ImageFolderTest::SetUp();
    // A 256 x 64 atlas, transparent but for the pixel (67, 34).
    Bytes rgba(256 * 64 * 4, 0);
    rgba[(34 * 256 + 67) * 4 + 3] = 255;
    Write("atlas.png", testimages::MakePng(256, 64, rgba));
    mContainer.mLayers[u"a"] = Layer(0.25f, 0.5f, 0.5f, 0.25f, 128.0f, 16.0f);
    mContainer.mLayers[u"b"] = Layer(0.0f, 0.0f, 0.25f, 0.25f, 64.0f, 16.0f);
  }

  base::ImageInfo Layer(float u, float v, float w, float h, float width, float height) {
    base::ImageInfo info;
    info.mInAtlas = true;
    info.mAtlasPath = Wide(mFolder + "/atlas");
    info.mTextureU = u, info.mTextureV = v, info.mTextureWidth = w, info.mTextureHeight = h;
    info.mWidth = width, info.mHeight = height;
    return info;
  }

  // The image of a layer, as the renderer's image loading makes it.
  std::unique_ptr<render::Image> LoadLayer(const char16_t* name) {
    ResourcePtr<ResourceTexture> texture =
        resource::ResourceManager::Instance()->Get<ResourceTexture>(mContainer.GetPath() + name);
    texture->SetRender(&mRender);
    texture->SetContainer(&mContainer, name);
    if (!texture->IsLoaded() && texture->Load() != VN_OK) return nullptr;
    auto image = std::make_unique<render::Image>();
    image->SetResource(texture);
    return image;
  }

  MemoryImageContainer mContainer;
};

TEST_F(AtlasTest, LayersSampleTheSharedAtlasTexture) {
  auto a = LoadLayer(u"a");
  auto b = LoadLayer(u"b");
  ASSERT_TRUE(a && b);
  ASSERT_NE(a->GetTexture(), nullptr);
  EXPECT_EQ(a->GetTexture(), b->GetTexture());
  EXPECT_EQ(a->GetResource()->GetTexture(), nullptr);  // a layer owns no texture
  EXPECT_EQ(a->GetWidth(), 128);
  EXPECT_EQ(a->GetHeight(), 16);
  EXPECT_EQ(a->GetAtlasOffsetX(), 64);  // 0.25 of 256
  EXPECT_EQ(a->GetAtlasOffsetY(), 32);
}

TEST_F(AtlasTest, MapsTextureCoordinatesIntoTheRegion) {
  auto a = LoadLayer(u"a");
  ASSERT_TRUE(a);
  render::SVertex2D vertices[2] = {};
  vertices[1].u = 1.0f;
  vertices[1].v = 1.0f;
  ASSERT_EQ(a->MapAtlasUV(vertices, 2, 0, render::SVertex2D::GetFormat()), VN_OK);
  EXPECT_FLOAT_EQ(vertices[0].u, 0.25f);
  EXPECT_FLOAT_EQ(vertices[0].v, 0.5f);
  EXPECT_FLOAT_EQ(vertices[1].u, 0.75f);
  EXPECT_FLOAT_EQ(vertices[1].v, 0.75f);
  render::SVertexGeom geometry[1] = {};
  EXPECT_EQ(a->MapAtlasUV(geometry, 1, 0, render::SVertexGeom::GetFormat()), VN_FAIL);  // no texture set
  EXPECT_EQ(a->MapAtlasUV(vertices, 2, 1, render::SVertex2D::GetFormat()), VN_FAIL);
}

TEST_F(AtlasTest, HitTestReadsTheAtlasMaskInsideTheImageOnly) {
  auto a = LoadLayer(u"a");
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->HitTest(3, 2));  // atlas pixel (67, 34)
  EXPECT_FALSE(a->HitTest(2, 2));
  EXPECT_FALSE(a->HitTest(-1, 0));
  EXPECT_FALSE(a->HitTest(0, -1));
  EXPECT_FALSE(a->HitTest(128, 0));  // the atlas goes on, the image does not
  EXPECT_FALSE(a->HitTest(0, 16));
}

TEST_F(AtlasTest, MissingAtlasFailsTheLayer) {
  mContainer.mLayers[u"c"] = Layer(0, 0, 1, 1, 4, 4);
  mContainer.mLayers[u"c"].mAtlasPath = Wide(mFolder + "/nothing");
  EXPECT_EQ(LoadLayer(u"c"), nullptr);
  EXPECT_EQ(LoadLayer(u"missing"), nullptr);
}

TEST(ImageTest, OwnTextureGoesWithTheImage) {
  fakes::RecordingRender render;
  const size_t before = render.GetTextures().size();
  render::Texture* texture = nullptr;
  ASSERT_EQ(render.CreateTexture(texture), VN_OK);
  texture->CreateRenderTarget(32, 16);
  {
    render::Image image(texture);
    EXPECT_EQ(image.GetWidth(), 32);
    EXPECT_EQ(image.GetHeight(), 16);
    EXPECT_EQ(render.GetTextures().size(), before + 1);
  }
  EXPECT_EQ(render.GetTextures().size(), before);
}

TEST(RenderTargetTest, ProjectionIsIdentityUnlessBuilt) {
  fakes::RecordingRender render;
  for (bool build : {false, true}) {
    render::Texture* texture = nullptr;
    ASSERT_EQ(render.CreateTexture(texture), VN_OK);
    texture->CreateRenderTarget(200, 100);
    render::RenderTarget target(texture, build);
    math::Matrix4 expected;
    if (build) render.BuildProjection(200.0f, 100.0f, nullptr, expected);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(target.GetProjection().m[i], expected.m[i]) << i;
    EXPECT_FLOAT_EQ(target.mViewportScaleX, 1.0f);
    EXPECT_FLOAT_EQ(target.mViewportOffsetX, 0.0f);
  }
}


TEST_F(AtlasTest, RendererLoadsLayerImagesAndTheirDescription) {
  render::Image* image = nullptr;
  base::ImageInfo info;
  ASSERT_EQ(mRender.LoadImage(u"a", &mContainer, &image, &info), VN_OK);
  std::unique_ptr<render::Image> owned(image);
  EXPECT_EQ(image->GetWidth(), 128);
  EXPECT_EQ(image->GetResource()->GetName(), u"layout/a");
  EXPECT_TRUE(info.mInAtlas);
  EXPECT_FLOAT_EQ(info.mTextureU, 0.25f);
  render::Image* missing = nullptr;
  EXPECT_EQ(mRender.LoadImage(u"missing", &mContainer, &missing, nullptr), VN_FAIL);
  EXPECT_EQ(missing, nullptr);
}

TEST(RenderTargetTest, RendererMakesTargetsOfTheSize) {
  fakes::RecordingRender render;
  render::RenderTarget* target = nullptr;
  ASSERT_EQ(render.CreateRenderTarget(64, 32, &target, false), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  EXPECT_EQ(target->GetWidth(), 64);
  EXPECT_EQ(target->GetHeight(), 32);
  ASSERT_NE(target->GetTexture(), nullptr);
  EXPECT_FALSE(target->HitTest(0, 0));  // a render target has no mask
}

}  // namespace
