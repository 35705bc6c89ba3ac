#include "Core/Gui/PackBuilder.h"

#include <vector>

#include "Core/Base/FileStream.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackIndex.h"

namespace gui {

namespace {

constexpr unsigned kPackBuilderStreamWhole = 0xFFFFFFFFu;

VNResultEnum PackBuildFailed(const std::u16string& packPath, const char16_t* cause, const std::u16string& name) {
  base::LogBlock(u"Pack %s not built: %s %s\n") % packPath % std::u16string(cause) % name;
  return VN_FAIL;
}

// Writes the directory and the bodies into the open temporary stream. Each file is opened once:
// its size is what was copied from that one open, so directory and bodies always agree.
VNResultEnum WritePackContents(const std::u16string& root, const std::vector<std::u16string>& names,
                               const std::u16string& packPath, base::FileStream& pack, unsigned& written) {
  file::PackIndex index;
  for (const std::u16string& name : names) index.GetEntries()[name];
  const unsigned headerSize = index.GetHeaderSize();
  // Placeholder directory of the final size; rewritten once the sizes are known.
  if (index.Write(&pack) != VN_OK) return PackBuildFailed(packPath, u"short write of the directory", {});

  unsigned long long offset = headerSize;
  for (auto& [name, entry] : index.GetEntries()) {
    base::FileStream source;
    if (source.GetHandle().Open(root + name, file::FileHandleWin32::kRead, file::FileHandleWin32::kOpenExisting) !=
        VN_OK) {
      return PackBuildFailed(packPath, u"cannot open", root + name);
    }
    const unsigned size = source.GetSize();
    if (offset + size > kPackBuilderStreamWhole) return PackBuildFailed(packPath, u"pack over 4 GiB at", name);
    const unsigned copied = size == 0 ? 0 : pack.CopyFrom(&source, kPackBuilderStreamWhole);
    if (copied != size) return PackBuildFailed(packPath, u"short copy of", root + name);
    entry.size = size;
    entry.offset = static_cast<unsigned>(offset);
    offset += size;
  }
  if (pack.Seek(0, 0) != 0 || index.Write(&pack) != VN_OK) {
    return PackBuildFailed(packPath, u"short write of the directory", {});
  }
  written = static_cast<unsigned>(index.GetEntries().size());
  return VN_OK;
}

}  // namespace

VNResultEnum PackBuilder::BuildPack(const std::u16string& folder, const std::u16string& packPath) {
  file::FileManager* files = file::FileManager::Instance();
  const std::u16string root = base::NormalizeDirPath(folder);
  const std::u16string temporary = packPath + u".part";

  // The disk itself, not a pack mounted over the folder.
  std::vector<std::u16string> listed;
  files->FileManagerWin32::DoListFiles(root, root, u"", true, listed, true);
  std::vector<std::u16string> names;
  for (const std::u16string& name : listed) {
    // With an empty prefix the pack and its temporary file lie in the folder itself.
    if (root + name != packPath && root + name != temporary) names.push_back(name);
  }

  base::FileStream pack;
  if (pack.GetHandle().Open(temporary, file::FileHandleWin32::kWrite, file::FileHandleWin32::kCreateAlways) != VN_OK) {
    return PackBuildFailed(packPath, u"cannot create", temporary);
  }
  unsigned entries = 0;
  VNResultEnum result = WritePackContents(root, names, packPath, pack, entries);
  if (result == VN_OK && pack.GetHandle().Flush() != VN_OK) result = PackBuildFailed(packPath, u"cannot flush", temporary);
  const VNResultEnum closed = pack.GetHandle().Close();
  if (result == VN_OK && closed != VN_OK) result = PackBuildFailed(packPath, u"cannot close", temporary);
  if (result == VN_OK && files->ReplaceFile(temporary, packPath) != VN_OK) {
    result = PackBuildFailed(packPath, u"cannot rename", temporary);
  }
  if (result != VN_OK) {
    files->DeleteFile(temporary);
    return result;
  }
  base::LogPlain(u"Pack %s built from %s: %u files\n") % packPath % root % entries;
  return VN_OK;
}

VNResultEnum PackBuilder::BuildMountedPacks() {
  // A copy: building never changes the table, but a caller's hook might.
  const file::FileManager::MountTable mounts = file::FileManager::Instance()->GetMountTable();
  for (const auto& [prefix, packPath] : mounts) {
    const VNResultEnum result = BuildPack(prefix, packPath);
    if (result != VN_OK) return result;
  }
  return VN_OK;
}

}  // namespace gui
