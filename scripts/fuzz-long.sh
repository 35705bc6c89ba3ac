#!/usr/bin/env bash
# Long fuzzing by hand: scripts/fuzz-long.sh [seconds per target, default 3600] [target names...]
# Each target grows its own corpus in build/fuzz/long/<name>/, starting from the committed one, with
# one worker per core; crash inputs land in build/fuzz/artifacts/. To keep the new inputs that
# reach new code, merge them into the committed corpus:
#   build/fuzz/tools/fuzz/fuzz_<name> -merge=1 tools/fuzz/corpus/<name> build/fuzz/long/fuzz_<name>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-3600}
shift || true
"$root/scripts/build.sh" fuzz

out="$root/build/fuzz"
mkdir -p "$out/artifacts"
shopt -s nullglob
if [ $# -gt 0 ]; then
  targets=()
  for name in "$@"; do targets+=("$out/tools/fuzz/fuzz_${name#fuzz_}"); done
else
  targets=("$out"/tools/fuzz/fuzz_*)
fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  [ -x "$target" ] || { echo "no fuzz target $name" >&2; exit 2; }
  corpus="$root/tools/fuzz/corpus/${name#fuzz_}"
  work="$out/long/$name"
  mkdir -p "$work"
  seeds=("$work")
  [ -d "$corpus" ] && seeds+=("$corpus")
  echo "=== $name: $seconds s, corpus $work"
  (cd "$work/.." && "$target" -rss_limit_mb=2048 -timeout=25 -max_total_time="$seconds" \
    -fork="$(nproc)" -ignore_crashes=1 "-artifact_prefix=$out/artifacts/$name-" "${seeds[@]}")
done
echo "crash inputs, if any: $out/artifacts"
