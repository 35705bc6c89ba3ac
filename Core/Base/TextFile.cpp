#include "Core/Base/TextFile.h"

#include <cstring>
#include <memory>

#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"

namespace base {

namespace {

constexpr unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};

}  // namespace

std::string ReadTextFile(const std::u16string& path, bool* hasBom) {
  if (hasBom) *hasBom = false;
  file::FileManager* manager = file::FileManager::Instance();
  if (!manager) return {};
  std::unique_ptr<file::FileInfo> info(manager->Open(path, nullptr, 0, nullptr));
  if (!info) return {};
  std::unique_ptr<Stream> stream(info->Open());
  if (!stream) return {};

  std::size_t size = stream->GetSize();
  if (size > kMaxTextFileSize) return {};
  std::string text(size, '\0');
  if (size >= 3) {
    if (stream->Read(text.data(), 3) != 3) return {};
    if (std::memcmp(text.data(), kBom, 3) == 0) {
      if (hasBom) *hasBom = true;
      size -= 3;
      text.resize(size);
      if (size > 0 && stream->Read(text.data(), static_cast<unsigned>(size)) != size) return {};
    } else if (stream->Read(text.data() + 3, static_cast<unsigned>(size - 3)) != size - 3) {
      return {};
    }
  } else if (size > 0 && stream->Read(text.data(), static_cast<unsigned>(size)) != size) {
    return {};
  }
  text.resize(std::strlen(text.c_str()));
  return text;
}

}  // namespace base
