#!/usr/bin/env bash
# Bakes the game's six fonts into data/ruv/data/fonts/: tools/fontbaker/bake_fonts.sh <fontbaker binary>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
baker=${1:-"$root/build/release/tools/fontbaker/fontbaker"}
dejavu=/usr/share/fonts/truetype/dejavu
out="$root/data/ruv/data/fonts"
mkdir -p "$out"
rm -f "$out"/main_*.fnt "$out"/main_*.png
# The names are the game's; the pixel sizes fit the design's 1024 x 768 screen layouts (the layout
# test measures every text in its place with these fonts).
"$baker" "$dejavu/DejaVuSans.ttf" 20 "$out" main_32_1
"$baker" "$dejavu/DejaVuSans-Bold.ttf" 20 "$out" main_32_2
"$baker" "$dejavu/DejaVuSans.ttf" 24 "$out" main_42_1
"$baker" "$dejavu/DejaVuSans-Bold.ttf" 24 "$out" main_42_2
"$baker" "$dejavu/DejaVuSansCondensed-Bold.ttf" 24 "$out" main_42_3
"$baker" "$dejavu/DejaVuSans-Bold.ttf" 40 "$out" main_80
