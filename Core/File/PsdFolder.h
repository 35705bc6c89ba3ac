#pragma once
#include "Core/File/ImageContainer.h"

namespace file {

// A layout folder: "layers.xml" names the layers, each an image file in the folder or a part of
// an atlas image. A missing or unreadable "layers.xml" gives an empty container.
class PsdFolder : public ImageContainer {
 public:
  PsdFolder(const std::u16string& folderPath, FileContainer* parent);

  // The parent's operations on own name + "/" + name.
  base::Stream* OpenStream(const std::u16string& name) override;
  base::StreamCreator* GetStreamCreator(const std::u16string& name) override;
  ImageFileInfo* FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                           unsigned* index) override;
  // Folder arguments are compared in lower case, with '\' as '/' and one trailing '/'.
  VNResultEnum ListLayers(const std::u16string& folder, bool recursive, std::vector<std::u16string>& names,
                          bool strip) override;
  VNResultEnum ListFolders(const std::u16string& folder, std::vector<std::u16string>& names, bool strip) override;
  // The lower-cased name is a layer.
  bool HasLayer(const std::u16string& name) override;
  // The folder holds name with one of the texture extensions.
  bool HasImageFile(const std::u16string& name) override;
  bool IsFolder(const std::u16string& name) override;

  // The texture loader's six candidate extensions, in its order.
  static const char16_t* const* GetTextureExtensions();
  static unsigned GetTextureExtensionCount();

 private:
  void ReadLayout();
};

}  // namespace file
