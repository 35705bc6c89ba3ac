#pragma once
#include <string>

namespace base {
class Stream;
}

namespace file {

class Container;

// A file found by a container: the name asked for, the path found and the container that found it.
class FileInfo {
 public:
  // name: the file-name part of the name asked for, without the extension the search appended;
  // path: the name found (with that extension), relative to container.
  FileInfo(std::u16string name, std::u16string path, Container* container, unsigned char archive)
      : mName(std::move(name)), mPath(std::move(path)), mContainer(container), mArchive(archive) {}
  virtual ~FileInfo() = default;

  // A new stream on the file (the caller owns it), or null.
  base::Stream* Open();

  const std::u16string& GetName() const { return mName; }
  const std::u16string& GetPath() const { return mPath; }
  Container* GetContainer() const { return mContainer; }
  bool IsArchive() const { return mArchive != 0; }

 protected:
  std::u16string mName;
  std::u16string mPath;
  Container* mContainer;
  unsigned char mArchive;
};

}  // namespace file
