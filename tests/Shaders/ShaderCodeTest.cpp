#include <gtest/gtest.h>

#include <cstring>

#include "Platform/D3D9/ShaderCode.h"

using namespace d3d9;

namespace {

ShaderCode Sample() {
  ShaderCode code;
  code.stage = ShaderStage::kPixel;
  code.constantRegisters = 5;
  code.samplers = {{"TextureSampler", 0}, {"Mask", 3}};
  code.glsl = "#version 330\nvoid main() {}\n";
  return code;
}

TEST(ShaderCodeTest, RoundTripKeepsEverything) {
  const std::vector<std::uint32_t> words = WriteShaderCode(Sample());
  EXPECT_EQ(ShaderCodeSize(words.data()), words.size() * 4);
  ShaderCode read;
  ASSERT_TRUE(ReadShaderCode(words.data(), &read));
  EXPECT_EQ(read.stage, ShaderStage::kPixel);
  EXPECT_EQ(read.constantRegisters, 5u);
  ASSERT_EQ(read.samplers.size(), 2u);
  EXPECT_EQ(read.samplers[1].name, "Mask");
  EXPECT_EQ(read.samplers[1].unit, 3u);
  EXPECT_EQ(read.glsl, Sample().glsl);
}

TEST(ShaderCodeTest, MalformedCodeIsRefused) {
  const std::vector<std::uint32_t> good = WriteShaderCode(Sample());
  struct Case {
    const char* label;
    std::size_t word;
    std::uint32_t value;
  };
  const Case cases[] = {
      {"magic", 0, 0},
      {"version", 1, 2},
      {"size below the header", 2, 8},
      {"size cuts the text", 2, static_cast<std::uint32_t>(good.size() * 4 - 8)},
      {"stage", 3, 2},
      {"more registers than a pixel program has", 4, 225},
      {"sampler count", 5, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::uint32_t> words = good;
    words[c.word] = c.value;
    ShaderCode read;
    EXPECT_FALSE(ReadShaderCode(words.data(), &read));
  }
}

TEST(ShaderCodeTest, InputLocationsBySemantic) {
  const std::pair<const char*, int> table[] = {
      {"POSITION", 0}, {"POSITION0", 0}, {"POSITIONT", 0}, {"COLOR0", 1}, {"COLOR", 1}, {"COLOR1", 2},
      {"NORMAL", 3}, {"TEXCOORD0", 4}, {"TEXCOORD7", 11}, {"PSIZE", 12}, {"TEXCOORD8", -1},
      {"BLENDWEIGHT", -1}, {"", -1}};
  for (const auto& [semantic, location] : table) EXPECT_EQ(VertexInputLocation(semantic), location) << semantic;
}

}  // namespace
