#include <gtest/gtest.h>

#include <string>

#include "Core/Base/Base64.h"
#include "Core/Base/Path.h"
#include "Core/Base/TextFile.h"
#include "Core/File/FileManager.h"
#include "tests/fakes/FileTestSupport.h"

namespace {

struct PathCase {
  std::u16string (*function)(const std::u16string&);
  const char* name;
  std::u16string input;
  std::u16string expected;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class PathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathTest, SplitsAndNormalises) {
  const PathCase& c = GetParam();
  EXPECT_EQ(c.function(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathTest,
    ::testing::Values(
        PathCase{base::NormalizePath, "NormalizeBackslashes", u"a\\b/c\\", u"a/b/c/"},
        PathCase{base::NormalizeDirPath, "DirMixedTrailing", u"a\\b\\\\", u"a/b/"},
        PathCase{base::NormalizeDirPath, "DirNoTrailing", u"a", u"a/"},
        PathCase{base::NormalizeDirPath, "DirSlashOnly", u"/", u""},
        PathCase{base::NormalizeDirPath, "DirEmpty", u"", u""},
        PathCase{base::RemoveTrailingSlashes, "TrailingMixed", u"a/b/\\/", u"a/b"},
        PathCase{base::RemoveTrailingSlashes, "TrailingOnly", u"\\/", u""},
        PathCase{base::GetDirPath, "DirOfFile", u"a\\b/c.txt", u"a\\b/"},
        PathCase{base::GetDirPath, "DirNone", u"c.txt", u""},
        PathCase{base::GetDirPathNoDrive, "NoDriveAbsolute", u"D:/a/b.txt", u"/a/"},
        PathCase{base::GetDirPathNoDrive, "NoDriveRelative", u"a/b.txt", u"a/"},
        PathCase{base::GetDirPathNoDrive, "NoDriveDriveRelative", u"D:x/y", u""},
        PathCase{base::GetDirPathNoDrive, "NoDriveNoSeparator", u"D:x", u""},
        PathCase{base::GetFileName, "NameAfterBackslash", u"a/b\\c.txt", u"c.txt"},
        PathCase{base::GetFileName, "NameWhole", u"c.txt", u"c.txt"},
        PathCase{base::GetFileNameNoExt, "NoExtHidden", u"dir/.hidden", u".hidden"},
        PathCase{base::GetFileNameNoExt, "NoExtDotInFolder", u"x.y/z", u"z"},
        PathCase{base::GetFileNameNoExt, "NoExtLastDot", u"a/b.tar.gz", u"b.tar"},
        PathCase{base::GetExtension, "ExtDotInFolder", u"a.b/c", u""},
        PathCase{base::GetExtension, "ExtLast", u"a/b.tar.gz", u".gz"},
        PathCase{base::GetExtension, "ExtNoSeparator", u"b.png", u".png"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Base64Case {
  std::string bytes;
  std::string text;
};

class Base64Test : public ::testing::TestWithParam<Base64Case> {};

TEST_P(Base64Test, RoundTrips) {
  EXPECT_EQ(base::Base64Encode(GetParam().bytes), GetParam().text);
  EXPECT_EQ(base::Base64Decode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, Base64Test,
                         ::testing::Values(Base64Case{"", ""}, Base64Case{"f", "Zg=="}, Base64Case{"fo", "Zm8="},
                                           Base64Case{"foo", "Zm9v"}, Base64Case{"foob", "Zm9vYg=="},
                                           Base64Case{std::string("\xff\xfe\x00\x80", 4), "//4AgA=="}));

TEST(Base64DecodeTest, StopsAtTheFirstCharacterOutsideTheAlphabet) {
  EXPECT_EQ(base::Base64Decode("Zg==Zm9v"), "f");
  EXPECT_EQ(base::Base64Decode("Zm9v Zm9v"), "foo");
  EXPECT_EQ(base::Base64Decode("!Zm9v"), "");
  EXPECT_EQ(base::Base64Decode("Zm9vY"), "foo");  // a single left-over character gives nothing
  EXPECT_EQ(base::Base64Decode("Zm\xc3\xa9v"), std::string("f"));  // bytes above 127 are not letters
}

class TextFileTest : public filetest::TempFolderTest {};

TEST_F(TextFileTest, ReadsWholeFilesAndDropsTheByteOrderMark) {
  struct Case {
    std::string bytes;
    std::string text;
    bool bom;
  };
  const Case cases[] = {
      {"", "", false},
      {"ab", "ab", false},
      {"\xEF\xBB\xBF", "", true},
      {"\xEF\xBB\xBFx\r\ny", "x\r\ny", true},
      {"abc", "abc", false},
      {"\xEF\xBB", "\xEF\xBB", false},
      {std::string("ab\0cd", 5), "ab", false},
  };
  for (const Case& c : cases) {
    WriteTestFile("t.txt", c.bytes);
    bool bom = !c.bom;
    EXPECT_EQ(base::ReadTextFile(u"t.txt", &bom), c.text) << c.text;
    EXPECT_EQ(bom, c.bom) << c.text;
  }
}

TEST_F(TextFileTest, MissingFileOrFolderGivesEmptyText) {
  bool bom = true;
  EXPECT_EQ(base::ReadTextFile(u"missing.txt", &bom), "");
  EXPECT_FALSE(bom);
  WriteTestFile("dir/x.txt", "x");
  EXPECT_EQ(base::ReadTextFile(u"dir"), "");
  EXPECT_EQ(base::ReadTextFile(u"dir\\x.txt"), "x");
}

TEST_F(TextFileTest, ReadsFromAMountedPack) {
  const std::u16string pack = filetest::UniquePackName();
  WriteTestFile(std::string(pack.begin(), pack.end()), filetest::MakePack({{u"cfg.xml", "<a/>"}}));
  WriteTestFile("ruv/cfg.xml", "<disk/>");
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = pack;
  EXPECT_EQ(base::ReadTextFile(u"ruv/cfg.xml"), "<a/>");
}

class CreateDirectoriesTest : public filetest::TempFolderTest {};

TEST_F(CreateDirectoriesTest, CreatesMissingParentsFromTheTop) {
  EXPECT_EQ(base::CreateDirectories(u"a\\b/c//"), VN_OK);
  EXPECT_TRUE(file::FileManager::Instance()->IsFolder(u"a/b/c"));
  EXPECT_EQ(base::CreateDirectories(u"a/b/c"), VN_OK);  // present already
  EXPECT_EQ(base::CreateDirectories(u"single"), VN_OK);
  EXPECT_TRUE(file::FileManager::Instance()->IsFolder(u"single"));
  EXPECT_EQ(base::CreateDirectories((mRoot / "abs/x").u16string()), VN_OK);
  EXPECT_TRUE(file::FileManager::Instance()->IsFolder(u"abs/x"));
}

TEST_F(CreateDirectoriesTest, FailsBelowAFileAndKeepsWhatItMade) {
  WriteTestFile("a/file", "x");
  EXPECT_EQ(base::CreateDirectories(u"a/file/sub"), VN_FAIL);
  EXPECT_EQ(base::CreateDirectories(u""), VN_FAIL);
  EXPECT_TRUE(file::FileManager::Instance()->IsFolder(u"a"));
}

}  // namespace
