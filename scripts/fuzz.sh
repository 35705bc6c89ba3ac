#!/usr/bin/env bash
# CI fuzzing: builds the libFuzzer targets (clang) and, for each target, replays every input of its
# committed corpus once, then fuzzes it for a short seeded time. Undefined behaviour, leaks and
# crashes are fatal; crash inputs are kept in build/fuzz/artifacts/. Long runs: scripts/fuzz-long.sh.
#   QM_FUZZ_SECONDS  seconds of fuzzing per target (default 10)
#   QM_FUZZ_SEED     seed of those runs (default 1; a failure names it so the run can be repeated)
#   QM_FUZZ_BUILD=0  skip the build (the test script builds in a stage of its own)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${QM_FUZZ_SECONDS:-10}
seed=${QM_FUZZ_SEED:-1}
[ "${QM_FUZZ_BUILD:-1}" = 0 ] || "$root/scripts/build.sh" fuzz

out="$root/build/fuzz"
artifacts="$out/artifacts"
logs="$out/logs"
mkdir -p "$artifacts" "$logs"
rm -f "$logs"/*.status
shopt -s nullglob
targets=("$out"/tools/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $out/tools/fuzz" >&2; exit 1; }

# One target: the committed corpus replayed as it stands, then new inputs into a scratch folder
# inside the build folder (the committed corpus is never written).
fuzz_one() {
  local target=$1 name corpus work
  name=$(basename "$target")
  corpus="$root/tools/fuzz/corpus/${name#fuzz_}"
  work="$out/work/$name"
  rm -rf "$work"
  mkdir -p "$work"
  local common=(-rss_limit_mb=1024 -timeout=25 "-artifact_prefix=$artifacts/$name-") seeds=("$work")
  if [ -d "$corpus" ]; then
    echo "--- $name: replaying $(find "$corpus" -type f | wc -l) committed inputs"
    "$target" "${common[@]}" -runs=0 "$corpus" || return 1
    seeds+=("$corpus")
  else
    echo "--- $name: no committed corpus in tools/fuzz/corpus/${name#fuzz_}"
  fi
  echo "--- $name: fuzzing ${seconds} s with seed $seed"
  "$target" "${common[@]}" -seed="$seed" -max_total_time="$seconds" "${seeds[@]}" || {
    echo "--- $name: repeat with QM_FUZZ_SEED=$seed scripts/fuzz.sh"
    return 1
  }
}

# Targets run side by side, one per core; each one's output is shown in one piece.
jobs=$(nproc)
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  name=$(basename "$target")
  (if fuzz_one "$target"; then echo ok >"$logs/$name.status"; fi) >"$logs/$name.log" 2>&1 &
done
wait
failed=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  if [ "$(cat "$logs/$name.status" 2>/dev/null)" = ok ]; then
    echo "=== $name"
    grep -E '^---|^#[0-9]+ +(INITED|DONE)|^Done ' "$logs/$name.log" || true
  else
    echo "=== $name FAILED (whole output: $logs/$name.log)"
    grep -E '^---' "$logs/$name.log" || true
    tail -n 80 "$logs/$name.log"
    failed=1
  fi
done
[ "$failed" = 0 ] || { echo "crash inputs are kept in $artifacts" >&2; exit 1; }
