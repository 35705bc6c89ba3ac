#pragma once
#include <string>

#include "Core/File/FileContainer.h"
#include "Core/File/PackIndex.h"

namespace file {

// The container over one pack file. Names are looked up exactly (case-sensitive); folders exist only
// as name prefixes. Each stream it opens has its own handle on the pack file.
class Archiver : public FileContainer {
 public:
  // Reads the pack's directory at once (relative to the current folder) and does not keep the pack
  // open. A pack that cannot be read leaves an empty or partial directory.
  Archiver(std::u16string prefix, std::u16string packPath, Container* parent);

  // A window onto the pack for the entry; null when there is no such entry or the pack cannot be
  // opened now.
  base::Stream* OpenStream(const std::u16string& name) override;
  base::StreamCreator* GetStreamCreator(const std::u16string& name) override;
  // The parent's path followed by the prefix.
  std::u16string GetPath() override;

  VNResultEnum DoListFiles(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                           bool recursive, std::vector<std::u16string>& names, bool relative) override;
  VNResultEnum DoListFolders(const std::u16string& root, const std::u16string& folder, const std::u16string& sub,
                             std::vector<std::u16string>& names, bool relative) override;
  bool DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                unsigned* index) override;
  // True when some entry begins with name + "/".
  bool DoIsFolder(const std::u16string& name) override;

  const PackIndex& GetIndex() const { return mIndex; }

 private:
  Container* mParent;
  std::u16string mPrefix;
  std::u16string mPackPath;
  PackIndex mIndex;
};

}  // namespace file
