#!/usr/bin/env bash
# Sets up, builds and runs every test: the optimised game with the end-to-end tests (journeys through
# the real program), an ASan/UBSan build (every unit test, each test program shuffled; the first
# start), the ThreadSanitizer build of the thread tests, and the fuzz targets (corpus replay and a
# short seeded run). Ends with the time of each stage, also when a stage fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Headless drivers for every test that touches SDL.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
# Leak checks excuse only the OpenGL driver's own modules (CTest sets the same for its runs; the
# game adds its own, built into it).
export LSAN_OPTIONS="suppressions=$root/tests/lsan_driver.supp"
jobs=$(nproc)
# The tests make and remove thousands of scratch files (a copy of the data per game test): in memory
# they cost a fraction of what a disk's file system takes.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ] && [ "$(df --output=avail -k /dev/shm | tail -1)" -gt 2000000 ]; then
  TMPDIR=$(mktemp -d /dev/shm/qm-tests.XXXXXX)
  export TMPDIR
  scratch=$TMPDIR
fi

stages=()
report() {
  local code=$?
  [ -z "${scratch:-}" ] || rm -rf "$scratch"
  echo
  echo "=== stage times (s), on $jobs cores: wall clock, and processor time of the stage's processes"
  local line
  for line in "${stages[@]}"; do echo "$line"; done
  local category wall cpu
  for category in setup build tests fuzz end-to-end; do
    wall=0 cpu=0
    for line in "${stages[@]}"; do
      [ "${line%% *}" = "$category" ] || continue
      wall=$((wall + $(awk '{print $(NF-1)}' <<<"$line")))
      cpu=$((cpu + $(awk '{print $NF}' <<<"$line")))
    done
    printf '%-10s %-24s %5d %5d\n' "$category" total "$wall" "$cpu"
  done
  printf '%-10s %-24s %5d %5d\n' all "" "$SECONDS" "$(children_cpu)"
  # Other work on the machine stretches the wall clock, not the processor time.
  echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
  [ "$code" = 0 ] || echo "FAILED (exit code $code)"
}
trap report EXIT

# Processor seconds (user and system) of this script's finished child processes.
children_cpu() {
  local fields
  read -r -a fields </proc/$$/stat
  echo $(((fields[15] + fields[16]) / $(getconf CLK_TCK)))
}

# stage <category> <name> <command...>: runs the command and records its times.
stage() {
  local category=$1 name=$2 start=$SECONDS cpu
  cpu=$(children_cpu)
  shift 2
  echo "=== $category: $name"
  local code=0
  "$@" || code=$?
  stages+=("$(printf '%-10s %-24s %5d %5d' "$category" "$name" $((SECONDS - start)) $(($(children_cpu) - cpu)))")
  return "$code"
}

# Each test program once more in one process, in shuffled order: no test may rely on another's
# state or leave some behind (gtest prints the seed for repeating an order).
shuffled() {
  local dir=$1 logs program name failed=0
  logs="$dir/shuffled"
  rm -rf "$logs"
  mkdir -p "$logs"
  while read -r program; do
    [ -n "$program" ] || continue
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    name=$(basename "$program")
    (cd "$dir/tests" && if timeout 900 "$program" --gtest_shuffle >"$logs/$name.log" 2>&1; then
      touch "$logs/$name.passed"; fi) &
  done <"$dir/test_programs.txt"
  wait
  while read -r program; do
    [ -n "$program" ] || continue
    name=$(basename "$program")
    if [ -e "$logs/$name.passed" ]; then
      echo "$name: $(grep -E 'PASSED|Randomizing' "$logs/$name.log" | tr -s ' \n' ' ')"
    else
      echo "$name FAILED:"
      grep -v '^\[ *\(RUN\|OK\) *\]' "$logs/$name.log"
      failed=1
    fi
  done <"$dir/test_programs.txt"
  return "$failed"
}

e2e_tests() { (cd "$root/build/$1" && ctest --output-on-failure --timeout 600 -j "$jobs" -L e2e); }

stage setup setup "$root/scripts/setup.sh"
stage setup "game floors" python3 "$root/scripts/check-game-floors.py"

# The optimised build serves the journeys: the unit tests run under the sanitizers below, which
# find more than an optimised run and cost as much as the rest of the stages to build twice.
stage build release "$root/scripts/build.sh" release --target quellmark2 window_probe
stage end-to-end release e2e_tests release

# Under the sanitizers every unit test runs once, in its program's shuffled run: a process per test
# (CTest's way) costs the sanitizers' start-up hundreds of times; a new order every run shows that
# no test relies on another's state.
stage build asan "$root/scripts/build.sh" asan
stage tests "asan shuffled" shuffled "$root/build/asan"
stage end-to-end asan e2e_tests asan

# ThreadSanitizer: the folders whose tests start threads, once they exist.
if [ -d "$root/tests/Threads" ] || [ -d "$root/tests/Sound" ]; then
  stage build tsan "$root/scripts/build.sh" tsan
  stage tests "tsan shuffled" shuffled "$root/build/tsan"
else
  echo "=== tests/Threads and tests/Sound do not exist yet: no ThreadSanitizer stage"
fi

stage build fuzz "$root/scripts/build.sh" fuzz
export QM_FUZZ_BUILD=0
stage fuzz fuzz "$root/scripts/fuzz.sh"
