#include "Core/File/Archiver.h"

#include <memory>
#include <new>
#include <set>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"
#include "Core/Base/StreamCreator.h"

namespace file {

namespace {

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

Archiver::Archiver(std::u16string prefix, std::u16string packPath, Container* parent)
    : mParent(parent), mPrefix(std::move(prefix)), mPackPath(std::move(packPath)) {
  mArchive = 1;
  base::FileStream pack;
  // A pack that cannot be opened or read serves nothing (or only what was read) under its prefix.
  if (pack.GetHandle().Open(mPackPath, FileHandleWin32::kRead, FileHandleWin32::kOpenExisting) != VN_OK) {
    base::LogDataFileProblem(u"Archiver", mPackPath, u"cannot be opened: it serves nothing");
  } else if (mIndex.Read(&pack) != VN_OK) {
    base::LogDataFileProblem(u"Archiver", mPackPath, u"is damaged: it serves only what its index held before the damage");
  }
}

base::Stream* Archiver::OpenStream(const std::u16string& name) {
  const PackEntry* entry = mIndex.Find(name);
  if (!entry) return nullptr;
  std::unique_ptr<base::FileStream> pack(new (std::nothrow) base::FileStream);
  if (!pack || pack->GetHandle().Open(mPackPath, FileHandleWin32::kRead, FileHandleWin32::kOpenExisting) != VN_OK) {
    return nullptr;
  }
  auto* frame = new (std::nothrow) base::FrameStream(pack.get(), true, entry->offset, entry->size);
  if (frame) pack.release();
  return frame;
}

base::StreamCreator* Archiver::GetStreamCreator(const std::u16string& name) {
  const PackEntry* entry = mIndex.Find(name);
  if (!entry) return nullptr;
  auto* inner = new (std::nothrow)
      base::FileStreamCreator(mPackPath, FileHandleWin32::kRead, FileHandleWin32::kOpenExisting);
  if (!inner) return nullptr;
  auto* creator = new (std::nothrow) base::FrameStreamCreator(inner, true, entry->offset, entry->size);
  if (!creator) delete inner;
  return creator;
}

std::u16string Archiver::GetPath() { return (mParent ? mParent->GetPath() : std::u16string()) + mPrefix; }

VNResultEnum Archiver::DoListFiles(const std::u16string& root, const std::u16string& folder,
                                   const std::u16string& sub, bool recursive, std::vector<std::u16string>& names,
                                   bool relative) {
  const std::u16string prefix = folder + sub;
  for (auto it = mIndex.GetEntries().lower_bound(prefix); it != mIndex.GetEntries().end(); ++it) {
    if (!StartsWith(it->first, prefix)) break;
    const std::u16string rest = it->first.substr(prefix.size());
    if (recursive || rest.find(u'/') == std::u16string::npos) names.push_back(relative ? rest : root + rest);
  }
  return VN_OK;
}

VNResultEnum Archiver::DoListFolders(const std::u16string& root, const std::u16string& folder,
                                     const std::u16string& sub, std::vector<std::u16string>& names,
                                     bool relative) {
  const std::u16string prefix = folder + sub;
  std::set<std::u16string> folders;
  for (auto it = mIndex.GetEntries().lower_bound(prefix); it != mIndex.GetEntries().end(); ++it) {
    if (!StartsWith(it->first, prefix)) break;
    const std::size_t slash = it->first.find(u'/', prefix.size());
    if (slash != std::u16string::npos) folders.insert(it->first.substr(prefix.size(), slash - prefix.size()));
  }
  for (const std::u16string& name : folders) names.push_back(relative ? name : root + name);
  return VN_OK;
}

bool Archiver::DoExists(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                        unsigned* index) {
  return FindCandidate(name, extensions, count, index,
                       [this](const std::u16string& candidate) { return mIndex.Find(candidate) != nullptr; });
}

bool Archiver::DoIsFolder(const std::u16string& name) {
  const std::u16string prefix = name + u"/";
  const auto it = mIndex.GetEntries().lower_bound(prefix);
  return it != mIndex.GetEntries().end() && StartsWith(it->first, prefix);
}

}  // namespace file
