#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/MemoryStream.h"
#include "Core/File/FileManager.h"
#include "Core/Lightwave/MeshLibrary.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceManager.h"
#include "fakes/GoldenImage.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScratchFolder.h"
#include "fakes/RecordingRender.h"

namespace {

struct MeshRecordSpec {
  std::string name;
  std::string texture;
  std::uint32_t vertexStart, vertexCount, indexStart, indexCount;
};

struct VertexSpec {
  float x, y, z, u, v;
};

// The bytes of a library file.
class MeshLibraryBytes {
 public:
  std::vector<std::uint32_t> indices;
  std::vector<VertexSpec> vertices;
  std::vector<MeshRecordSpec> meshes;
  std::uint32_t version = 2012;

  std::string Build() const {
    std::string out;
    U32(out, static_cast<std::uint32_t>(indices.size()));
    for (std::uint32_t index : indices) U32(out, index);
    U32(out, static_cast<std::uint32_t>(vertices.size()));
    for (const VertexSpec& v : vertices) {
      for (float f : {v.x, v.y, v.z, v.u, v.v}) F32(out, f);
    }
    U32(out, static_cast<std::uint32_t>(meshes.size()));
    for (const MeshRecordSpec& m : meshes) {
      Str(out, m.name);
      Str(out, m.texture);
      for (std::uint32_t value : {m.vertexStart, m.vertexCount, m.indexStart, m.indexCount}) U32(out, value);
    }
    U32(out, version);
    return out;
  }

  static void U32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  static void F32(std::string& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    U32(out, bits);
  }
  static void Str(std::string& out, const std::string& text) {
    U32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
  }
};

// Two quads over vertices 0-3 and 4-7, both with texture "sub\t.png"; a triangle named "Quad".
MeshLibraryBytes SampleMeshLibrary() {
  MeshLibraryBytes lib;
  lib.indices = {0, 1, 2, 2, 3, 0, 4, 5, 6, 5, 6, 7};
  lib.vertices = {{0, 0, 0, 0, 0.25f},   {10, 0, 1, 1, 0},    {10, 5, 2, 1, 1},   {0, 5, 0, 0, 1},
                  {-3, -4, 0, 0, 0},     {3, -4, 0, 1, 0},    {3, 4, 0, 1, 1},    {-3, 4, 9, 0, 1}};
  lib.meshes = {{"quad", "sub\\t.png", 0, 4, 0, 6}, {"other", "sub\\t.png", 4, 4, 6, 6}};
  return lib;
}

VNResultEnum ReadMeshLibraryBytes(lightwave::MeshLibrary& library, const std::string& bytes) {
  base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
  return library.Read(&stream);
}

TEST(MeshLibraryTest, ReadsListsMeshesBoxesAndRebasedIndices) {
  lightwave::MeshLibrary library;
  ASSERT_EQ(VN_OK, ReadMeshLibraryBytes(library, SampleMeshLibrary().Build()));
  ASSERT_EQ(2u, library.GetMeshes().size());
  ASSERT_EQ(8u, library.GetVertices().size());
  const render::SVertex2D& first = library.GetVertices()[0];
  EXPECT_FLOAT_EQ(1.0f, first.w);
  EXPECT_EQ(0xFFFFFFFFu, first.diffuse);
  EXPECT_EQ(0xFFFFFFFFu, first.specular);
  EXPECT_FLOAT_EQ(0.75f, first.v);  // 1 - 0.25
  EXPECT_FLOAT_EQ(1.0f, library.GetVertices()[1].v);

  const lightwave::Mesh* other = library.FindMesh("other");
  ASSERT_NE(nullptr, other);
  EXPECT_EQ(std::u16string(u"sub\\t.png"), other->mTexture);
  EXPECT_EQ(6u, other->mIndexCount);
  EXPECT_EQ(4u, other->mVertexCount);
  EXPECT_EQ(&library.GetVertices()[4], other->mVertices);
  EXPECT_EQ(&library.GetIndices()[6], other->mIndices);
  const std::uint32_t relative[] = {0, 1, 2, 1, 2, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(relative[i], other->mIndices[i]) << i;
  EXPECT_FLOAT_EQ(-3.0f, other->mBox.min.x);
  EXPECT_FLOAT_EQ(-4.0f, other->mBox.min.y);
  EXPECT_FLOAT_EQ(3.0f, other->mBox.max.x);
  EXPECT_FLOAT_EQ(9.0f, other->mBox.max.z);
  const lightwave::Mesh* quad = library.FindMesh("quad");
  ASSERT_NE(nullptr, quad);
  EXPECT_FLOAT_EQ(10.0f, quad->mBox.max.x);
  EXPECT_FLOAT_EQ(2.0f, quad->mBox.max.z);
  EXPECT_EQ(1u, library.GetTextures().size());
  EXPECT_EQ(nullptr, library.FindMesh("Quad"));
  EXPECT_EQ(nullptr, library.FindMesh("qua"));
}

TEST(MeshLibraryTest, VersionTable) {
  const struct {
    std::uint32_t version;
    VNResultEnum result;
  } cases[] = {{2011, VN_OK}, {2012, VN_OK}, {2013, VN_FAIL}, {2010, VN_FAIL}, {0, VN_FAIL}};
  for (const auto& c : cases) {
    MeshLibraryBytes lib = SampleMeshLibrary();
    lib.version = c.version;
    lightwave::MeshLibrary library;
    EXPECT_EQ(c.result, ReadMeshLibraryBytes(library, lib.Build())) << c.version;
    EXPECT_EQ(c.result == VN_OK ? 2u : 0u, library.GetMeshes().size());
  }
}

TEST(MeshLibraryTest, EveryTruncationFailsAndLeavesNothing) {
  const std::string whole = SampleMeshLibrary().Build();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    lightwave::MeshLibrary library;
    EXPECT_EQ(VN_FAIL, ReadMeshLibraryBytes(library, whole.substr(0, size))) << size;
    EXPECT_TRUE(library.GetMeshes().empty());
    EXPECT_TRUE(library.GetVertices().empty());
    EXPECT_TRUE(library.GetIndices().empty());
    EXPECT_TRUE(library.GetTextures().empty());
  }
}

TEST(MeshLibraryTest, CountsRangesAndIndicesFromTheFileAreChecked) {
  struct Case {
    const char* name;
    std::function<std::string()> bytes;
  };
  auto patched = [](std::function<void(MeshLibraryBytes&)> change) {
    return [change] {
      MeshLibraryBytes lib = SampleMeshLibrary();
      change(lib);
      return lib.Build();
    };
  };
  auto withFirstWord = [](std::uint32_t word) {
    return [word] {
      std::string bytes = SampleMeshLibrary().Build();
      std::string head;
      MeshLibraryBytes::U32(head, word);
      return head + bytes.substr(4);
    };
  };
  const Case cases[] = {
      {"index count beyond the file", withFirstWord(0x40000000u)},
      {"index count of all ones", withFirstWord(0xFFFFFFFFu)},
      {"vertex range past the list", patched([](MeshLibraryBytes& l) { l.meshes[1].vertexCount = 5; })},
      {"vertex start overflowing", patched([](MeshLibraryBytes& l) { l.meshes[1].vertexStart = 0xFFFFFFFFu; })},
      {"index range past the list", patched([](MeshLibraryBytes& l) { l.meshes[1].indexCount = 7; })},
      {"index start overflowing", patched([](MeshLibraryBytes& l) { l.meshes[1].indexStart = 0xFFFFFFF0u; })},
      {"index past the vertex list", patched([](MeshLibraryBytes& l) { l.indices[3] = 8; })},
      {"index outside the mesh's own range", patched([](MeshLibraryBytes& l) { l.indices[7] = 0; })},
      {"meshes sharing indices with different bases",
       patched([](MeshLibraryBytes& l) { l.meshes.push_back({"again", "x", 1, 3, 0, 3}); })},
      {"name length beyond the file", patched([](MeshLibraryBytes& l) { l.meshes[0].name = ""; l.version = 0x7FFFFFFF; })},
  };
  for (const Case& c : cases) {
    lightwave::MeshLibrary library;
    EXPECT_EQ(VN_FAIL, ReadMeshLibraryBytes(library, c.bytes())) << c.name;
    EXPECT_TRUE(library.GetMeshes().empty()) << c.name;
  }
  // A huge mesh count: its records cannot fit in what is left.
  MeshLibraryBytes lib;
  std::string bytes = lib.Build();
  bytes = bytes.substr(0, 8);
  MeshLibraryBytes::U32(bytes, 0x10000000u);
  MeshLibraryBytes::U32(bytes, 2012);
  lightwave::MeshLibrary library;
  EXPECT_EQ(VN_FAIL, ReadMeshLibraryBytes(library, bytes));
  // Meshes may share an index range when they agree.
  MeshLibraryBytes shared = SampleMeshLibrary();
  shared.meshes.push_back({"twin", "y", 0, 4, 0, 6});
  EXPECT_EQ(VN_OK, ReadMeshLibraryBytes(library, shared.Build()));
  EXPECT_EQ(2u, library.GetTextures().size());
}

// A library and its textures in a scratch data root.
class MeshLibraryLoadTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::filesystem::create_directories("anim/images/sub");
    fakes::RgbaImage image;
    image.width = 2;
    image.height = 2;
    image.pixels.assign(16, 0xFF);
    ASSERT_TRUE(fakes::WritePng("anim/images/sub/t.png", image));
    ASSERT_EQ(VN_OK, mRender.Init());
  }
  void TearDown() override {
    ScratchFolderTest::TearDown();
  }
  static void WriteMeshLibraryFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  fakes::RecordingRender mRender;
};

TEST_F(MeshLibraryLoadTest, SharedTextureIsLoadedOnceFromImagesWithSlashes) {
  WriteMeshLibraryFile("anim/lib.lib", SampleMeshLibrary().Build());
  {
    resource::ResourcePtr<lightwave::MeshLibrary> library =
        resource::ResourceManager::Instance()->Get<lightwave::MeshLibrary>(u"anim/lib.lib");
    ASSERT_TRUE(library);
    library->SetRender(&mRender);
    ASSERT_EQ(VN_OK, library->Load());
    ASSERT_EQ(1u, library->GetTextures().size());
    render::Image* image = library->GetTextures().begin()->second;
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->GetWidth());
    EXPECT_EQ(image, library->FindMesh("quad")->mImage);
    EXPECT_EQ(image, library->FindMesh("other")->mImage);
  }
  // The last handle unloaded and removed it.
  EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<lightwave::MeshLibrary>().empty());
}

TEST_F(MeshLibraryLoadTest, FailedLoadsLeaveTheLibraryEmpty) {
  MeshLibraryBytes missingTexture = SampleMeshLibrary();
  missingTexture.meshes[1].texture = "none.png";
  WriteMeshLibraryFile("anim/missing_texture.lib", missingTexture.Build());
  MeshLibraryBytes badVersion = SampleMeshLibrary();
  badVersion.version = 2013;
  WriteMeshLibraryFile("anim/bad_version.lib", badVersion.Build());
  for (const char16_t* name : {u"anim/missing_texture.lib", u"anim/bad_version.lib", u"anim/absent.lib"}) {
    fakes::MainLogRecorder log;
    lightwave::MeshLibrary library;
    library.Init(name);
    library.SetRender(&mRender);
    EXPECT_NE(VN_OK, library.Load());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.GetMeshes().empty());
    EXPECT_TRUE(library.GetTextures().empty());
    EXPECT_FALSE(log.Text().empty());
  }
}

TEST_F(MeshLibraryLoadTest, TexturesNeedARenderer) {
  WriteMeshLibraryFile("anim/lib.lib", SampleMeshLibrary().Build());
  fakes::MainLogRecorder log;
  lightwave::MeshLibrary library;
  library.Init(u"anim/lib.lib");
  EXPECT_EQ(VN_FAIL, library.Load());
  EXPECT_TRUE(library.GetMeshes().empty());
}

}  // namespace
