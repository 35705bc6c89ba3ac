#!/usr/bin/env bash
# Configures and builds one variant: scripts/build.sh [release|asan|fuzz]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variant=${1:-release}
dir="$root/build/$variant"

args=(-G Ninja -S "$root" -B "$dir" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
case "$variant" in
  release) args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)    args+=(-DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON) ;;
  fuzz)    args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "unknown build variant: $variant" >&2; exit 2 ;;
esac

cmake "${args[@]}" >/dev/null
cmake --build "$dir"
