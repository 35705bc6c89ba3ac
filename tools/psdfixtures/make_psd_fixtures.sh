#!/usr/bin/env bash
# Writes the layered-document fixtures of tests/data/psd with Debian's ImageMagick 6 and, beside
# each document, what ImageMagick itself decodes from it: one RGBA dump per image (index 0 the merged
# image, then the layers bottom first) and a line per image in manifest.txt:
#   file index width height x y tolerance
# Run once by hand (apt-get install imagemagick); the tests read only the committed results.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/tests/data/psd"
convert=${IM_CONVERT:-/usr/bin/convert-im6.q16}
identify=${IM_IDENTIFY:-/usr/bin/identify-im6.q16}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$out"
rm -f "$out"/*.psd "$out"/*.rgba "$out/manifest.txt"

# Sources: an opaque backdrop, a gradient with varying alpha, a half-transparent patch.
"$convert" -size 8x6 gradient:yellow-navy "$work/back.png"
"$convert" -size 7x5 gradient:red-blue -alpha set -channel A -fx "0.25+0.75*i/w" +channel "$work/fade.png"
"$convert" -size 3x4 xc:"rgba(10,200,30,0.5)" -page +4+1 "$work/patch.png"

# name, colour options, compression, depth, tolerance (16-bit and converted colours round apart)
make() {
  local name=$1 colour=$2 compression=$3 depth=$4 tolerance=$5
  # shellcheck disable=SC2086
  "$convert" "$work/back.png" "$work/fade.png" "$work/patch.png" $colour -depth "$depth" \
    -compress "$compression" "$out/$name.psd"
  local count
  count=$("$identify" "$out/$name.psd" | wc -l)
  for ((i = 0; i < count; ++i)); do
    "$convert" "$out/$name.psd[$i]" -colorspace sRGB -depth 8 "rgba:$out/$name.$i.rgba"
    "$identify" -format "$name.psd $i %w %h %X %Y $tolerance\n" "$out/$name.psd[$i]" >> "$out/manifest.txt"
  done
}

make rgb8_raw "-type TrueColorAlpha" None 8 0
make rgb8_rle "-type TrueColorAlpha" RLE 8 0
make rgb8_zip "-type TrueColorAlpha" Zip 8 0
make rgb16_rle "-type TrueColorAlpha" RLE 16 1
make rgb16_zip "-type TrueColorAlpha" Zip 16 1
make grey8_rle "-colorspace Gray -type GrayscaleAlpha" RLE 8 1
make grey16_zip "-colorspace Gray -type GrayscaleAlpha" Zip 16 1
make cmyk8_rle "-colorspace CMYK" RLE 8 3
make cmyk16_raw "-colorspace CMYK" None 16 3
