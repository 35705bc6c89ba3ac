#include "Core/File/PsdFolder.h"

#include <tinyxml2.h>

#include <cstdio>
#include <memory>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/Path.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageFileInfo.h"

namespace file {

namespace {

// The same list as the texture resource's: layouts sit below the resources and cannot ask them.
const char16_t* const kPsdFolderTextureExtensions[] = {u"", u".dds", u".jpg", u".gif", u".png", u".tga"};
const unsigned kPsdFolderTextureExtensionCount = 6;

// The application's image scale; fixed at 1.0 for this program.
const float kPsdFolderImageScale = 1.0f;

// ASCII letters lowered; layout names are ASCII.
std::u16string PsdFolderLower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  }
  return text;
}

std::u16string PsdFolderPrefix(const std::u16string& folder) { return base::NormalizeDirPath(PsdFolderLower(folder)); }

bool PsdFolderStartsWith(const std::u16string& text, const std::u16string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// "%d" of an attribute; 0 when it is absent or not a number.
int PsdFolderInt(const tinyxml2::XMLElement* element, const char* name, int fallback) {
  const char* value = element->Attribute(name);
  int result = fallback;
  if (value && std::sscanf(value, "%d", &result) != 1) result = fallback;
  return result;
}

double PsdFolderDouble(const tinyxml2::XMLElement* element, const char* name, double fallback) {
  const char* value = element->Attribute(name);
  double result = fallback;
  if (value && std::sscanf(value, "%lf", &result) != 1) result = fallback;
  return result;
}

}  // namespace

PsdFolder::PsdFolder(const std::u16string& folderPath, FileContainer* parent) : ImageContainer(folderPath, parent) {
  ReadLayout();
}

const char16_t* const* PsdFolder::GetTextureExtensions() { return kPsdFolderTextureExtensions; }

unsigned PsdFolder::GetTextureExtensionCount() { return kPsdFolderTextureExtensionCount; }

void PsdFolder::ReadLayout() {
  if (!mParent) return;
  const std::u16string path = mName + u"/layers.xml";
  std::unique_ptr<FileInfo> file(mParent->Open(path, nullptr, 0, nullptr));
  std::unique_ptr<base::Stream> stream(file ? file->Open() : nullptr);
  if (!stream) {
    base::LogDataFileProblem(u"PsdFolder", path, u"is missing: the layout is empty");
    return;
  }
  const unsigned size = stream->GetSize();
  std::string text(size, '\0');
  if (size > 0 && stream->Read(&text[0], size) != size) {
    base::LogDataFileProblem(u"PsdFolder", path, u"cannot be read: the layout is empty");
    return;
  }
  tinyxml2::XMLDocument xml;
  if (!base::ParseDataXml(u"PsdFolder", path, text, xml)) return;
  const tinyxml2::XMLElement* root = xml.FirstChildElement("Layers");
  if (!root) {
    base::LogDataFileProblem(u"PsdFolder", path, u"has no <Layers>: the layout is empty");
    return;
  }
  const float coordScale =
      base::Singletone<FileManager>::Exists() ? FileManager::Instance()->GetCoordScale() : 1.0f;
  for (const tinyxml2::XMLElement* layer = root->FirstChildElement("Layer"); layer;
       layer = layer->NextSiblingElement("Layer")) {
    const char* nameText = layer->Attribute("name");
    if (!nameText) break;
    const std::u16string name = base::ToWide(nameText, base::kEncodingUtf8);
    int rect[4] = {PsdFolderInt(layer, "x", 0), PsdFolderInt(layer, "y", 0), PsdFolderInt(layer, "width", 0),
                   PsdFolderInt(layer, "height", 0)};
    for (int& value : rect) value = int(float(value) * coordScale);
    // Layers without "opacity" or "ind" are opaque and first.
    const int opacity = PsdFolderInt(layer, "opacity", 255);
    const int index = PsdFolderInt(layer, "ind", 0);
    base::ImageInfo* entry;
    const auto found = mLayers.find(name);
    if (found != mLayers.end()) {
      entry = found->second;
    } else {
      entry = AddLayer(name, std::make_unique<base::ImageInfo>(base::ImageInfo::ImageInfoWithRect(
                                 name, rect, opacity, index, true, false, kPsdFolderImageScale)));
    }
    if (const char* atlas = layer->Attribute("atlas")) {
      // Atlas coordinates count v upwards from the bottom; missing ones cover the whole atlas.
      const double u1 = PsdFolderDouble(layer, "tu1", 0.0), v1 = PsdFolderDouble(layer, "tv1", 0.0);
      const double u2 = PsdFolderDouble(layer, "tu2", 1.0), v2 = PsdFolderDouble(layer, "tv2", 1.0);
      entry->mInAtlas = true;
      entry->mAtlasPath = GetPath() + base::ToWide(atlas, base::kEncodingUtf8);
      entry->mTextureU = float(u1);
      entry->mTextureV = float(1.0 - v2);
      entry->mTextureWidth = float(u2 - u1);
      entry->mTextureHeight = float(v2 - v1);
    }
    mLayerList.push_back(entry);
  }
}

base::Stream* PsdFolder::OpenStream(const std::u16string& name) {
  return mParent ? mParent->OpenStream(mName + u"/" + name) : nullptr;
}

base::StreamCreator* PsdFolder::GetStreamCreator(const std::u16string& name) {
  return mParent ? mParent->GetStreamCreator(mName + u"/" + name) : nullptr;
}

ImageFileInfo* PsdFolder::FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                                    unsigned* index) {
  const auto found = mLayers.find(name);
  if (found == mLayers.end() || !mParent) return nullptr;
  const base::ImageInfo& info = *found->second;
  std::u16string path = name;
  if (!info.mInAtlas && count > 0) {
    unsigned matched = 0;
    if (!mParent->Exists(mName + u"/" + name, extensions, count, &matched)) return nullptr;
    if (index) *index = matched;
    path += extensions[matched];
  }
  return new ImageFileInfo(base::GetFileNameNoExt(name), path, this, mParent->GetFlags(), info);
}

VNResultEnum PsdFolder::ListLayers(const std::u16string& folder, bool recursive, std::vector<std::u16string>& names,
                                   bool strip) {
  const std::u16string prefix = PsdFolderPrefix(folder);
  for (const base::ImageInfo* layer : mLayerList) {
    const std::u16string& name = layer->mName;
    if (!PsdFolderStartsWith(name, prefix)) continue;
    if (!recursive && name.find(u'/', prefix.size()) != std::u16string::npos) continue;
    names.push_back(strip ? name.substr(prefix.size()) : name);
  }
  return VN_OK;
}

VNResultEnum PsdFolder::ListFolders(const std::u16string& folder, std::vector<std::u16string>& names, bool) {
  // The sub-folder names are relative to the folder with or without the strip flag.
  const std::u16string prefix = PsdFolderPrefix(folder);
  std::u16string previous;
  bool any = false;
  for (const auto& [name, layer] : mLayers) {
    if (!PsdFolderStartsWith(name, prefix)) continue;
    const size_t slash = name.find(u'/', prefix.size());
    if (slash == std::u16string::npos) continue;
    std::u16string sub = name.substr(prefix.size(), slash - prefix.size());
    if (any && sub == previous) continue;
    names.push_back(sub);
    previous = std::move(sub);
    any = true;
  }
  return VN_OK;
}

bool PsdFolder::HasLayer(const std::u16string& name) { return mLayers.count(PsdFolderLower(name)) != 0; }

bool PsdFolder::HasImageFile(const std::u16string& name) {
  return mParent && mParent->Exists(mName + u"/" + name, kPsdFolderTextureExtensions, kPsdFolderTextureExtensionCount);
}

bool PsdFolder::IsFolder(const std::u16string& name) {
  const std::u16string prefix = PsdFolderPrefix(name);
  for (const auto& [layerName, layer] : mLayers) {
    if (PsdFolderStartsWith(layerName, prefix) && layerName.find(u'/', prefix.size()) != std::u16string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace file
