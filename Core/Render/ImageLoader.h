#pragma once
#include <string>

#include "Core/Base/Singletone.h"

namespace base {
class ImageInfo;
class Stream;
}  // namespace base

namespace render {

class ImageData;

// Picks the decoder for an image stream and loads it.
class ImageLoader : public base::Singletone<ImageLoader> {
 public:
  // A loaded decoder that the caller deletes, or null: no extension, no decoder for it (the
  // comparison is exact, lower case, on the first four characters) or a failed load. A
  // description with the raw-pixels flag selects the raw layer decoder whatever the extension.
  ImageData* Load(base::Stream* stream, const std::u16string& extension, const base::ImageInfo* info);
};

}  // namespace render
