#include <gtest/gtest.h>

#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "tests/fakes/FileTestSupport.h"
#include "fakes/MainLogRecorder.h"

namespace {

using Names = std::vector<std::u16string>;
const std::u16string kDefault = file::Profiles::kDefaultProfileName;

class ProfilesTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    mUser = (mRoot / "user" / "Ninebrook" / "Quellmark2").string() + "/";
    file::UserDataFileContainer::Instance()->SetRootPath(std::filesystem::path(mUser).u16string());
    file::Profiles::ResetNotices();
  }

  static file::Profiles* Profiles() { return file::Profiles::Instance(); }
  std::string FilePath() const { return mUser + "profiles.xml"; }
  void WriteProfiles(const std::string& text) const { WriteTestFile(FilePath(), text); }
  // The "profiles.xml.damaged-..." files beside the profiles, sorted.
  std::vector<std::string> DamagedCopies() const {
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(mUser)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("profiles.xml.damaged-", 0) == 0) copies.push_back(entry.path().string());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
  }

  std::string mUser;
};

TEST_F(ProfilesTest, FirstStartMakesTheDefaultProfileAndSavesIt) {
  EXPECT_TRUE(std::filesystem::is_directory(mUser));
  Profiles()->Load();
  EXPECT_EQ(Profiles()->GetProfileNames(), Names{kDefault});
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), kDefault);
  EXPECT_FALSE(file::Profiles::IsProfileReset());
  EXPECT_FALSE(std::filesystem::exists(FilePath()));  // loading never writes

  EXPECT_EQ(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  EXPECT_EQ(ReadTestFile(FilePath()),
            "<Profiles currentProfile=\"Player01234567890123456789\">\n"
            "    <Profile name=\"Player01234567890123456789\"/>\n"
            "</Profiles>\n");
  EXPECT_FALSE(std::filesystem::exists(FilePath() + ".tmp"));
}

struct FileCase {
  const char* name;
  std::string text;
  Names names;
  std::u16string current;
  bool reset;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ProfilesFileTest : public ProfilesTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ProfilesFileTest, LoadsOrStartsOverKeepingADamagedCopy) {
  const FileCase& c = GetParam();
  WriteProfiles(c.text);
  fakes::MainLogRecorder log;
  Profiles()->Load();
  EXPECT_EQ(Profiles()->GetProfileNames(), c.names);
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), c.current);
  EXPECT_EQ(file::Profiles::IsProfileReset(), c.reset);
  EXPECT_FALSE(file::Profiles::IsProfileUnreadable());
  EXPECT_EQ(ReadTestFile(FilePath()), c.text);  // loading never writes the file itself
  const std::vector<std::string> copies = DamagedCopies();
  if (!c.reset) {
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(log.Text(), u"");
    return;
  }
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(ReadTestFile(copies[0]), c.text);
  EXPECT_EQ(std::filesystem::path(file::Profiles::GetDamagedCopyPath()).string(), copies[0]);
  // One line naming the file, its copy and that it started over.
  const std::u16string path = std::filesystem::path(FilePath()).u16string();
  EXPECT_NE(log.Text().find(u"'" + path + u"' is damaged ("), std::u16string::npos) << log.Text().size();
  EXPECT_NE(log.Text().find(file::Profiles::GetDamagedCopyPath()), std::u16string::npos);
  // Saving replaces the damaged file; its copy stays.
  ASSERT_EQ(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  EXPECT_EQ(ReadTestFile(copies[0]), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfilesFileTest,
    ::testing::Values(
        FileCase{"TwoProfiles", R"(<Profiles currentProfile="B"><Profile name="A"/><Profile name="B"/></Profiles>)",
                 {u"A", u"B"}, u"B", false},
        FileCase{"CurrentMissingIsAppended", R"(<Profiles currentProfile="C"><Profile name="A"/></Profiles>)",
                 {u"A", u"C"}, u"C", false},
        FileCase{"DeclarationCommentsAndProgress",
                 "<?xml version=\"1.0\"?>\n<!-- x --><Profiles currentProfile=\"A\"><Profile name=\"A\" stars=\"3\">"
                 "<Level id=\"1\"/></Profile><Other/></Profiles>",
                 {u"A"}, u"A", false},
        FileCase{"NotXml", "garbage <<<", {kDefault}, kDefault, true},
        FileCase{"Empty", "", {kDefault}, kDefault, true},
        FileCase{"Cut", R"(<Profiles currentProfile="A"><Profile name="A"/><Prof)", {kDefault}, kDefault, true},
        FileCase{"OtherRoot", R"(<Other currentProfile="A"><Profile name="A"/></Other>)", {kDefault}, kDefault,
                 true},
        FileCase{"NoCurrentName", R"(<Profiles><Profile name="A"/></Profiles>)", {kDefault}, kDefault, true},
        FileCase{"ProfileWithoutName", R"(<Profiles currentProfile="A"><Profile name="A"/><Profile/></Profiles>)",
                 {kDefault}, kDefault, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Root reads files whatever their mode through two capabilities. This thread sets them aside for
// the object's lifetime (capabilities are per thread; the permitted set keeps them for the restore).
class ProfilesFileRightsDropped {
 public:
  ProfilesFileRightsDropped() {
    mHeader.version = _LINUX_CAPABILITY_VERSION_3;
    mHeader.pid = 0;
    mSaved = syscall(SYS_capget, &mHeader, mData) == 0;
    if (!mSaved) return;
    __user_cap_data_struct reduced[2] = {mData[0], mData[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    syscall(SYS_capset, &mHeader, reduced);
  }
  ~ProfilesFileRightsDropped() {
    if (mSaved) syscall(SYS_capset, &mHeader, mData);
  }

 private:
  __user_cap_header_struct mHeader{};
  __user_cap_data_struct mData[2]{};
  bool mSaved = false;
};

TEST_F(ProfilesTest, UnreadableFileIsNeitherCopiedNorSavedOver) {
  const std::string original = R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)";
  WriteProfiles(original);
  std::filesystem::permissions(FilePath(), std::filesystem::perms::none);
  {
    ProfilesFileRightsDropped dropped;
    ASSERT_FALSE(std::ifstream(FilePath()).is_open()) << "the file should be unreadable";
    fakes::MainLogRecorder log;
    Profiles()->Load();
    EXPECT_NE(log.Text().find(u"cannot be used"), std::u16string::npos);
  }
  EXPECT_EQ(Profiles()->GetProfileNames(), Names{kDefault});
  EXPECT_TRUE(file::Profiles::IsProfileUnreadable());
  EXPECT_FALSE(file::Profiles::IsProfileReset());
  EXPECT_TRUE(DamagedCopies().empty());
  // Readable again, the session still never replaces the file it could not read.
  std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_NE(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  EXPECT_EQ(ReadTestFile(FilePath()), original);
}

TEST_F(ProfilesTest, EveryDamagedLoadKeepsItsOwnCopy) {
  const std::vector<std::string> damages = {"first <<<", "second <<<", "third <<<"};
  for (const std::string& damage : damages) {
    WriteProfiles(damage);
    Profiles()->Load();
  }
  const std::vector<std::string> copies = DamagedCopies();
  ASSERT_EQ(copies.size(), damages.size());
  std::vector<std::string> kept;
  for (const std::string& copy : copies) kept.push_back(ReadTestFile(copy));
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<std::string>{"first <<<", "second <<<", "third <<<"}));
}

struct SequenceCase {
  const char* name;
  std::vector<std::string> steps;  // "+X" select (creates), "-X" delete, "=X" rename current
  Names names;
  std::u16string current;
};

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class ProfilesSequenceTest : public ProfilesTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(ProfilesSequenceTest, KeepsACurrentProfile) {
  const SequenceCase& c = GetParam();
  WriteProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/><Profile name="B"/></Profiles>)");
  Profiles()->Load();
  for (const std::string& step : c.steps) {
    const std::u16string name(step.begin() + 1, step.end());
    if (step[0] == '+') Profiles()->SetCurrentProfile(name);
    if (step[0] == '-') Profiles()->DeleteProfile(name);
    if (step[0] == '=') Profiles()->RenameCurrentProfile(name);
  }
  EXPECT_EQ(Profiles()->GetProfileNames(), c.names);
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), c.current);
  EXPECT_EQ(Profiles()->FindProfile(c.current), Profiles()->GetCurrentProfile());
  EXPECT_EQ(Profiles()->GetCurrentProfile()->Parent()->ToElement()->Attribute("currentProfile"),
            std::string(c.current.begin(), c.current.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfilesSequenceTest,
    ::testing::Values(SequenceCase{"DeleteCurrent", {"-A"}, {u"B"}, u"B"},
                      SequenceCase{"DeleteAll", {"-A", "-B"}, {kDefault}, kDefault},
                      SequenceCase{"DeleteOther", {"-B"}, {u"A"}, u"A"},
                      SequenceCase{"DeleteUnknown", {"-X", "-a"}, {u"A", u"B"}, u"A"},
                      SequenceCase{"Select", {"+B"}, {u"A", u"B"}, u"B"},
                      SequenceCase{"Create", {"+C"}, {u"A", u"B", u"C"}, u"C"},
                      SequenceCase{"CreateAndDelete", {"+C", "-C"}, {u"A", u"B"}, u"A"},
                      SequenceCase{"Rename", {"=Z"}, {u"Z", u"B"}, u"Z"},
                      SequenceCase{"RenameThenDeleteFirst", {"=B", "-B"}, {u"B"}, u"B"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfilesTest, RenameOntoAnotherNameFindsTheFirstInDocumentOrder) {
  WriteProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/><Profile name="B"/></Profiles>)");
  Profiles()->Load();
  Profiles()->SetCurrentProfile(u"B");
  Profiles()->RenameCurrentProfile(u"A");
  EXPECT_EQ(Profiles()->GetProfileNames(), (Names{u"A", u"A"}));
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), u"A");
  EXPECT_NE(Profiles()->FindProfile(u"A"), Profiles()->GetCurrentProfile());
  EXPECT_EQ(Profiles()->FindProfile(u"A")->NextSiblingElement(), Profiles()->GetCurrentProfile());
}

TEST_F(ProfilesTest, NonAsciiNamesRoundTrip) {
  const std::u16string name = u"Zo\u00EB \u0416 \U0001D11E &<\">";
  Profiles()->Load();
  Profiles()->SetCurrentProfile(name);
  ASSERT_EQ(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  EXPECT_NE(ReadTestFile(FilePath()).find("Zo\xC3\xAB \xD0\x96 \xF0\x9D\x84\x9E"), std::string::npos);
  Profiles()->Load();
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), name);
  EXPECT_EQ(Profiles()->GetProfileNames(), (Names{kDefault, name}));
  EXPECT_FALSE(file::Profiles::IsProfileReset());
}

TEST_F(ProfilesTest, FailedSaveKeepsTheOldFileAndTheDocument) {
  WriteProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  Profiles()->Load();
  Profiles()->SetCurrentProfile(u"B");
  // A folder where the temporary file goes makes the write fail.
  std::filesystem::create_directory(FilePath() + ".tmp");
  {
    fakes::MainLogRecorder log;
    EXPECT_NE(Profiles()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_NE(Profiles()->Save(), tinyxml2::XML_SUCCESS);
    // One line and one notice for the player per session, however often the game saves.
    const std::u16string line = u"Profiles::Save(): cannot write '";
    const size_t first = log.Text().find(line);
    EXPECT_NE(first, std::u16string::npos) << log.Text().size();
    EXPECT_EQ(log.Text().find(line, first + 1), std::u16string::npos);
    EXPECT_TRUE(file::Profiles::TakeSaveFailureNotice());
    EXPECT_FALSE(file::Profiles::TakeSaveFailureNotice());
  }
  EXPECT_EQ(ReadTestFile(FilePath()), R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), u"B");
  std::filesystem::remove(FilePath() + ".tmp");
  EXPECT_EQ(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  Profiles()->Load();
  EXPECT_EQ(Profiles()->GetCurrentProfileName(), u"B");
}

// At exit the registry destroys the profiles, which save unless this is a second instance.
void ExitAfterChange(const std::u16string& root, bool secondInstance) {
  file::UserDataFileContainer::Instance()->SetRootPath(root);
  app::ApplicationWin32::SetSecondInstance(secondInstance);
  file::Profiles::Instance()->Load();
  file::Profiles::Instance()->SetCurrentProfile(u"Changed");
  std::exit(0);
}

TEST_F(ProfilesTest, SecondInstanceLeavesTheFileUntouched) {
  const std::string original = R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)";
  WriteProfiles(original);
  const std::u16string root = std::filesystem::path(mUser).u16string();
  EXPECT_EXIT(ExitAfterChange(root, true), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadTestFile(FilePath()), original);
  EXPECT_EXIT(ExitAfterChange(root, false), ::testing::ExitedWithCode(0), "");
  EXPECT_NE(ReadTestFile(FilePath()).find("currentProfile=\"Changed\""), std::string::npos);
}

TEST_F(ProfilesTest, ProcessKilledWhileSavingLeavesAFileThatLoads) {
  Profiles()->Load();
  for (int i = 0; i < 400; ++i) {
    Profiles()->SetCurrentProfile(u"profile" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                  std::u16string(i / 26 + 1, u'x'));
    Profiles()->GetCurrentProfile()->SetAttribute("progress", "0123456789abcdef0123456789abcdef0123456789");
  }
  ASSERT_EQ(Profiles()->Save(), tinyxml2::XML_SUCCESS);
  for (int round = 0; round < 8; ++round) {
    // The child reports its first completed save through a pipe, so every kill lands while it is
    // saving again rather than before it ever wrote.
    int saved[2];
    ASSERT_EQ(pipe(saved), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(saved[0]);
      for (int i = 1;; ++i) {
        Profiles()->GetCurrentProfile()->SetAttribute("saves", i);
        if (Profiles()->Save() == tinyxml2::XML_SUCCESS && saved[1] >= 0) {
          const char done = 1;
          if (write(saved[1], &done, 1) != 1) _exit(2);
          close(saved[1]);
          saved[1] = -1;
        }
      }
    }
    close(saved[1]);
    pollfd first{saved[0], POLLIN, 0};
    const bool childSaved = poll(&first, 1, 30000) == 1 && (first.revents & POLLIN);
    close(saved[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + 3 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(childSaved) << "round " << round << ": the child never saved";
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;

    file::Profiles::SetProfileReset(false);
    Profiles()->Load();
    EXPECT_FALSE(file::Profiles::IsProfileReset()) << "round " << round;
    EXPECT_EQ(Profiles()->GetProfileNames().size(), 401u) << "round " << round;
    // The file on disk is one of the child's saves, not the parent's.
    EXPECT_GE(Profiles()->GetCurrentProfile()->IntAttribute("saves"), 1) << "round " << round;
  }
}

}  // namespace
