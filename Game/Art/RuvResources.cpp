#include "Game/Art/RuvResources.h"

#include <tinyxml2.h>

#include "Core/Base/ImageInfo.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Art/RuvFrameEntry.h"

const char* const RuvArtSet::kGroupNames[RuvArtSet::kGroupCount] = {
    "rotate", "f_00", "f_01",    "f_02", "f_03",       "f_04", "f_05",  "f_06",   "f_07", "f_08",
    "f_09",   "f_10", "f_11",    "f_12", "f_13",       "f_14", "f_15",  "blast",  "idle", "shot",
    "pivot",  "fire", "s_point", "",     "base_point", "walk", "death", "special"};

namespace {

const char16_t kRuvArtPrefix[] = u"ruv/";

std::u16string RuvArtAttribute(const tinyxml2::XMLElement* element, const char* name) {
  const char* value = element ? element->Attribute(name) : nullptr;
  return value ? base::ToWide(value, base::kEncodingUtf8) : std::u16string();
}

file::ImageContainer* RuvArtOpenContainer(const std::u16string& path) {
  return file::FileManager::Instance()->OpenImageContainer(path);
}

}  // namespace

RuvArtSet::RuvArtSet(const std::shared_ptr<file::ImageContainer>& shared, const std::u16string& folder)
    : psdPath(kRuvArtPrefix + folder), imgPath(kRuvArtPrefix + folder), mContainer(shared) {
  buildGroups(shared.get(), folder);
}

RuvArtSet::RuvArtSet(const tinyxml2::XMLElement* element) {
  id = element ? element->IntAttribute("id", 0) : 0;
  const std::u16string psd = RuvArtAttribute(element, "psd");
  const std::u16string img = RuvArtAttribute(element, "img");
  imgPath = kRuvArtPrefix + img;
  psdPath = kRuvArtPrefix + psd;
  if (!psd.empty()) {
    opened = 1;
    openFolder(psdPath);
  }
  if (!img.empty()) image = ruvLoadImage(imgPath, nullptr);
}

RuvArtSet::RuvArtSet(const std::u16string& path) : psdPath(path), opened(1) { openFolder(path); }

RuvArtSet::~RuvArtSet() {
  for (auto& [name, frames] : groups) {
    for (RuvFrameEntry* frame : frames) {
      delete frame->image;
      frame->image = nullptr;
      delete frame;
    }
  }
  groups.clear();
  delete image;
  // The textures are gone: the container may go now.
  container = nullptr;
  mContainer.reset();
}

RuvFrameEntry* RuvArtSet::findFrame(const std::u16string& frameName, const std::u16string& groupName) {
  const auto group = groups.find(base::ToNarrow(groupName, base::kEncodingUtf8));
  if (group == groups.end()) return nullptr;
  for (RuvFrameEntry* frame : group->second) {
    if (frame->name == frameName) return frame;
  }
  return nullptr;
}

void RuvArtSet::openFolder(const std::u16string& path) {
  mContainer.reset(RuvArtOpenContainer(path));
  container = mContainer.get();
  if (container) buildGroups(container, std::u16string());
}

void RuvArtSet::buildGroups(file::ImageContainer* source, const std::u16string& setName) {
  container = source;
  const std::string set = base::ToNarrow(setName, base::kEncodingUtf8);
  for (const char* group : kGroupNames) {
    std::string folder = group;
    if (!set.empty()) folder = set + "/" + group;
    std::vector<std::u16string> names;
    source->ListLayers(base::ToWide(folder, base::kEncodingUtf8), false, names, false);
    FrameList frames;
    for (const std::u16string& name : names) {
      const base::ImageInfo* info = source->GetLayerInfo(name);
      if (!info) continue;
      RuvFrameEntry* frame = new RuvFrameEntry;
      frame->image = ruvLoadImage(info->mName, source);
      frame->rect[0] = info->mX;
      frame->rect[1] = info->mY;
      frame->rect[2] = info->mWidth;
      frame->rect[3] = info->mHeight;
      frame->name = info->mName;
      frames.push_back(frame);
    }
    FrameList& slot = groups[group];
    for (RuvFrameEntry* old : slot) {
      delete old->image;
      delete old;
    }
    slot = std::move(frames);
  }
}

RuvResources::~RuvResources() { clear(); }

std::vector<base::SingletoneBase*> RuvResources::GetDependencies() {
  std::vector<base::SingletoneBase*> dependencies;
  if (resource::ResourceManager* resources = resource::ResourceManager::Instance()) dependencies.push_back(resources);
  if (file::FileManager* files = file::FileManager::Instance()) dependencies.push_back(files);
  return dependencies;
}

RuvArtSet* RuvResources::getArt(const tinyxml2::XMLElement* element) {
  const std::u16string psd = RuvArtAttribute(element, "psd");
  const std::u16string img = RuvArtAttribute(element, "img");
  if (psd.empty() && img.empty()) return nullptr;
  const std::u16string psdKey = kRuvArtPrefix + psd;
  const std::u16string imgKey = kRuvArtPrefix + img;
  for (RuvArtSet* set : mArtSets) {
    if ((!psd.empty() && set->psdPath == psdKey) || (!img.empty() && set->imgPath == imgKey)) return set;
  }
  mArtSets.push_back(new RuvArtSet(element));
  return mArtSets.back();
}

RuvArtSet* RuvResources::getArtByPsd(const std::u16string& path) {
  if (RuvArtSet* found = findArtByPsd(path)) return found;
  mArtSets.push_back(new RuvArtSet(path));
  return mArtSets.back();
}

RuvArtSet* RuvResources::findArtByPsd(const std::u16string& path) {
  for (RuvArtSet* set : mArtSets) {
    if (set->psdPath == path) return set;
  }
  return nullptr;
}

RuvFrameEntry* RuvResources::getFrame(const std::u16string& psdPath, const std::u16string& frameName,
                                      const std::u16string& groupName) {
  RuvArtSet* set = findArtByPsd(psdPath);
  return set ? set->findFrame(frameName, groupName) : nullptr;
}

void RuvResources::loadArtFolder(const std::u16string& path) {
  std::shared_ptr<file::ImageContainer> shared(RuvArtOpenContainer(path));
  if (!shared) return;
  std::vector<std::u16string> folders;
  shared->ListFolders(std::u16string(), folders, false);
  for (const std::u16string& folder : folders) mArtSets.push_back(new RuvArtSet(shared, folder));
}

void RuvResources::clear() {
  for (RuvArtSet* set : mArtSets) delete set;
  mArtSets.clear();
}
