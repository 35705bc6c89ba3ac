#include "Core/File/FileManagerWin32.h"

#include <algorithm>
#include <new>

#include "Core/Base/FileStream.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StreamCreator.h"
#include "Platform/Win32/Files.h"

namespace file {

namespace {

// Attributes of the entry at path: -1 when there is none.
long long FindAttributes(const std::u16string& path) {
  win32::WIN32_FIND_DATAW data;
  const win32::HANDLE find = win32::FindFirstFileW(path.c_str(), &data);
  if (find == win32::INVALID_HANDLE_VALUE) return -1;
  win32::FindClose(find);
  return data.dwFileAttributes;
}

bool IsFileAt(const std::u16string& path) {
  const long long attributes = FindAttributes(path);
  return attributes >= 0 && !(attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

// Calls visit (name, is folder) for every entry of folder except ".", ".." and empty names.
template <class Visit>
void ForEachEntry(const std::u16string& folder, Visit visit) {
  win32::WIN32_FIND_DATAW data;
  const std::u16string pattern = folder + u"*";
  const win32::HANDLE find = win32::FindFirstFileW(pattern.c_str(), &data);
  if (find == win32::INVALID_HANDLE_VALUE) return;
  do {
    const std::u16string name = data.cFileName;
    if (name.empty() || name == u"." || name == u"..") continue;
    visit(name, (data.dwFileAttributes & win32::FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (win32::FindNextFileW(find, &data));
  win32::FindClose(find);
}

void ListTree(const std::u16string& root, const std::u16string& folder, const std::u16string& sub, bool recursive,
              std::vector<std::u16string>& names, bool relative) {
  ForEachEntry(folder + sub, [&](const std::u16string& name, bool isFolder) {
    if (!isFolder) {
      names.push_back(relative ? sub + name : root + sub + name);
    } else if (recursive) {
      ListTree(root, folder, sub + name + u"/", recursive, names, relative);
    }
  });
}

void LogSkippedDiskName(const char16_t* text) { base::LogPlain(u"%s") % std::u16string(text); }

}  // namespace

FileManagerWin32::FileManagerWin32() { win32::SetSkippedNameReporter(LogSkippedDiskName); }

base::Stream* FileManagerWin32::OpenStream(const std::u16string& path) {
  auto* stream = new (std::nothrow) base::FileStream;
  if (stream && stream->GetHandle().Open(path, FileHandleWin32::kRead, FileHandleWin32::kOpenExisting) != VN_OK) {
    delete stream;
    return nullptr;
  }
  return stream;
}

base::StreamCreator* FileManagerWin32::GetStreamCreator(const std::u16string& path) {
  return new (std::nothrow) base::FileStreamCreator(path, FileHandleWin32::kRead, FileHandleWin32::kOpenExisting);
}

VNResultEnum FileManagerWin32::DoListFiles(const std::u16string& root, const std::u16string& folder,
                                           const std::u16string& sub, bool recursive,
                                           std::vector<std::u16string>& names, bool relative) {
  std::vector<std::u16string> found;
  ListTree(root, folder, sub, recursive, found, relative);
  // Depth-first order puts "a/x" before "a.txt"; the pack's order of full names does not.
  std::sort(found.begin(), found.end());
  names.insert(names.end(), found.begin(), found.end());
  return VN_OK;
}

VNResultEnum FileManagerWin32::DoListFolders(const std::u16string& root, const std::u16string& folder,
                                             const std::u16string& sub, std::vector<std::u16string>& names,
                                             bool relative) {
  ForEachEntry(folder + sub, [&](const std::u16string& name, bool isFolder) {
    if (isFolder) names.push_back(relative ? sub + name : root + sub + name);
  });
  return VN_OK;
}

bool FileManagerWin32::DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                                unsigned* index) {
  return FindCandidate(name, extensions, count, index, IsFileAt);
}

bool FileManagerWin32::DoIsFolder(const std::u16string& name) {
  const long long attributes = FindAttributes(name);
  return attributes >= 0 && (attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

VNResultEnum FileManagerWin32::CreateFolder(const std::u16string& path) {
  return win32::CreateDirectoryW(path.c_str(), nullptr) ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerWin32::DeleteFile(const std::u16string& path) {
  return win32::DeleteFileW(path.c_str()) ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerWin32::ReplaceFile(const std::u16string& from, const std::u16string& to) {
  const win32::DWORD flags = win32::MOVEFILE_REPLACE_EXISTING | win32::MOVEFILE_WRITE_THROUGH;
  return win32::MoveFileExW(from.c_str(), to.c_str(), flags) ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerWin32::SetCurrentDirectory(const std::u16string& path) {
  return win32::SetCurrentDirectoryW(path.c_str()) ? VN_OK : VN_FAIL;
}

}  // namespace file
