#pragma once
// The allocator setting of the game's own entry, for every benchmark program.
#include <malloc.h>

namespace bench {

// Keeps glibc from returning freed memory to the kernel after every frame (Mesa faults it in again).
inline void KeepFreedMemory() { mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024); }

}  // namespace bench
