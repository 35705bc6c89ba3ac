// The device layer stands below the shader compiler: nothing in it reads the compiler's headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(DeviceLayerTest, NoDeviceFileIncludesTheCompilerLayer) {
  const std::filesystem::path folder = std::filesystem::path(QM_SOURCE_DIR) / "Platform" / "D3D9";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path());
    std::ostringstream text;
    text << in.rdbuf();
    ++files;
    EXPECT_EQ(text.str().find("#include \"Platform/D3DX9/"), std::string::npos) << entry.path();
  }
  EXPECT_GT(files, 0);
}

}  // namespace
