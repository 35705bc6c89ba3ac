#include "Platform/D3D9/ShaderCode.h"

#include <cstring>
#include <utility>

namespace d3d9 {

namespace {

constexpr std::uint32_t kMagic = 0x4C534751u;  // "QGSL"
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderWords = 6;  // magic, version, size, stage, registers, sampler count
constexpr std::uint32_t kMaxSamplers = 16;

struct Location {
  const char* semantic;
  int location;
};

constexpr Location kInputLocations[] = {
    {"POSITION0", 0},  {"COLOR0", 1},     {"COLOR1", 2},     {"NORMAL0", 3},    {"TEXCOORD0", 4},
    {"TEXCOORD1", 5},  {"TEXCOORD2", 6},  {"TEXCOORD3", 7},  {"TEXCOORD4", 8},  {"TEXCOORD5", 9},
    {"TEXCOORD6", 10}, {"TEXCOORD7", 11}, {"PSIZE0", 12},
};

void PutText(std::vector<std::uint8_t>* bytes, std::string_view text) {
  const auto length = static_cast<std::uint32_t>(text.size());
  const auto* p = reinterpret_cast<const std::uint8_t*>(&length);
  bytes->insert(bytes->end(), p, p + sizeof(length));
  bytes->insert(bytes->end(), text.begin(), text.end());
}

// Reads words and texts inside [pos, end); every read checks the bound.
class Reader {
 public:
  Reader(const std::uint8_t* pos, const std::uint8_t* end) : mPos(pos), mEnd(end) {}

  bool Word(std::uint32_t* out) {
    if (static_cast<std::size_t>(mEnd - mPos) < sizeof(*out)) return false;
    std::memcpy(out, mPos, sizeof(*out));
    mPos += sizeof(*out);
    return true;
  }

  bool Text(std::string* out) {
    std::uint32_t length = 0;
    if (!Word(&length) || static_cast<std::size_t>(mEnd - mPos) < length) return false;
    out->assign(reinterpret_cast<const char*>(mPos), length);
    mPos += length;
    return true;
  }

 private:
  const std::uint8_t* mPos;
  const std::uint8_t* mEnd;
};

}  // namespace

int VertexInputLocation(std::string_view semantic) {
  std::string key(semantic);
  if (key.empty()) return -1;
  if (key.back() < '0' || key.back() > '9') key += '0';
  if (key == "POSITIONT0") key = "POSITION0";  // pre-transformed positions read the same attribute
  for (const Location& entry : kInputLocations) {
    if (key == entry.semantic) return entry.location;
  }
  return -1;
}

std::vector<std::uint32_t> WriteShaderCode(const ShaderCode& code) {
  std::vector<std::uint8_t> bytes(kHeaderWords * sizeof(std::uint32_t));
  for (const ShaderSampler& sampler : code.samplers) {
    const std::uint32_t unit = sampler.unit;
    const auto* p = reinterpret_cast<const std::uint8_t*>(&unit);
    bytes.insert(bytes.end(), p, p + sizeof(unit));
    PutText(&bytes, sampler.name);
  }
  PutText(&bytes, code.glsl);
  bytes.resize((bytes.size() + 3) / 4 * 4, 0);

  std::vector<std::uint32_t> words(bytes.size() / 4);
  std::memcpy(words.data(), bytes.data(), bytes.size());
  words[0] = kMagic;
  words[1] = kVersion;
  words[2] = static_cast<std::uint32_t>(bytes.size());
  words[3] = static_cast<std::uint32_t>(code.stage);
  words[4] = code.constantRegisters;
  words[5] = static_cast<std::uint32_t>(code.samplers.size());
  return words;
}

std::size_t ShaderCodeSize(const void* data) {
  if (data == nullptr) return 0;
  std::uint32_t header[3];
  std::memcpy(header, data, sizeof(header));
  if (header[0] != kMagic || header[1] != kVersion || header[2] < kHeaderWords * sizeof(std::uint32_t)) {
    return 0;
  }
  return header[2];
}

bool ReadShaderCode(const void* data, ShaderCode* out) {
  const std::size_t size = ShaderCodeSize(data);
  if (size == 0) return false;
  const auto* begin = static_cast<const std::uint8_t*>(data);
  Reader reader(begin + 3 * sizeof(std::uint32_t), begin + size);
  std::uint32_t stage = 0;
  std::uint32_t samplerCount = 0;
  ShaderCode code;
  if (!reader.Word(&stage) || stage > 1 || !reader.Word(&code.constantRegisters) ||
      !reader.Word(&samplerCount) || samplerCount > kMaxSamplers) {
    return false;
  }
  code.stage = static_cast<ShaderStage>(stage);
  if (code.constantRegisters > (code.stage == ShaderStage::kVertex ? kVertexRegisters : kPixelRegisters)) {
    return false;
  }
  code.samplers.resize(samplerCount);
  for (ShaderSampler& sampler : code.samplers) {
    if (!reader.Word(&sampler.unit) || !reader.Text(&sampler.name)) return false;
  }
  if (!reader.Text(&code.glsl)) return false;
  *out = std::move(code);
  return true;
}

}  // namespace d3d9
