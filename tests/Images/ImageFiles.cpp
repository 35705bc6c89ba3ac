#include "tests/Images/ImageFiles.h"

#include <IL/il.h>

namespace testimages {

Bytes MakePng(int width, int height, const Bytes& topDownRgba) {
  Bytes bottomUp;
  for (int row = height - 1; row >= 0; --row) {
    bottomUp.insert(bottomUp.end(), topDownRgba.begin() + row * width * 4, topDownRgba.begin() + (row + 1) * width * 4);
  }
  ilInit();
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  ilTexImage(ILuint(width), ILuint(height), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, bottomUp.data());  // rows from the bottom
  Bytes png(ilSaveL(IL_PNG, nullptr, 0) + 256);
  png.resize(ilSaveL(IL_PNG, png.data(), ILuint(png.size())));
  ilDeleteImages(1, &name);
  ilShutDown();
  return png;
}

}  // namespace testimages
