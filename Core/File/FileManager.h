#pragma once
#include <map>
#include <string>

#include "Core/Base/Singletone.h"
#include "Core/File/FileManagerWin32.h"

namespace file {

// The disk container singleton with the mount table: every path that begins with a mounted prefix
// is served by the prefix's pack file while that file exists.
class FileManager : public base::Singletone<FileManager>, public FileManagerWin32 {
 public:
  using MountTable = std::map<std::u16string, std::u16string>;
  // The file test, not the singleton's (base::Singletone<FileManager>::Exists).
  using FileContainer::Exists;

  // Names are relative to the current folder.
  std::u16string GetPath() override { return {}; }

  // Path prefix (e.g. "ruv/") -> pack file path (e.g. "data.dat"); the game fills it before any of
  // its files is read. Prefixes compare exactly (case-sensitive, '\' is not '/').
  MountTable& GetMountTable() { return mMountTable; }
  // Multiplies layer rectangles of layouts.
  float GetCoordScale() const { return mCoordScale; }
  // Read by the bitmap fonts.
  float GetTextureScale() const { return mTextureScale; }

 private:
  MountTable mMountTable;
  float mCoordScale = 1.0f;
  float mTextureScale = 1.0f;
};

}  // namespace file
