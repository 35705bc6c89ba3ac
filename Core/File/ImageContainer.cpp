#include "Core/File/ImageContainer.h"

#include "Core/File/FileContainer.h"
#include "Core/File/ImageFileInfo.h"

namespace file {

ImageContainer::ImageContainer(std::u16string name, FileContainer* parent) : mName(std::move(name)), mParent(parent) {}

FileInfo* ImageContainer::Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                               unsigned* index) {
  return FindLayer(name, extensions, count, index);
}

base::StreamCreator* ImageContainer::GetStreamCreator(const std::u16string&) { return nullptr; }

std::u16string ImageContainer::GetPath() { return (mParent ? mParent->GetPath() : std::u16string()) + mName + u"/"; }

const base::ImageInfo* ImageContainer::GetLayerInfo(const std::u16string& name) {
  const auto found = mLayers.find(name);
  return found == mLayers.end() ? nullptr : found->second;
}

const base::ImageInfo* ImageContainer::GetLayer(unsigned index) {
  return index < mLayerList.size() ? mLayerList[index] : nullptr;
}

unsigned ImageContainer::GetLayerCount() { return unsigned(mLayerList.size()); }

VNResultEnum ImageContainer::ListLayers(const std::u16string&, bool, std::vector<std::u16string>&, bool) {
  return VN_OK;
}

VNResultEnum ImageContainer::ListFolders(const std::u16string&, std::vector<std::u16string>&, bool) { return VN_OK; }

bool ImageContainer::HasLayer(const std::u16string&) { return false; }

bool ImageContainer::HasImageFile(const std::u16string&) { return false; }

bool ImageContainer::IsFolder(const std::u16string&) { return false; }

base::ImageInfo* ImageContainer::AddLayer(const std::u16string& name, std::unique_ptr<base::ImageInfo> info) {
  base::ImageInfo* entry = info.get();
  mLayers.emplace(name, entry);
  mStorage.push_back(std::move(info));
  return entry;
}

}  // namespace file
