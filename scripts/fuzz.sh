#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each briefly over its committed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" fuzz
shopt -s nullglob
for target in "$root"/build/fuzz/tools/fuzz/fuzz_*; do
  name=$(basename "$target")
  corpus="$root/tools/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "=== $name"
  "$target" -max_total_time=20 -rss_limit_mb=1024 "$work"
  rm -rf "$work"
done
