// Test programs keep the lock files of their windows in a runtime folder of their own, which is
// gone when the program ends: nothing is left in /tmp.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "fakes/GlWindow.h"

namespace {

std::string RuntimeFolderNow() {
  const char* folder = getenv("XDG_RUNTIME_DIR");
  return folder ? folder : "";
}

// The lock files in a folder.
int LockFilesIn(const std::string& folder) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".lock") ++count;
  }
  return count;
}

TEST(RuntimeFolderTest, WindowLockFilesGoToTheProgramsOwnFolder) {
  const std::string folder = RuntimeFolderNow();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.find("/qm-test-" + std::to_string(getpid()) + "-"), std::string::npos) << folder;

  fakes::GlWindow window(16, 16);
  ASSERT_NE(window.GetHandle(), nullptr);
  // The lock file stays after the window (a later window of the same title takes it again).
  EXPECT_GT(LockFilesIn(folder), 0);
}

// Run by the next test in a program of its own: reports that program's folder.
TEST(RuntimeFolderTest, DISABLED_ReportsItsFolder) {
  std::printf("runtime=%s\n", RuntimeFolderNow().c_str());
}

TEST(RuntimeFolderTest, AProgramRemovesItsFolderWhenItEnds) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  FILE* child = popen(("'" + self +
                       "' --gtest_also_run_disabled_tests"
                       " --gtest_filter=RuntimeFolderTest.DISABLED_ReportsItsFolder 2>/dev/null")
                          .c_str(),
                      "r");
  ASSERT_NE(child, nullptr);
  std::string output;
  char line[512];
  while (std::fgets(line, sizeof(line), child)) output += line;
  ASSERT_EQ(pclose(child), 0) << output;
  const size_t at = output.find("runtime=");
  ASSERT_NE(at, std::string::npos) << output;
  const std::string folder = output.substr(at + 8, output.find('\n', at) - at - 8);
  ASSERT_FALSE(folder.empty()) << "the program had no runtime folder of its own";
  EXPECT_NE(folder, RuntimeFolderNow());
  EXPECT_FALSE(std::filesystem::exists(folder)) << folder << " was left behind";
}

}  // namespace
