#include "Core/File/FileContainer.h"

#include <new>

#include "Core/Base/Path.h"
#include "Core/File/Archiver.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/PsdFile.h"
#include "Core/File/PsdFolder.h"

namespace file {

FileContainer::~FileContainer() {
  for (auto& [path, archiver] : mArchives) delete archiver;
}

Archiver* FileContainer::FindArchive(const std::u16string& path, std::u16string& inner) {
  FileManager* manager = FileManager::Instance();
  if (!manager) return nullptr;
  for (const auto& [prefix, pack] : manager->GetMountTable()) {
    if (path.compare(0, prefix.size(), prefix) != 0 || !DoExists(pack, nullptr, 0, nullptr)) continue;
    auto cached = mArchives.find(pack);
    if (cached == mArchives.end()) {
      auto* archiver = new (std::nothrow) Archiver(prefix, pack, this);
      if (!archiver) return nullptr;
      cached = mArchives.emplace(pack, archiver).first;
    }
    inner = path.substr(prefix.size());
    return cached->second;
  }
  return nullptr;
}

FileInfo* FileContainer::Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                              unsigned* index) {
  std::u16string inner;
  if (Archiver* archiver = FindArchive(name, inner)) return archiver->Open(inner, extensions, count, index);
  unsigned found = 0;
  if (!DoExists(name, extensions, count, &found)) return nullptr;
  if (index) *index = found;
  const std::u16string path = count > 0 ? name + extensions[found] : name;
  return new (std::nothrow) FileInfo(base::GetFileName(name), path, this, mArchive);
}

VNResultEnum FileContainer::ListFiles(const std::u16string& folder, bool recursive,
                                      std::vector<std::u16string>& names, bool relative) {
  const std::u16string root = base::NormalizeDirPath(folder);
  std::u16string inner;
  if (Archiver* archiver = FindArchive(root, inner)) {
    return archiver->DoListFiles(root, inner, u"", recursive, names, relative);
  }
  return DoListFiles(root, root, u"", recursive, names, relative);
}

VNResultEnum FileContainer::ListFolders(const std::u16string& folder, std::vector<std::u16string>& names,
                                        bool relative) {
  const std::u16string root = base::NormalizeDirPath(folder);
  std::u16string inner;
  if (Archiver* archiver = FindArchive(root, inner)) return archiver->DoListFolders(root, inner, u"", names, relative);
  return DoListFolders(root, root, u"", names, relative);
}

bool FileContainer::Exists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                           unsigned* index) {
  std::u16string inner;
  if (Archiver* archiver = FindArchive(name, inner)) return archiver->Exists(inner, extensions, count, index);
  return DoExists(name, extensions, count, index);
}

bool FileContainer::IsFolder(const std::u16string& name) {
  std::u16string inner;
  if (Archiver* archiver = FindArchive(name, inner)) return archiver->IsFolder(inner);
  return DoIsFolder(name);
}

ImageContainer* FileContainer::OpenImageContainer(const std::u16string& name) {
  std::u16string inner;
  if (Archiver* archiver = FindArchive(name, inner)) return archiver->OpenImageContainer(inner);
  if (DoIsFolder(name)) return new (std::nothrow) PsdFolder(name, this);
  static const char16_t* const kDocumentExtensions[] = {u".psd", u""};
  unsigned found = 0;
  if (DoExists(name, kDocumentExtensions, 2, &found)) return new (std::nothrow) PsdFile(name + kDocumentExtensions[found], this);
  return nullptr;
}

}  // namespace file
