#include "fakes/ScratchFolder.h"

#include <stdlib.h>

#include <string>

#include "Core/File/FileManager.h"

namespace fakes {

void ScratchFolderTest::SetUp() {
  mPrevious = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "qm_scratch_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  mRoot = pattern;
  std::filesystem::current_path(mRoot);
  file::FileManager::Instance()->GetMountTable().clear();
}

void ScratchFolderTest::TearDown() {
  file::FileManager::Instance()->GetMountTable().clear();
  std::filesystem::current_path(mPrevious);
  std::filesystem::remove_all(mRoot);
}

}  // namespace fakes
