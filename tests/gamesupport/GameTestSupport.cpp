#include "gamesupport/GameTestSupport.h"

#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Game/Tables/LocalStrings.h"

namespace gametest {

int FakeMapState::levelCount(int index, bool hardcore) const {
  const std::vector<int>& counts = hardcore ? hardcoreLevels : normalLevels;
  return index >= 0 && index < static_cast<int>(counts.size()) ? counts[static_cast<std::size_t>(index)] : 0;
}

int FakeMapState::starsNeeded(int index) const {
  return index >= 0 && index < static_cast<int>(stars.size()) ? stars[static_cast<std::size_t>(index)] : 0;
}

void FakeMapState::switchScreenMode() {
  ++screenSwitches;
  fullscreen = !fullscreen;
}

void GameFolderTest::SetUp() {
  TempFolderTest::SetUp();
  mUser = (mRoot / "user").string() + "/";
  std::filesystem::create_directories(mUser);
  file::UserDataFileContainer::Instance()->SetRootPath(std::filesystem::path(mUser).u16string());
  file::Profiles::ResetNotices();
}

void GameFolderTest::TearDown() {
  if (LocalStrings::Exists()) delete LocalStrings::Instance();
  if (file::Profiles::Exists()) delete file::Profiles::Instance();
  TempFolderTest::TearDown();
}

void GameFolderTest::LoadProfiles(const std::string& text) {
  WriteTestFile(ProfilesPath(), text);
  file::Profiles::Instance()->Load();
}

std::string GameFolderTest::SampleDataText(const std::string& path) {
  return ReadTestFile(std::string(QM_SOURCE_DIR) + "/data/" + path);
}

void GameFolderTest::CopySampleData(const std::string& path) { WriteTestFile(path, SampleDataText(path)); }

}  // namespace gametest
