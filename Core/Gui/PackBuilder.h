#pragma once
#include <string>

#include "Core/Base/Result.h"

namespace gui {

// Builds pack files ("vnpack") from folders on the disk, whatever is mounted meanwhile.
class PackBuilder {
 public:
  // Writes the files below folder (any depth, named by their path below it) into packPath, entries
  // and bodies in ascending name order. The pack is built in packPath + ".part" and renamed over
  // packPath only when every byte was written, so a failed build keeps the old pack; the temporary
  // file is removed on failure. A missing folder gives a pack without entries. Logs the outcome.
  static VNResultEnum BuildPack(const std::u16string& folder, const std::u16string& packPath);
  // BuildPack(prefix, pack path) for every mount of the file manager in ascending prefix order;
  // stops at the first failure and returns it.
  static VNResultEnum BuildMountedPacks();
};

}  // namespace gui
