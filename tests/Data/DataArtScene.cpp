#include "tests/Data/DataArtScene.h"

#include "Core/File/FileManager.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "tests/Data/DataSources.h"

namespace datatest {

void DataArtScene::SetUp() {
  mRender.Init();
  mPrevious = std::filesystem::current_path();
  std::filesystem::current_path(DataRoot());
  file::FileManager::Instance()->GetMountTable().clear();
  RuvResources::Instance()->setRender(&mRender);
}

void DataArtScene::TearDown() {
  RuvResources::Instance()->clear();
  RuvResources::Instance()->setRender(nullptr);
  std::filesystem::current_path(mPrevious);
}

void DataArtScene::LoadCodeArtFolders() {
  // An art folder holds its sets as sub-folders of a layout whose "layers.xml" lies in the folder.
  std::set<std::string> folders;
  for (const CodeFile& file : GameCode()) {
    for (const Literal& literal : Literals(file.text)) {
      if (literal.value.rfind("ruv/", 0) == 0 && ExistsWithExactCase(DataRoot(), literal.value + "/layers.xml")) {
        folders.insert(literal.value);
      }
    }
  }
  for (const std::string& folder : folders) {
    RuvResources::Instance()->loadArtFolder(std::u16string(folder.begin(), folder.end()));
  }
}

RuvArtSet* DataArtScene::FindArt(const std::string& key) {
  return RuvResources::Instance()->findArtByPsd(std::u16string(key.begin(), key.end()));
}

bool DataArtScene::EveryFrameHasAnImage(RuvArtSet* set) {
  if (!set) return false;
  for (auto& [group, frames] : set->groups) {
    for (const RuvFrameEntry* frame : frames) {
      if (frame->image == nullptr) return false;
    }
  }
  return true;
}

}  // namespace datatest
