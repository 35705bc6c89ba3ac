#pragma once
#include "Core/Base/ImageInfo.h"
#include "Core/File/FileInfo.h"

namespace file {

// One layer found in an image container, with its description; opening it opens the layer's
// stream through the container.
class ImageFileInfo : public FileInfo, public base::ImageInfo {
 public:
  ImageFileInfo(std::u16string name, std::u16string path, Container* container, unsigned char archive,
                const base::ImageInfo& info)
      : FileInfo(std::move(name), std::move(path), container, archive), base::ImageInfo(info) {}
};

}  // namespace file
