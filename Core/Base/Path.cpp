#include "Core/Base/Path.h"

#include <algorithm>

#include "Core/File/FileManager.h"

namespace base {

namespace {

constexpr char16_t kSeparators[] = u"/\\";

std::size_t LastSeparator(const std::u16string& path) { return path.find_last_of(kSeparators); }

VNResultEnum CreateFolderAndParents(const std::u16string& path) {
  file::FileManager* manager = file::FileManager::Instance();
  if (!manager) return VN_FAIL;
  if (manager->IsFolder(path)) return VN_OK;
  const std::u16string parent = RemoveTrailingSlashes(GetDirPath(path));
  if (!parent.empty()) {
    const VNResultEnum result = CreateFolderAndParents(parent);
    if (result != VN_OK) return result;
  }
  return manager->CreateFolder(path);
}

}  // namespace

std::u16string NormalizePath(const std::u16string& path) {
  std::u16string result = path;
  std::replace(result.begin(), result.end(), u'\\', u'/');
  return result;
}

std::u16string NormalizeDirPath(const std::u16string& path) {
  std::u16string result = RemoveTrailingSlashes(NormalizePath(path));
  if (result.empty()) return result;
  return result + u'/';
}

std::u16string RemoveTrailingSlashes(const std::u16string& path) {
  const std::size_t last = path.find_last_not_of(kSeparators);
  return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

std::u16string GetDirPath(const std::u16string& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

std::u16string GetDirPathNoDrive(const std::u16string& path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::u16string::npos) return {};
  std::size_t start = 0;
  const std::size_t colon = path.find(u':');
  if (colon != std::u16string::npos) {
    start = colon + 1;
    if (start < path.size() && path[start] != u'/' && path[start] != u'\\') return {};
  }
  if (start > separator) return {};
  return path.substr(start, separator + 1 - start);
}

std::u16string GetFileName(const std::u16string& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

std::u16string GetFileNameNoExt(const std::u16string& path) {
  const std::u16string name = GetFileName(path);
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::u16string GetExtension(const std::u16string& path) {
  const std::u16string name = GetFileName(path);
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : name.substr(dot);
}

VNResultEnum CreateDirectories(const std::u16string& path) {
  const std::u16string folder = RemoveTrailingSlashes(NormalizeDirPath(path));
  if (folder.empty()) return VN_FAIL;
  return CreateFolderAndParents(folder);
}

}  // namespace base
