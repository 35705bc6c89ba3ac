#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/Gui/PackBuilder.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScratchFolder.h"

namespace {

// Each test in a fresh current folder (the data root) with an empty mount table.
class PackBuilderTest : public fakes::ScratchFolderTest {
 protected:
  static void WritePackTestFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << bytes;
  }
  static std::string ReadPackTestFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

};

// A listed file that no open can read, even as root: a bound Unix socket.
void MakeUnopenablePackTestFile(const char* path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path);
  ASSERT_EQ(0, bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
  close(fd);
}

void PutPackTestU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutPackTestEntry(std::string& out, const std::u16string& name, std::uint32_t size, std::uint32_t offset) {
  PutPackTestU32(out, static_cast<std::uint32_t>(name.size()));
  for (char16_t unit : name) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
  PutPackTestU32(out, size);
  PutPackTestU32(out, offset);
  out.push_back('\0');       // flag
  PutPackTestU32(out, 0);    // extra
}

// a.txt (3 bytes) and b/c.txt (5 bytes): header 6 + 8 + (2*5 + 4) + (2*7 + 4) + 26 = 72 bytes,
// bodies at 72 and 75, 80 bytes in all.
std::string TwoFilePackBytes() {
  std::string out;
  PutPackTestU32(out, 6);
  out += "vnpack";
  PutPackTestU32(out, 2);
  PutPackTestEntry(out, u"a.txt", 3, 72);
  PutPackTestEntry(out, u"b/c.txt", 5, 75);
  out += "abc";
  out += "hello";
  return out;
}

TEST_F(PackBuilderTest, TwoFilesGiveTheDocumentedBytes) {
  WritePackTestFile("ruv/b/c.txt", "hello");
  WritePackTestFile("ruv/a.txt", "abc");
  fakes::MainLogRecorder log;
  ASSERT_EQ(VN_OK, gui::PackBuilder::BuildPack(u"ruv/", u"data.dat"));
  const std::string pack = ReadPackTestFile("data.dat");
  EXPECT_EQ(80u, pack.size());
  EXPECT_EQ(TwoFilePackBytes(), pack);
  EXPECT_FALSE(std::filesystem::exists("data.dat.part"));
  EXPECT_NE(std::u16string::npos, log.Text().find(u"Pack data.dat built from ruv/: 2 files"));
}

TEST_F(PackBuilderTest, EmptyOrMissingFolderGivesAPackWithoutEntries) {
  std::string empty;
  PutPackTestU32(empty, 6);
  empty += "vnpack";
  PutPackTestU32(empty, 0);
  ASSERT_EQ(14u, empty.size());
  std::filesystem::create_directories("ruv");
  for (const char16_t* folder : {u"ruv/", u"missing/"}) {
    ASSERT_EQ(VN_OK, gui::PackBuilder::BuildPack(folder, u"data.dat"));
    EXPECT_EQ(empty, ReadPackTestFile("data.dat"));
  }
}

TEST_F(PackBuilderTest, DeepFilesAndListingOrderAndRepeatedRuns) {
  // "a/x" lists before "a.txt" on the disk but comes after it in a pack.
  WritePackTestFile("ruv/a/x", "1");
  WritePackTestFile("ruv/a.txt", "22");
  WritePackTestFile("ruv/z/y/deep.bin", std::string(3000, '\x7f'));
  ASSERT_EQ(VN_OK, gui::PackBuilder::BuildPack(u"ruv", u"data.dat"));
  const std::string first = ReadPackTestFile("data.dat");
  ASSERT_EQ(VN_OK, gui::PackBuilder::BuildPack(u"ruv", u"data.dat"));
  EXPECT_EQ(first, ReadPackTestFile("data.dat"));
  const std::size_t aTxt = first.find(std::string("a\0.\0t\0x\0t\0", 10));
  const std::size_t aX = first.find(std::string("a\0/\0x\0", 6));
  ASSERT_NE(std::string::npos, aTxt);
  ASSERT_NE(std::string::npos, aX);
  EXPECT_LT(aTxt, aX);
  EXPECT_EQ("221" + std::string(3000, '\x7f'), first.substr(first.size() - 3003));
}

TEST_F(PackBuilderTest, MountedOldPackIsNotWhatGetsPacked) {
  WritePackTestFile("ruv/new.txt", "fresh");
  WritePackTestFile("data.dat", TwoFilePackBytes());
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = u"data.dat";
  // The mount serves the old pack's listing...
  std::vector<std::u16string> mounted;
  file::FileManager::Instance()->ListFiles(u"ruv/", true, mounted, true);
  ASSERT_EQ(2u, mounted.size());
  // ...but the build reads the folder on the disk.
  ASSERT_EQ(VN_OK, gui::PackBuilder::BuildMountedPacks());
  std::string expected;
  PutPackTestU32(expected, 6);
  expected += "vnpack";
  PutPackTestU32(expected, 1);
  PutPackTestEntry(expected, u"new.txt", 5, 14 + 4 + 14 + 13);
  expected += "fresh";
  EXPECT_EQ(expected, ReadPackTestFile("data.dat"));
}

TEST_F(PackBuilderTest, EveryMountIsBuiltInPrefixOrder) {
  WritePackTestFile("b/one", "1");
  WritePackTestFile("a/two", "22");
  auto& mounts = file::FileManager::Instance()->GetMountTable();
  mounts[u"b/"] = u"b.dat";
  mounts[u"a/"] = u"a.dat";
  fakes::MainLogRecorder log;
  ASSERT_EQ(VN_OK, gui::PackBuilder::BuildMountedPacks());
  EXPECT_TRUE(std::filesystem::exists("a.dat"));
  EXPECT_TRUE(std::filesystem::exists("b.dat"));
  const std::u16string text = log.Text();
  EXPECT_LT(text.find(u"Pack a.dat"), text.find(u"Pack b.dat"));
}

// Every failure keeps the old pack as it was and leaves no temporary file.
TEST_F(PackBuilderTest, FailuresKeepTheOldPack) {
  struct Case {
    const char* name;
    void (*prepare)();
    const char16_t* pack;
    const char16_t* logged;
  };
  const Case cases[] = {
      {"a listed file that cannot be opened",
       [] { MakeUnopenablePackTestFile("ruv/locked.txt"); }, u"data.dat", u"cannot open"},
      {"the temporary file cannot be made", [] {}, u"nofolder/data.dat", u"cannot create"},
      {"the pack path is a folder", [] { std::filesystem::create_directories("taken.dat/x"); }, u"taken.dat",
       u"cannot rename"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all("ruv");
    WritePackTestFile("ruv/ok.txt", "ok");
    WritePackTestFile("data.dat", "old pack");
    c.prepare();
    fakes::MainLogRecorder log;
    EXPECT_EQ(VN_FAIL, gui::PackBuilder::BuildPack(u"ruv/", c.pack));
    EXPECT_EQ("old pack", ReadPackTestFile("data.dat"));
    EXPECT_FALSE(std::filesystem::exists(std::u16string(c.pack) + u".part"));
    EXPECT_NE(std::u16string::npos, log.Text().find(c.logged)) << std::string(log.Text().begin(), log.Text().end());
  }
}

TEST_F(PackBuilderTest, FirstFailingMountStopsTheWalk) {
  WritePackTestFile("a/x", "1");
  WritePackTestFile("c/y", "2");
  auto& mounts = file::FileManager::Instance()->GetMountTable();
  mounts[u"a/"] = u"nofolder/a.dat";
  mounts[u"c/"] = u"c.dat";
  fakes::MainLogRecorder log;
  EXPECT_EQ(VN_FAIL, gui::PackBuilder::BuildMountedPacks());
  EXPECT_FALSE(std::filesystem::exists("c.dat"));
}

}  // namespace
