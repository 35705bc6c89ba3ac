#!/usr/bin/env bash
# Sets up, builds and runs every test: a normal build and a sanitizer build, then the fuzz corpora.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# Headless drivers for every test that touches SDL.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export CCACHE_DIR=${CCACHE_DIR:-$root/build/ccache}
jobs=$(nproc)

for variant in release asan; do
  echo "=== $variant build"
  "$root/scripts/build.sh" "$variant"
  (cd "$root/build/$variant" && ctest --output-on-failure -j "$jobs")
done

"$root/scripts/fuzz.sh"
