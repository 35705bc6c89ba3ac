#pragma once
#include <string>

#include "Core/Base/Singletone.h"
#include "Core/File/FileContainer.h"

namespace file {

// The per-user folder (profiles, log) as a container; its storage is the disk through the file
// manager.
class UserDataFileContainerWin32 : public FileContainer {
 public:
  // Stores the root (a folder path ending in '/') and creates the folder with its parents; a folder
  // that cannot be created shows later as failing opens and saves. Always 0.
  VNResultEnum SetRootPath(const std::u16string& path);

  std::u16string GetPath() override { return mRoot; }
  // A file stream on root + name for reading; null when the open fails.
  base::Stream* OpenStream(const std::u16string& name) override;
  base::StreamCreator* GetStreamCreator(const std::u16string& name) override;

  VNResultEnum DoListFiles(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                           bool recursive, std::vector<std::u16string>& names, bool relative) override;
  VNResultEnum DoListFolders(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                             std::vector<std::u16string>& names, bool relative) override;
  bool DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                unsigned* index) override;
  bool DoIsFolder(const std::u16string& name) override;

 private:
  std::u16string mRoot;
};

// The user-data container singleton, created with an empty root.
class UserDataFileContainer : public UserDataFileContainerWin32, public base::Singletone<UserDataFileContainer> {
 public:
  // The file test, not the singleton's (base::Singletone<UserDataFileContainer>::Exists).
  using FileContainer::Exists;
  // The file manager does this container's disk work, so it must outlive it.
  std::vector<base::SingletoneBase*> GetDependencies() override;
};

}  // namespace file
