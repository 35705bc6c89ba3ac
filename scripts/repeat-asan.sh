#!/usr/bin/env bash
# Runs the sanitizer stage's test programs again and again, to show that the stage does not flake:
#   scripts/repeat-asan.sh [runs] [cores] [program name pattern]
# Each program of build/asan (built before, e.g. scripts/build.sh asan) runs <runs> times (20) in a
# row, shuffled as in scripts/test.sh, pinned to <cores> (0,1: the two cores the budget is measured
# on); a pattern (grep -E on the program name, e.g. 'fonts|render') runs only those. Two programs run
# at once, as the stage does on two cores. A failed run keeps its output in
# build/asan/repeat/<cores>/, so runs on other cores can go on side by side. Not part of scripts/test.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20}
cores=${2:-0,1}
pattern=${3:-.}
dir="$root/build/asan"
logs="$dir/repeat/$cores"
[ -s "$dir/test_programs.txt" ] || { echo "no sanitizer build in $dir: scripts/build.sh asan" >&2; exit 2; }

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$root/tests/lsan_driver.supp"
rm -rf "$logs"
mkdir -p "$logs"

# repeat <program>: <runs> shuffled runs; prints one line with the number of failed runs.
repeat() {
  local program=$1 name run failed=0
  name=$(basename "$program")
  for ((run = 1; run <= runs; run++)); do
    if ! (cd "$dir/tests" && taskset -c "$cores" timeout 900 "$program" --gtest_shuffle \
        >"$logs/$name.$run.log" 2>&1); then
      failed=$((failed + 1))
      continue
    fi
    rm "$logs/$name.$run.log"
  done
  echo "$name: $failed of $runs runs failed"
  [ "$failed" = 0 ] || touch "$logs/$name.failed"
}

mapfile -t programs < <(grep -E "/[^/]*($pattern)[^/]*\$" "$dir/test_programs.txt")
[ "${#programs[@]}" -gt 0 ] || { echo "no test program matches '$pattern'" >&2; exit 2; }
start=$SECONDS
for program in "${programs[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  repeat "$program" &
done
wait
echo "${#programs[@]} programs, $runs runs each, on cores $cores: $((SECONDS - start)) s"
if compgen -G "$logs/*.failed" >/dev/null; then
  echo "FAILED: outputs in $logs"
  exit 1
fi
echo "no failure"
