#pragma once
// A temporary folder as the current folder for one test, and a pack maker.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace filetest {

// Runs each test in a fresh empty folder that is the process's current folder; the file manager's
// mount table starts empty.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes bytes to path (relative to the folder), creating the parent folders.
  static void WriteTestFile(const std::string& path, const std::string& bytes);
  static std::string ReadTestFile(const std::string& path);

  std::filesystem::path mRoot;

 private:
  std::filesystem::path mPrevious;
};

// The bytes of a pack holding the given files (name -> body), laid out as the pack builder does.
std::string MakePack(const std::map<std::u16string, std::string>& files);

// A pack file name not used before in this process: the file manager caches each pack's directory
// for the whole run.
std::u16string UniquePackName();

}  // namespace filetest
