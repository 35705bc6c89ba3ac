#include "Core/File/UserDataFileContainer.h"

#include <new>

#include "Core/Base/Path.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/FileManager.h"

namespace file {

VNResultEnum UserDataFileContainerWin32::SetRootPath(const std::u16string& path) {
  mRoot = path;
  base::CreateDirectories(mRoot);
  return VN_OK;
}

base::Stream* UserDataFileContainerWin32::OpenStream(const std::u16string& name) {
  FileManager* manager = FileManager::Instance();
  return manager ? manager->OpenStream(mRoot + name) : nullptr;
}

base::StreamCreator* UserDataFileContainerWin32::GetStreamCreator(const std::u16string& name) {
  FileManager* manager = FileManager::Instance();
  return manager ? manager->GetStreamCreator(mRoot + name) : nullptr;
}

VNResultEnum UserDataFileContainerWin32::DoListFiles(const std::u16string& root, const std::u16string&,
                                                     const std::u16string&, bool recursive,
                                                     std::vector<std::u16string>& names, bool relative) {
  FileManager* manager = FileManager::Instance();
  return manager ? manager->ListFiles(mRoot + root, recursive, names, relative) : VN_OK;
}

VNResultEnum UserDataFileContainerWin32::DoListFolders(const std::u16string& root, const std::u16string&,
                                                       const std::u16string&, std::vector<std::u16string>& names,
                                                       bool relative) {
  FileManager* manager = FileManager::Instance();
  return manager ? manager->ListFolders(mRoot + root, names, relative) : VN_OK;
}

bool UserDataFileContainerWin32::DoExists(const std::u16string& name, const char16_t* const* extensions,
                                          unsigned count, unsigned* index) {
  FileManager* manager = FileManager::Instance();
  return manager && manager->Exists(mRoot + name, extensions, count, index);
}

bool UserDataFileContainerWin32::DoIsFolder(const std::u16string& name) {
  FileManager* manager = FileManager::Instance();
  return manager && manager->IsFolder(mRoot + name);
}

std::vector<base::SingletoneBase*> UserDataFileContainer::GetDependencies() {
  FileManager* manager = FileManager::Instance();
  if (!manager) return {};
  return {manager};
}

}  // namespace file
