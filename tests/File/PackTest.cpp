#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AllocationProbe.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/Archiver.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackIndex.h"
#include "tests/fakes/FileTestSupport.h"

namespace {

std::string U32(std::uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}

std::string Utf16Le(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

std::string ReadAll(base::Stream* stream) {
  std::string bytes(stream->GetSize() + 16, '\0');
  bytes.resize(stream->Read(bytes.data(), static_cast<unsigned>(bytes.size())));
  return bytes;
}

TEST(PackIndexTest, WritesTheDocumentedLayout) {
  const std::string golden = U32(6) + "vnpack" + U32(2) +                                  //
                             U32(5) + Utf16Le("a.txt") + U32(3) + U32(72) + '\0' + U32(0) +  //
                             U32(7) + Utf16Le("b/c.txt") + U32(5) + U32(75) + '\0' + U32(0) + "abc" + "hello";
  ASSERT_EQ(golden.size(), 80u);
  EXPECT_EQ(filetest::MakePack({{u"b/c.txt", "hello"}, {u"a.txt", "abc"}}), golden);

  file::PackIndex index;
  base::MemoryStream stream(golden.data(), static_cast<unsigned>(golden.size()));
  ASSERT_EQ(index.Read(&stream), VN_OK);
  EXPECT_EQ(index.GetHeaderSize(), 72u);
  ASSERT_EQ(index.GetEntries().size(), 2u);
  EXPECT_EQ(index.GetEntries().begin()->first, u"a.txt");
  EXPECT_EQ(index.Find(u"b/c.txt")->offset, 75u);
  EXPECT_EQ(index.Find(u"b/c.txt")->size, 5u);
}

TEST(PackIndexTest, OrdersNamesByUtf16CodeUnits) {
  // By code point U+FF21 < U+1F600; by UTF-16 units 0xD83D < 0xFF21. "a" comes before "a/b" and
  // "a.b" before "a/b" ('.' < '/').
  const std::u16string emoji = u"\U0001F600";
  const std::string pack = filetest::MakePack({{u"\uFF21", "1"}, {emoji, "2"}, {u"a/b", "3"}, {u"a.b", "4"}, {u"a", "5"}});
  file::PackIndex index;
  base::MemoryStream stream(pack.data(), static_cast<unsigned>(pack.size()));
  ASSERT_EQ(index.Read(&stream), VN_OK);
  std::vector<std::u16string> names;
  for (const auto& [name, entry] : index.GetEntries()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"a.b", u"a/b", emoji, u"\uFF21"}));
  EXPECT_EQ(index.Find(emoji)->offset, index.Find(u"a/b")->offset + 1);  // bodies in the same order
}

struct CorruptCase {
  const char* name;
  std::string bytes;
  std::size_t entriesKept;
};

void PrintTo(const CorruptCase& c, std::ostream* os) { *os << c.name; }

std::string Entry(const std::string& name, std::uint32_t size, std::uint32_t offset) {
  return U32(static_cast<std::uint32_t>(name.size())) + Utf16Le(name) + U32(size) + U32(offset) + '\0' + U32(0);
}

const std::string kHead = U32(6) + "vnpack";

class PackCorruptionTest : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(PackCorruptionTest, FailsWithoutLargeAllocations) {
  const CorruptCase& c = GetParam();
  file::PackIndex index;
  base::MemoryStream stream(c.bytes.data(), static_cast<unsigned>(c.bytes.size()));
  filetest::AllocationProbe probe;
  EXPECT_EQ(index.Read(&stream), VN_FAIL);
  EXPECT_LT(probe.Largest(), 4096u);
  EXPECT_EQ(index.GetEntries().size(), c.entriesKept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackCorruptionTest,
    ::testing::Values(
        CorruptCase{"Empty", "", 0}, CorruptCase{"MagicLengthSeven", U32(7) + "vnpackx" + U32(0), 0},
        CorruptCase{"MagicLengthHuge", U32(0xFFFFFFF0u) + "vnpack" + U32(0), 0},
        CorruptCase{"MagicLengthZero", U32(0) + U32(0), 0}, CorruptCase{"WrongMagic", U32(6) + "vnpacc" + U32(0), 0},
        CorruptCase{"CutMagic", U32(6) + "vnp", 0}, CorruptCase{"NoCount", kHead + "\x01", 0},
        CorruptCase{"CountWithoutEntries", kHead + U32(0xFFFFFFFFu), 0},
        CorruptCase{"NameLengthHuge", kHead + U32(1) + U32(0x7FFFFFFFu) + "ab", 0},
        CorruptCase{"NameLongerThanTheRest", kHead + U32(1) + U32(20) + Utf16Le("abcdefghij") + U32(0) + U32(0), 0},
        CorruptCase{"CutEntryTail", kHead + U32(1) + U32(1) + Utf16Le("a") + U32(0) + U32(0) + '\0', 0},
        CorruptCase{"BodyPastTheEnd", kHead + U32(1) + Entry("a", 10, 31), 0},
        CorruptCase{"OffsetPastTheEnd", kHead + U32(1) + Entry("a", 0, 1000), 0},
        CorruptCase{"SizeWrapsAround", kHead + U32(1) + Entry("a", 0xFFFFFFF0u, 0x20), 0},
        CorruptCase{"SecondEntryBroken", kHead + U32(2) + Entry("a", 0, 0) + U32(50), 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PackIndexTest, KeepsTheFirstOfARepeatedName) {
  const std::string bytes = kHead + U32(2) + Entry("a", 1, 0) + Entry("a", 2, 0);
  file::PackIndex index;
  base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
  EXPECT_EQ(index.Read(&stream), VN_OK);
  EXPECT_EQ(index.Find(u"a")->size, 1u);
}

TEST(PackIndexTest, WriteReportsAShortWrite) {
  struct Full : base::MemoryStream {
    void Resize(unsigned, bool) override {}
  } stream;
  file::PackIndex index;
  index.GetEntries()[u"a"] = {};
  EXPECT_EQ(index.Write(&stream), VN_FAIL);
}

// The same tree on the disk under "ruv/" and in a pack mounted at "ruv/".
class MountTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    mPack = filetest::UniquePackName();
    for (const auto& [name, body] : kTree) WriteTestFile(Narrow(u"ruv/" + name), body);
  }

  void WritePack(const std::map<std::u16string, std::string>& files) {
    WriteTestFile(Narrow(mPack), filetest::MakePack(files));
  }
  void Mount() { Manager()->GetMountTable()[u"ruv/"] = mPack; }
  static file::FileManager* Manager() { return file::FileManager::Instance(); }
  static std::string Narrow(const std::u16string& text) {
    return std::filesystem::path(text).string();
  }

  std::u16string mPack;
  const std::map<std::u16string, std::string> kTree = {
      {u"a.txt", "A"},         {u"a/x.txt", "AX"},        {u"a/b/y.txt", "ABY"},
      {u"b.txt", "B"},         {u"c/z.txt", "CZ"},        {u"\U0001F600.txt", "E"},
      {u"\uFF21.txt", "W"},    {u"levels/1.xml", "<1/>"}, {u"levels/2.xml", "<2/>"},
      {u"config.xml", "disk"}, {u"img.png", "png"},       {u"img.dds", "dds"}};
};

struct Listing {
  std::vector<std::u16string> files[4];
  std::vector<std::u16string> folders[2];
};

Listing ListEverything(file::FileManager* manager, const std::u16string& folder) {
  Listing listing;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(manager->ListFiles(folder, i & 1, listing.files[i], i & 2), VN_OK);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(manager->ListFolders(folder, listing.folders[i], i & 1), VN_OK);
  return listing;
}

TEST_F(MountTest, DiskAndPackGiveTheSameListings) {
  Mount();  // the pack is still missing: the disk serves
  for (const char16_t* folder : {u"ruv", u"ruv\\a", u"ruv/a//", u"ruv/levels/", u"ruv/none"}) {
    const Listing disk = ListEverything(Manager(), folder);
    WritePack(kTree);
    const Listing pack = ListEverything(Manager(), folder);
    std::filesystem::remove(Narrow(mPack));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pack.files[i], disk.files[i]) << i;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(pack.folders[i], disk.folders[i]) << i;
  }
  const Listing sample = ListEverything(Manager(), u"ruv\\a");
  EXPECT_EQ(sample.files[0], (std::vector<std::u16string>{u"ruv/a/x.txt"}));
  EXPECT_EQ(sample.files[2], (std::vector<std::u16string>{u"x.txt"}));
  EXPECT_EQ(sample.files[3], (std::vector<std::u16string>{u"b/y.txt", u"x.txt"}));
  EXPECT_EQ(sample.folders[1], (std::vector<std::u16string>{u"b"}));
  const Listing root = ListEverything(Manager(), u"ruv");
  EXPECT_EQ(root.folders[1], (std::vector<std::u16string>{u"a", u"c", u"levels"}));
  EXPECT_TRUE(ListEverything(Manager(), u"ruv/none").files[3].empty());
}

TEST_F(MountTest, ThePackHidesTheFolderWhileItExists) {
  WritePack({{u"config.xml", "pack"}, {u"only.txt", "only"}});
  Mount();
  WriteTestFile("RUV/config.xml", "upper");
  struct Case {
    std::u16string name;
    const char* expected;  // null: not found
    bool archive;
  };
  // Other letter case and '\' never match the prefix: the disk answers those.
  const Case cases[] = {{u"ruv/config.xml", "pack", true},
                        {u"ruv/only.txt", "only", true},
                        {u"ruv/a.txt", nullptr, false},
                        {u"RUV/config.xml", "upper", false},
                        {u"ruv\\config.xml", "disk", false}};
  for (const Case& c : cases) {
    std::unique_ptr<file::FileInfo> info(Manager()->Open(c.name, nullptr, 0, nullptr));
    ASSERT_EQ(info != nullptr, c.expected != nullptr);
    if (!info) continue;
    EXPECT_EQ(info->IsArchive(), c.archive);
    std::unique_ptr<base::Stream> stream(info->Open());
    ASSERT_TRUE(stream);
    EXPECT_EQ(ReadAll(stream.get()), c.expected);
  }
  EXPECT_FALSE(Manager()->Exists(u"ruv/a.txt"));
  EXPECT_FALSE(Manager()->IsFolder(u"ruv/a"));
  std::filesystem::remove(Narrow(mPack));
  std::unique_ptr<file::FileInfo> info(Manager()->Open(u"ruv/config.xml", nullptr, 0, nullptr));
  ASSERT_TRUE(info);
  std::unique_ptr<base::Stream> stream(info->Open());
  EXPECT_EQ(ReadAll(stream.get()), "disk");
}

struct ChoiceCase {
  const char* name;
  std::u16string file;
  std::vector<const char16_t*> extensions;
  bool found;
  unsigned index;
  std::u16string path;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class ExtensionChoiceTest : public MountTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ExtensionChoiceTest, FirstExistingCandidateWinsOnDiskAndInPack) {
  const ChoiceCase& c = GetParam();
  for (bool packed : {false, true}) {
    if (packed) {
      WritePack(kTree);
      Mount();
    }
    unsigned index = 99;
    std::unique_ptr<file::FileInfo> info(Manager()->Open(
        c.file, c.extensions.data(), static_cast<unsigned>(c.extensions.size()), &index));
    ASSERT_EQ(info != nullptr, c.found) << packed;
    EXPECT_EQ(Manager()->Exists(c.file, c.extensions.data(), static_cast<unsigned>(c.extensions.size())), c.found);
    if (!c.found) continue;
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(info->GetName(), c.file.substr(4));
    EXPECT_EQ(info->GetPath(), packed ? c.path.substr(4) : c.path);
    EXPECT_EQ(info->IsArchive(), packed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtensionChoiceTest,
    ::testing::Values(ChoiceCase{"BothPickFirst", u"ruv/img", {u".dds", u".png"}, true, 0, u"ruv/img.dds"},
                      ChoiceCase{"OrderIsPreference", u"ruv/img", {u".png", u".dds"}, true, 0, u"ruv/img.png"},
                      ChoiceCase{"SecondOnly", u"ruv/img", {u".jpg", u".png"}, true, 1, u"ruv/img.png"},
                      ChoiceCase{"EmptyIsTheName", u"ruv/img.png", {u".x", u""}, true, 1, u"ruv/img.png"},
                      ChoiceCase{"None", u"ruv/img", {u".jpg", u".gif"}, false, 0, u""},
                      ChoiceCase{"FolderIsNoFile", u"ruv/a", {u""}, false, 0, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MountTest, AFolderOpensAsNothing) {
  for (bool packed : {false, true}) {
    if (packed) {
      WritePack(kTree);
      Mount();
    }
    EXPECT_EQ(Manager()->Open(u"ruv/levels", nullptr, 0, nullptr), nullptr);
    EXPECT_TRUE(Manager()->IsFolder(u"ruv/levels"));
    EXPECT_FALSE(Manager()->IsFolder(u"ruv/levels/"));
    EXPECT_FALSE(Manager()->IsFolder(u"ruv/levels/1.xml"));
  }
}

TEST_F(MountTest, AnEntryThatIsAlsoAFolderPrefix) {
  WritePack({{u"x", "file"}, {u"x/1", "one"}, {u"x/2", "two"}, {u"y/3", "three"}});
  Mount();
  std::unique_ptr<file::FileInfo> info(Manager()->Open(u"ruv/x", nullptr, 0, nullptr));
  ASSERT_TRUE(info);
  EXPECT_TRUE(Manager()->IsFolder(u"ruv/x"));
  std::vector<std::u16string> folders;
  Manager()->ListFolders(u"ruv/", folders, true);
  EXPECT_EQ(folders, (std::vector<std::u16string>{u"x", u"y"}));
}

TEST_F(MountTest, StreamsFromThePackAreIndependent) {
  WritePack(kTree);
  Mount();
  std::unique_ptr<file::FileInfo> info(Manager()->Open(u"ruv/a/b/y.txt", nullptr, 0, nullptr));
  ASSERT_TRUE(info);
  std::unique_ptr<base::Stream> first(info->Open());
  std::unique_ptr<base::Stream> second(info->Open());
  char byte = 0;
  ASSERT_EQ(first->Read(&byte, 1), 1u);
  EXPECT_EQ(byte, 'A');
  EXPECT_EQ(ReadAll(second.get()), "ABY");
  EXPECT_EQ(ReadAll(first.get()), "BY");

  file::Archiver* archiver = nullptr;
  std::u16string inner;
  archiver = Manager()->FindArchive(u"ruv/levels/1.xml", inner);
  ASSERT_TRUE(archiver);
  EXPECT_EQ(inner, u"levels/1.xml");
  EXPECT_EQ(archiver->GetPath(), u"ruv/");
  std::unique_ptr<base::StreamCreator> creator(archiver->GetStreamCreator(inner));
  ASSERT_TRUE(creator);
  base::Stream* created = nullptr;
  ASSERT_EQ(creator->Create(&created), VN_OK);
  std::unique_ptr<base::Stream> owned(created);
  EXPECT_EQ(ReadAll(created), "<1/>");
  EXPECT_EQ(archiver->GetStreamCreator(u"levels/none.xml"), nullptr);
}

TEST_F(MountTest, APackThatCannotBeOpenedGivesNoStream) {
  WritePack(kTree);
  file::Archiver archiver(u"ruv/", mPack, Manager());
  EXPECT_TRUE(archiver.Exists(u"b.txt"));
  std::filesystem::remove(Narrow(mPack));
  EXPECT_EQ(archiver.OpenStream(u"b.txt"), nullptr);
  EXPECT_EQ(archiver.OpenStream(u"missing.txt"), nullptr);
}

TEST_F(MountTest, ACorruptPackCapturesItsPrefixAndServesNothing) {
  WriteTestFile(Narrow(mPack), "not a pack at all");
  Mount();
  EXPECT_EQ(Manager()->Open(u"ruv/config.xml", nullptr, 0, nullptr), nullptr);
  std::vector<std::u16string> names;
  EXPECT_EQ(Manager()->ListFiles(u"ruv", true, names, true), VN_OK);
  EXPECT_TRUE(names.empty());
}

}  // namespace
