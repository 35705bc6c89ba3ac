#include "Core/File/PsdFile.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "Core/Base/MemoryStream.h"
#include "Core/Base/Path.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/Psd/Psd.h"

namespace file {

namespace {

// The application's image scale; fixed at 1.0 for this program.
const float kPsdFileImageScale = 1.0f;

std::unique_ptr<PsdFileLayer> MakePsdFileLayer(const PsdLayer& record, const std::u16string& fullName, int index) {
  int rect[4] = {record.left, record.top, record.width, record.height};
  bool image = true;
  if (fullName.find(u"|box") != std::u16string::npos) {
    image = false;  // a named rectangle without pixels
  } else if (fullName.find(u"|center") != std::u16string::npos) {
    rect[0] = int(int64_t(record.left) + record.width / 2);  // a named point
    rect[1] = int(int64_t(record.top) + record.height / 2);
    rect[2] = rect[3] = 0;
    image = false;
  }
  const base::ImageInfo info = base::ImageInfo::ImageInfoWithRect(fullName, rect, record.opacity, index, image, true,
                                                                  kPsdFileImageScale);
  return std::make_unique<PsdFileLayer>(info, &record);
}

}  // namespace

PsdFile::PsdFile(const std::u16string& filePath, FileContainer* parent) : ImageContainer(filePath, parent) {
  ReadLayers();
}

PsdFile::~PsdFile() { PsdFree(mDocument); }

void PsdFile::ReadLayers() {
  if (!mParent) return;
  // Through the parent's stream, so that a document inside a pack is read from the pack.
  std::unique_ptr<base::Stream> stream(mParent->OpenStream(mName));
  if (!stream) return;
  const unsigned size = stream->GetSize();
  std::vector<unsigned char> bytes(size);
  if (size > 0 && stream->Read(bytes.data(), size) != size) return;
  stream.reset();
  if (PsdLoadMemory(&mDocument, bytes.data(), int64_t(size)) != kPsdOk) return;

  std::vector<std::string> folders;
  std::string prefix;
  for (int i = mDocument->layerCount - 1; i >= 1; --i) {
    const PsdLayer& record = mDocument->layers[i];
    if (record.type == kPsdLayerFolderStart || record.type == kPsdLayerFolderEnd) {
      if (record.type == kPsdLayerFolderStart) {
        folders.emplace_back(record.name);
      } else if (!folders.empty()) {
        folders.pop_back();  // an end without an open folder is ignored
      }
      prefix.clear();
      for (const std::string& folder : folders) prefix += folder + "/";
      continue;
    }
    if (record.type != kPsdLayerNormal) continue;
    const std::u16string fullName = base::ToWide(prefix + record.name, base::kEncodingAnsi);
    base::ImageInfo* entry = AddLayer(fullName, MakePsdFileLayer(record, fullName, i));
    mLayerList.push_back(entry);
  }
}

base::Stream* PsdFile::OpenStream(const std::u16string& name) {
  const auto found = mLayers.find(name);
  if (found == mLayers.end()) return nullptr;
  const PsdLayer* record = static_cast<const PsdFileLayer*>(found->second)->GetRecord();
  if (!record->pixels) return new (std::nothrow) base::MemoryStream();
  const int64_t bytes = int64_t(record->width) * record->height * 4;
  if (bytes > int64_t(UINT32_MAX)) return nullptr;
  return new (std::nothrow) base::MemoryStream(record->pixels, unsigned(bytes));
}

ImageFileInfo* PsdFile::FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                                  unsigned* index) {
  const auto found = mLayers.find(name);
  if (found == mLayers.end()) return nullptr;
  if (index) {
    for (unsigned i = 0; i < count; ++i) {
      if (extensions[i][0] == 0) {
        *index = i;
        break;
      }
    }
  }
  return new ImageFileInfo(base::GetFileNameNoExt(name), name, this, 1, *found->second);
}

unsigned PsdFile::GetLayerCount() { return unsigned(mLayers.size()); }

}  // namespace file
