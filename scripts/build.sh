#!/usr/bin/env bash
# Configures and builds one variant: scripts/build.sh [release|asan|fuzz|tsan] [cmake --build arguments...]
#   release  optimised, no debug information (the game, tests, benchmarks and tools)
#   asan     AddressSanitizer and UndefinedBehaviorSanitizer at -O1 with line tables (tests only)
#   fuzz     the libFuzzer targets, clang, same sanitizers
#   tsan     ThreadSanitizer, only the thread tests (tests/Threads, tests/Sound)
# Unity (jumbo) builds are on; QM_UNITY=0 turns them off, e.g. to edit one file at a time.
# ccache is used when installed, with its own cache folder (or the caller's CCACHE_DIR), never one
# inside the work tree; the build is the same without it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variant=${1:-release}
shift || true
dir="$root/build/$variant"

args=(-G Ninja -S "$root" -B "$dir")
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  # Hits across clones in different folders, and for sources built with a precompiled header.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}
fi
# Measured on two cores (release, cold): unity halves the build against one file at a time, and
# batches of 16 sources are a little faster than 8 while still keeping both cores busy.
if [ "${QM_UNITY:-1}" != 0 ]; then
  args+=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE="${QM_UNITY_BATCH:-16}")
else
  args+=(-DCMAKE_UNITY_BUILD=OFF)
fi

case "$variant" in
  release)
    args+=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG") ;;
  asan)
    # Line tables are enough for the sanitizers' reports; -O1 keeps their checks and halves the time.
    args+=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1"
      -DQM_SANITIZE=ON -DQM_TOOLS=OFF) ;;
  fuzz)
    args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
      "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
      -DQM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  tsan)
    args+=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" -DQM_TSAN=ON) ;;
  *) echo "unknown build variant: $variant" >&2; exit 2 ;;
esac

cmake "${args[@]}" >/dev/null
cmake --build "$dir" "$@"
