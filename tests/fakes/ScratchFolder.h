#pragma once
// A fixture base for tests that work in files: each test runs in a fresh empty folder that is the
// process's current folder (the data root), with the file manager's mount table empty; the folder
// is removed and the previous current folder restored afterwards.
#include <gtest/gtest.h>

#include <filesystem>

namespace fakes {

class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path mRoot;

 private:
  std::filesystem::path mPrevious;
};

}  // namespace fakes
