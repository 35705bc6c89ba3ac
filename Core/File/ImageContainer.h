#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Result.h"
#include "Core/File/Container.h"

namespace file {

class FileContainer;
class ImageFileInfo;

// A layout opened as a container of layers (a folder with "layers.xml", or a layered document).
// Read completely when built and unchanged afterwards; lookups on a layout that could not be read
// find nothing.
class ImageContainer : public Container {
 public:
  ImageContainer() = default;
  // name: the folder or file path, relative to parent.
  ImageContainer(std::u16string name, FileContainer* parent);
  ImageContainer(const ImageContainer&) = delete;
  ImageContainer& operator=(const ImageContainer&) = delete;

  // Forwards to FindLayer.
  FileInfo* Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                 unsigned* index) override;
  base::StreamCreator* GetStreamCreator(const std::u16string& name) override;
  // The parent's path + own name + "/".
  std::u16string GetPath() override;
  // The layer of exactly that name, found with the first of the candidate extensions whose file
  // exists (atlas layers need no file); its index goes to index. Null when there is none. The
  // caller owns the result.
  virtual ImageFileInfo* FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                                   unsigned* index) = 0;
  // The description of the layer of exactly that name, owned by the container; null when absent.
  virtual const base::ImageInfo* GetLayerInfo(const std::u16string& name);
  // The index-th layer in reading order; null beyond the list.
  virtual const base::ImageInfo* GetLayer(unsigned index);
  virtual unsigned GetLayerCount();
  // Appends the names of the layers under folder (whole, or without the folder when strip is set);
  // only the folder's own layers unless recursive.
  virtual VNResultEnum ListLayers(const std::u16string& folder, bool recursive, std::vector<std::u16string>& names,
                                  bool strip);
  // Appends the names of the sub-folders directly under folder.
  virtual VNResultEnum ListFolders(const std::u16string& folder, std::vector<std::u16string>& names, bool strip);
  virtual bool HasLayer(const std::u16string& name);
  virtual bool HasImageFile(const std::u16string& name);
  virtual bool IsFolder(const std::u16string& name);

 protected:
  // Keeps info and maps name to it unless the name is mapped already (the first one stays);
  // returns info. The list is the caller's to extend.
  base::ImageInfo* AddLayer(const std::u16string& name, std::unique_ptr<base::ImageInfo> info);

  std::u16string mName;
  FileContainer* mParent = nullptr;
  std::map<std::u16string, base::ImageInfo*> mLayers;
  std::vector<base::ImageInfo*> mLayerList;
  std::vector<std::unique_ptr<base::ImageInfo>> mStorage;
};

}  // namespace file
