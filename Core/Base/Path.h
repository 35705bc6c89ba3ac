#pragma once
// Path splitters and normalisers. Engine paths use '/' between folders; '\' is accepted wherever a
// separator is looked for. A folder path that is to be extended ends in '/'.
#include <string>

#include "Core/Base/Result.h"

namespace base {

// Every '\' replaced by '/'.
std::u16string NormalizePath(const std::u16string& path);
// '\' -> '/', trailing '/' removed, one '/' appended; empty for an empty or all-separator path.
std::u16string NormalizeDirPath(const std::u16string& path);
// Without the trailing run of '/' and '\'.
std::u16string RemoveTrailingSlashes(const std::u16string& path);
// Up to and including the last separator; empty when there is none.
std::u16string GetDirPath(const std::u16string& path);
// The folder part after a drive ("D:/a/b.txt" -> "/a/"); empty for a drive-relative path ("D:x/y").
std::u16string GetDirPathNoDrive(const std::u16string& path);
// After the last separator (the whole path when there is none).
std::u16string GetFileName(const std::u16string& path);
// The file name without its extension; a name whose only '.' is its first character stays whole.
std::u16string GetFileNameNoExt(const std::u16string& path);
// From the last '.' of the file name to the end, the '.' included; empty when the name has none.
std::u16string GetExtension(const std::u16string& path);
// Creates the folder and every missing parent on the disk, from the top down. 1 when one cannot be
// created; the folders made before that stay.
VNResultEnum CreateDirectories(const std::u16string& path);

}  // namespace base
