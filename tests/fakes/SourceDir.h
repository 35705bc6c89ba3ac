#pragma once
// The repository's folder, for tests that read committed files (QM_SOURCE_DIR). It is defined in a
// source the build writes, so that the compiler cache serves every other source to clones in other
// folders.
namespace fakes {
const char* SourceDir();
}  // namespace fakes
