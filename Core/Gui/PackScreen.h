#pragma once
#include <string>

#include "Core/Widget/BaseBoard.h"

namespace gui {

// The root board of a run started with "--pack <word>": creating it rebuilds the pack file of every
// mount of the file manager from the folder of the same name. It draws nothing.
class PackScreen : public widget::BaseBoard {
 public:
  // The argument is kept but not used: every mount is rebuilt.
  explicit PackScreen(const std::u16string& argument) : mArgument(argument) {}

  // 0 when every pack was built, else the first failure.
  VNResultEnum Create() override;
  // One pack from the folder on the disk (see PackBuilder::BuildPack).
  VNResultEnum BuildPack(const std::u16string& folder, const std::u16string& packPath);

  const std::u16string& GetArgument() const { return mArgument; }

 private:
  std::u16string mArgument;
};

}  // namespace gui
