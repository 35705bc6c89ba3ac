#include "tests/fakes/FileTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Core/Base/MemoryStream.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackIndex.h"

namespace filetest {

void TempFolderTest::SetUp() {
  mPrevious = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "qm_files_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  mRoot = pattern;
  std::filesystem::current_path(mRoot);
  file::FileManager::Instance()->GetMountTable().clear();
}

void TempFolderTest::TearDown() {
  file::FileManager::Instance()->GetMountTable().clear();
  std::filesystem::current_path(mPrevious);
  std::filesystem::remove_all(mRoot);
}

void TempFolderTest::WriteTestFile(const std::string& path, const std::string& bytes) {
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary) << bytes;
}

std::string TempFolderTest::ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string MakePack(const std::map<std::u16string, std::string>& files) {
  file::PackIndex index;
  for (const auto& [name, body] : files) index.GetEntries()[name].size = static_cast<std::uint32_t>(body.size());
  std::uint32_t offset = index.GetHeaderSize();
  for (auto& [name, entry] : index.GetEntries()) {
    entry.offset = offset;
    offset += entry.size;
  }
  base::MemoryStream stream;
  EXPECT_EQ(index.Write(&stream), VN_OK);
  std::string bytes(reinterpret_cast<const char*>(stream.GetBuffer()), stream.GetSize());
  for (const auto& [name, body] : files) bytes += body;
  return bytes;
}

std::u16string UniquePackName() {
  static int sNext = 0;
  std::u16string name = u"pack";
  for (char c : std::to_string(sNext++)) name += static_cast<char16_t>(c);
  return name + u".dat";
}

}  // namespace filetest
