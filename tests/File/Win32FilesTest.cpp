#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Core/File/FileManager.h"
#include "FileTestSupport.h"
#include "Platform/Win32/Files.h"
#include "fakes/MainLogRecorder.h"

namespace {

using namespace win32;

class Win32FilesTest : public filetest::TempFolderTest {};

std::vector<std::u16string> List(const std::u16string& pattern) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  FindClose(find);
  return names;
}

TEST_F(Win32FilesTest, AFolderNeverOpensAsAFile) {
  ASSERT_TRUE(CreateDirectoryW(u"dir", nullptr));
  for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS}) {
    EXPECT_EQ(CreateFileW(u"dir", GENERIC_READ, 0, nullptr, disposition, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(DeleteFileW(u"dir"));
  EXPECT_EQ(GetFileAttributesW(u"dir"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Win32FilesTest, BackslashIsASeparator) {
  WriteTestFile("a/b/c.txt", "abc");
  EXPECT_EQ(GetFileAttributesW(u"a\\b\\c.txt"), FILE_ATTRIBUTE_NORMAL);
  const HANDLE file = CreateFileW(u"a\\b\\c.txt", GENERIC_READ, 3, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(List(u"a\\b\\*"), (std::vector<std::u16string>{u".", u"..", u"c.txt"}));
  EXPECT_TRUE(SetCurrentDirectoryW(u"a\\b"));
  EXPECT_EQ(GetFileAttributesW(u"c.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32FilesTest, ListingIsSortedByUtf16CodeUnits) {
  // U+FF21 sorts before U+1F600 by code point (and in UTF-8), after it by UTF-16 units (0xD83D).
  const std::u16string wide = u"\uFF21.txt";
  const std::u16string emoji = u"\U0001F600.txt";
  for (const auto& name : {wide, emoji, std::u16string(u"b.txt"), std::u16string(u"B.txt"), std::u16string(u"a")}) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  EXPECT_EQ(List(u"*"), (std::vector<std::u16string>{u".", u"..", u"B.txt", u"a", u"b.txt", emoji, wide}));
  EXPECT_EQ(List(u"?.txt"), (std::vector<std::u16string>{u"B.txt", u"b.txt", wide}));
  EXPECT_EQ(List(u"a"), (std::vector<std::u16string>{u"a"}));
  EXPECT_TRUE(List(u"missing").empty());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(List(u"nofolder/*").empty());
}

TEST_F(Win32FilesTest, ReadsAndWritesTheFullCount) {
  std::string bytes(3 << 20, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
  HANDLE file = CreateFileW(u"big.bin", GENERIC_READ | GENERIC_WRITE, 3, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
  EXPECT_EQ(done, bytes.size());
  EXPECT_TRUE(FlushFileBuffers(file));
  EXPECT_EQ(GetFileSize(file, nullptr), bytes.size());
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
  std::string back(bytes.size() + 10, '\0');
  ASSERT_TRUE(ReadFile(file, back.data(), static_cast<DWORD>(back.size()), &done, nullptr));
  EXPECT_EQ(done, bytes.size());
  back.resize(done);
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), bytes.size());
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(Win32FilesTest, FolderAndRenameResults) {
  EXPECT_TRUE(CreateDirectoryW(u"d", nullptr));
  EXPECT_FALSE(CreateDirectoryW(u"d", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryW(u"x/y", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  WriteTestFile("from.txt", "new");
  WriteTestFile("to.txt", "old");
  EXPECT_FALSE(MoveFileExW(u"from.txt", u"to.txt", 0));
  EXPECT_EQ(ReadTestFile("to.txt"), "old");
  EXPECT_TRUE(MoveFileExW(u"from.txt", u"d\\to.txt", MOVEFILE_WRITE_THROUGH));
  EXPECT_TRUE(MoveFileExW(u"d/to.txt", u"to.txt", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(ReadTestFile("to.txt"), "new");
  EXPECT_TRUE(DeleteFileW(u"to.txt"));
  EXPECT_FALSE(DeleteFileW(u"to.txt"));
  EXPECT_EQ(GetFileAttributesW(u"to.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(SetCurrentDirectoryW(u"nowhere"));
}

struct WildcardCase {
  const char16_t* pattern;
  std::vector<std::u16string> expected;
};

TEST_F(Win32FilesTest, StarMatchesAnyRunAndQuestionMarkOneUnit) {
  for (const char* name : {"a", "ab", "abc", "b.txt", "ba.txt", "a.b.c", "aXbXc"}) WriteTestFile(name, "");
  const WildcardCase cases[] = {
      {u"*", {u".", u"..", u"a", u"a.b.c", u"aXbXc", u"ab", u"abc", u"b.txt", u"ba.txt"}},
      {u"a*", {u"a", u"a.b.c", u"aXbXc", u"ab", u"abc"}},
      {u"*c", {u"a.b.c", u"aXbXc", u"abc"}},
      {u"a*b*c", {u"a.b.c", u"aXbXc", u"abc"}},
      {u"a?b?c", {u"a.b.c", u"aXbXc"}},
      {u"*.txt", {u"b.txt", u"ba.txt"}},
      {u"?.*", {u"..", u"a.b.c", u"b.txt"}},
      {u"a**", {u"a", u"a.b.c", u"aXbXc", u"ab", u"abc"}},
      {u"*b*", {u"a.b.c", u"aXbXc", u"ab", u"abc", u"b.txt", u"ba.txt"}},
      {u"??", {u"..", u"ab"}},
      {u"*x", {}},
  };
  for (const WildcardCase& c : cases) {
    SCOPED_TRACE(std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern)));
    EXPECT_EQ(List(c.pattern), c.expected);
  }
}

TEST_F(Win32FilesTest, ManyStarsOverALongNameFinishAtOnce) {
  // Backtracking into every star took seconds here; one backtrack point takes microseconds.
  const std::string longName(200, 'a');
  WriteTestFile("dir/" + longName, "");
  EXPECT_TRUE(List(u"dir/*a*a*a*a*a*a*a*a*a*a*b").empty());
  EXPECT_EQ(List(u"dir/*a*a*a*a*a*a*a*a*a*a"), (std::vector<std::u16string>{std::u16string(200, u'a')}));
}

TEST_F(Win32FilesTest, ListingsLeaveOutNamesThatCannotBeOpenedByTheListedName) {
  WriteTestFile("dir/good.txt", "good");
  WriteTestFile("dir/bad\xFF.txt", "not UTF-8");
  WriteTestFile("dir/over\xC0\xAFlong.txt", "overlong '/'");
  WriteTestFile("dir/back\\slash.txt", "backslash");
  fakes::MainLogRecorder log;
  file::FileManager::Instance();  // routes the layer's notes to the main log

  EXPECT_EQ(List(u"dir/*"), (std::vector<std::u16string>{u".", u"..", u"good.txt"}));
  EXPECT_EQ(List(u"dir/*.txt"), (std::vector<std::u16string>{u"good.txt"}));
  std::vector<std::u16string> names;
  EXPECT_EQ(file::FileManager::Instance()->ListFiles(u"dir", false, names, true), VN_OK);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"good.txt"}));
  for (const std::u16string& name : names) {
    const HANDLE file = CreateFileW((u"dir/" + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }

  // Three listings, one note per unconvertible name.
  const std::u16string text = log.Text();
  const auto count = [&](const std::u16string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  };
  EXPECT_EQ(count(u"not valid UTF-8"), 2u) << std::string(text.begin(), text.end());
  EXPECT_EQ(count(u"/dir/bad\\xFF.txt\""), 1u);
  EXPECT_EQ(count(u"/dir/over\\xC0\\xAFlong.txt\""), 1u);
  EXPECT_EQ(count(u"back"), 0u);
}

}  // namespace
