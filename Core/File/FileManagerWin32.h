#pragma once
#include "Core/File/FileContainer.h"

namespace file {

// The disk as a container: names are relative to the process's current folder.
class FileManagerWin32 : public FileContainer {
 public:
  // Sends the disk layer's notes on names it leaves out of listings to the main log.
  FileManagerWin32();

  // A file stream opened for reading; null when the open fails.
  base::Stream* OpenStream(const std::u16string& path) override;
  // Does not test that the file exists: a missing file shows when the creator is used.
  base::StreamCreator* GetStreamCreator(const std::u16string& path) override;

  // Lists folder + sub, depth first into subfolders when recursive; the names appended by one call
  // are in ascending order of UTF-16 code units, as a pack lists them.
  VNResultEnum DoListFiles(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                           bool recursive, std::vector<std::u16string>& names, bool relative) override;
  VNResultEnum DoListFolders(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                             std::vector<std::u16string>& names, bool relative) override;
  bool DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                unsigned* index) override;
  bool DoIsFolder(const std::u16string& name) override;

  // One level. 0 on success, 1 on failure.
  VNResultEnum CreateFolder(const std::u16string& path);
  VNResultEnum DeleteFile(const std::u16string& path);
  // Renames from over to (replacing it) and makes the rename durable: a reader sees either the old
  // or the new file whole, even after a crash.
  VNResultEnum ReplaceFile(const std::u16string& from, const std::u16string& to);
  // Sets the process's current folder (the data root).
  VNResultEnum SetCurrentDirectory(const std::u16string& path);
};

}  // namespace file
