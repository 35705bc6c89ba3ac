#pragma once
#include "Core/File/Container.h"

namespace file {

class ImageFileInfo;

// A layout opened as a container of layers (a folder with "layers.xml", or a layered document).
class ImageContainer : public Container {
 public:
  // The layer of exactly that name, found with the first of the candidate extensions whose file
  // exists (atlas layers need no file); its index goes to index. Null when there is none. The
  // caller owns the result.
  virtual ImageFileInfo* FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                                   unsigned* index) = 0;
};

}  // namespace file
