#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Stream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/FileInfo.h"
#include "Core/File/UserDataFileContainer.h"
#include "tests/fakes/FileTestSupport.h"

namespace {

class UserDataTest : public filetest::TempFolderTest {};

TEST_F(UserDataTest, NamesAreRelativeToTheRoot) {
  const std::u16string root = (mRoot / "home" / "Maker" / "Product").u16string() + u"/";
  file::UserDataFileContainer* container = file::UserDataFileContainer::Instance();
  EXPECT_EQ(container->SetRootPath(root), VN_OK);
  EXPECT_EQ(container->GetPath(), root);
  WriteTestFile("home/Maker/Product/log.html", "<html>");
  WriteTestFile("home/Maker/Product/saves/a.xml", "a");

  EXPECT_TRUE(container->Exists(u"log.html"));
  EXPECT_FALSE(container->Exists(u"saves"));
  EXPECT_TRUE(container->IsFolder(u"saves"));
  const char16_t* const extensions[] = {u".xml"};
  std::unique_ptr<file::FileInfo> info(container->Open(u"saves/a", extensions, 1, nullptr));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->GetPath(), u"saves/a.xml");
  std::unique_ptr<base::Stream> stream(info->Open());
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->GetSize(), 1u);
  EXPECT_EQ(container->OpenStream(u"missing"), nullptr);

  std::unique_ptr<base::StreamCreator> creator(container->GetStreamCreator(u"log.html"));
  base::Stream* created = nullptr;
  ASSERT_EQ(creator->Create(&created), VN_OK);
  EXPECT_EQ(created->GetSize(), 6u);
  delete created;

  std::vector<std::u16string> names;
  EXPECT_EQ(container->ListFiles(u"", true, names, true), VN_OK);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"log.html", u"saves/a.xml"}));
  names.clear();
  EXPECT_EQ(container->ListFolders(u"", names, false), VN_OK);
  EXPECT_EQ(names, (std::vector<std::u16string>{root + u"saves"}));
}

TEST_F(UserDataTest, AnUncreatableRootKeepsItsPathAndFindsNothing) {
  WriteTestFile("file", "x");
  file::UserDataFileContainer* container = file::UserDataFileContainer::Instance();
  EXPECT_EQ(container->SetRootPath(u"file/sub/"), VN_OK);
  EXPECT_EQ(container->GetPath(), u"file/sub/");
  EXPECT_FALSE(container->Exists(u"profiles.xml"));
}

}  // namespace
