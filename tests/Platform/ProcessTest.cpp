#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "Core/App/Application.h"
#include "Platform/Win32/Entry/WinMain.h"
#include "Platform/Win32/Process.h"
#include "Platform/Win32/Utf.h"

namespace {

TEST(CommandLineTest, KeepsEveryArgumentAsUtf16IncludingEmptyOnes) {
  const char* argv[] = {"/bin/quellmark2", "--data_path", "", "d\xC3\xA9j\xC3\xA0"};
  win32::SetCommandLine(4, argv);
  EXPECT_EQ(win32::CommandLineToArgvW(),
            (std::vector<std::u16string>{u"/bin/quellmark2", u"--data_path", u"", u"d\u00e9j\u00e0"}));
}

TEST(CommandLineTest, EntryHandsArgumentsWithoutProgramNameToTheApplication) {
  const auto entry = [] {
    char folder[] = "/tmp/qm-entry-XXXXXX";
    setenv("XDG_DATA_HOME", mkdtemp(folder), 1);
    const char* argv[] = {"/bin/quellmark2", "", "x"};
    win32::SetCommandLine(3, argv);
    const int code = WinMain(nullptr, nullptr, nullptr, 0);
    const auto& arguments = app::Application::Instance()->GetArguments();
    std::fprintf(stderr, "%d:%zu:%s", code, arguments.size(),
                 arguments.size() == 2 && arguments[0].empty() && arguments[1] == u"x" ? "ok" : "bad");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::exit(0);
  };
  EXPECT_EXIT(entry(), ::testing::ExitedWithCode(0), "^0:2:ok$");
}

// Restores the folder variables after each case.
class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qm-folders-XXXXXX";
    mRoot = mkdtemp(pattern);
    for (const char* name : kNames) {
      const char* value = getenv(name);
      mSaved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : mSaved) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    std::system(("rm -rf " + mRoot).c_str());
  }

  // The folder SHGetFolderPathW gives, or "FAIL".
  static std::string Folder(int id) {
    char16_t path[win32::MAX_PATH] = {};
    if (win32::FAILED(win32::SHGetFolderPathW(nullptr, id, nullptr, 0, path))) return "FAIL";
    return win32::Utf16ToUtf8(path);
  }

  static constexpr const char* kNames[] = {"HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"};
  std::string mRoot;
  std::vector<std::pair<const char*, std::optional<std::string>>> mSaved;
};

TEST_F(FolderTest, ApplicationDataFollowsXdgThenHome) {
  EXPECT_EQ(Folder(win32::CSIDL_APPDATA), "FAIL");

  setenv("HOME", mRoot.c_str(), 1);
  EXPECT_EQ(Folder(win32::CSIDL_APPDATA), mRoot + "/.local/share");
  struct stat info {};
  EXPECT_EQ(stat((mRoot + "/.local/share").c_str(), &info), 0) << "a fresh account gets the folder";

  setenv("XDG_DATA_HOME", (mRoot + "/data").c_str(), 1);
  EXPECT_EQ(Folder(win32::CSIDL_APPDATA), mRoot + "/data");
}

TEST_F(FolderTest, DocumentsFollowXdgThenDocumentsThenHome) {
  EXPECT_EQ(Folder(win32::CSIDL_PERSONAL), "FAIL");

  setenv("HOME", mRoot.c_str(), 1);
  EXPECT_EQ(Folder(win32::CSIDL_PERSONAL), mRoot);
  mkdir((mRoot + "/Documents").c_str(), 0755);
  EXPECT_EQ(Folder(win32::CSIDL_PERSONAL), mRoot + "/Documents");
  setenv("XDG_DOCUMENTS_DIR", "/somewhere/docs", 1);
  EXPECT_EQ(Folder(win32::CSIDL_PERSONAL), "/somewhere/docs");
}

TEST_F(FolderTest, UserBaseFolderEndsWithOneSlashAndFallsBackToDocuments) {
  const auto start = [this] {
    setenv("XDG_DOCUMENTS_DIR", (mRoot + "/docs//").c_str(), 1);  // no HOME, no XDG_DATA_HOME
    app::Application* application = app::Application::Instance();
    const VNResultEnum result = application->InitPlatform();
    std::fprintf(stderr, "%d:%s", result, win32::Utf16ToUtf8(application->GetUserBaseFolder()).c_str());
    std::exit(0);
  };
  EXPECT_EXIT(start(), ::testing::ExitedWithCode(0), "^0:" + mRoot + "/docs/$");
}

TEST(ModuleTest, ProgramFolderIsTheTestBinaryFolder) {
  std::u16string folder;
  ASSERT_EQ(app::Application::Instance()->GetProgramFolder(folder), VN_OK);
  char self[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  std::string expected(self);
  expected.erase(expected.rfind('/') + 1);
  EXPECT_EQ(win32::Utf16ToUtf8(folder), expected);
}

TEST(ModuleTest, ModuleFileNameReportsATooSmallBuffer) {
  char16_t buffer[4] = {};
  win32::SetLastError(win32::ERROR_SUCCESS);
  EXPECT_EQ(win32::GetModuleFileNameW(nullptr, buffer, 4), 4u);
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(buffer[3], 0);
}

}  // namespace
