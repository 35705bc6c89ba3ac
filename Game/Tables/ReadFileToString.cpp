#include "Game/Tables/ReadFileToString.h"

#include "Core/Base/TextFile.h"

std::string readFileToString(const std::u16string& path) {
  bool hasBom = false;
  std::string text = base::ReadTextFile(path, &hasBom);
  // The text reader drops the mark; this reader hands the bytes over as they are.
  return hasBom ? "\xEF\xBB\xBF" + text : text;
}
