#pragma once
#include <map>
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/File/Container.h"

namespace file {

class Archiver;
class ImageContainer;

// A container with listings and existence tests. Every public operation is first redirected into a
// mounted pack (see FindArchive); otherwise it runs on the container's own storage through the Do*
// primitives.
class FileContainer : public Container {
 public:
  FileContainer() = default;
  FileContainer(const FileContainer&) = delete;
  FileContainer& operator=(const FileContainer&) = delete;
  ~FileContainer() override;

  FileInfo* Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                 unsigned* index) override;
  // Appends the files of folder (normalised first: '\' -> '/', one trailing '/') to names, as names
  // relative to the folder or prefixed with it, in ascending order of UTF-16 code units. A missing
  // folder adds nothing and is not an error.
  virtual VNResultEnum ListFiles(const std::u16string& folder, bool recursive, std::vector<std::u16string>& names,
                                 bool relative);
  // The same for the folders directly in folder (names without a trailing '/').
  virtual VNResultEnum ListFolders(const std::u16string& folder, std::vector<std::u16string>& names, bool relative);
  // True when a file (never a folder) with one of the candidate names exists.
  virtual bool Exists(const std::u16string& name, const char16_t* const* extensions = nullptr, unsigned count = 0,
                      unsigned* index = nullptr);
  virtual bool IsFolder(const std::u16string& name);
  // The layout named name (the caller owns it): a folder with "layers.xml", else the layered
  // document name + ".psd", else name itself; null when none exists. Redirected into packs.
  virtual ImageContainer* OpenImageContainer(const std::u16string& name);
  // The flags byte given to the files this container finds.
  unsigned char GetFlags() const { return mArchive; }

  virtual VNResultEnum DoListFiles(const std::u16string& root, const std::u16string& folder,
                                   const std::u16string& sub, bool recursive, std::vector<std::u16string>& names,
                                   bool relative) = 0;
  virtual VNResultEnum DoListFolders(const std::u16string& root, const std::u16string& folder,
                                     const std::u16string& sub, std::vector<std::u16string>& names,
                                     bool relative) = 0;
  virtual bool DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                        unsigned* index) = 0;
  virtual bool DoIsFolder(const std::u16string& name) = 0;

  // The pack that serves path: the first mount of the file manager (ascending prefix order) whose
  // prefix begins path exactly and whose pack file exists in this container. Sets inner to path
  // without the prefix. Null when no mount applies. The archiver is opened once and cached.
  Archiver* FindArchive(const std::u16string& path, std::u16string& inner);

 protected:
  // The extension choice shared by the storages: with no list the name itself, else the first
  // name + extension (in list order) for which isFile holds; its index goes to index.
  template <class IsFile>
  static bool FindCandidate(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                            unsigned* index, IsFile isFile) {
    if (count == 0) return isFile(name);
    for (unsigned i = 0; i < count; ++i) {
      if (isFile(name + extensions[i])) {
        if (index) *index = i;
        return true;
      }
    }
    return false;
  }

  unsigned char mArchive = 0;

 private:
  std::map<std::u16string, Archiver*> mArchives;
};

}  // namespace file
