#!/usr/bin/env bash
# Whole-program start-up checks: startup.sh <quellmark2> <data root> <case>
# Each case runs the real program without a virtual X server: the offscreen video driver, or no
# display at all.
set -u
program=$1
data=$2
# Everything of a run stays in one folder, removed at the end: the working folder, the captured
# output, the user data and the runtime folder (lock files).
root=$(mktemp -d)
running=
cleanup() {
  [ -n "$running" ] && kill -9 "$running" 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
work=$root/work
runtime=$root/runtime
mkdir "$work" "$runtime"
chmod 700 "$runtime"
log=$work/.local/share/Ninebrook/Quellmark2/log.html

fail() {
  echo "FAILED: $*"
  for f in "$root"/*.err; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done
  exit 1
}
# A clean environment: no display, no SDL driver unless a case adds one. The program replaces env,
# so that a program started in the background is the process that cleanup ends.
quell=(env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$runtime" SDL_AUDIODRIVER=dummy)
offscreen=("${quell[@]}" SDL_VIDEODRIVER=offscreen)
# expect_failed_start <stderr file> <exit code> <text>...: a start that ends at once, non-zero,
# with one "cannot start" line that holds each text.
expect_failed_start() {
  local err=$1 code=$2
  shift 2
  [ "$code" -ne 0 ] || fail "exit code 0"
  [ "$code" -ne 124 ] || fail "still running after the time limit"
  grep -q "^quellmark2: cannot start: " "$err" || fail "no 'cannot start' line"
  for text in "$@"; do
    grep -F -q -- "$text" "$err" || fail "'$text' missing from the message"
  done
}
# A data root made of links to the sample data, with a copy of the program in it (the program
# folder is the default data root).
linked_root() {
  mkdir "$1"
  for entry in "$data"/*; do ln -s "$entry" "$1/"; done
  cp "$program" "$1/quellmark2"
}
# wait_for <file> <text>: up to ten seconds. The log file is written through a buffer; standard
# error (QUELLMARK_DEBUG_OUTPUT) has each entry at once.
wait_for() {
  for _ in $(seq 200); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

case $3 in
  no-user-folder)
    # No HOME and no XDG_DATA_HOME: exit 0, one line on standard error, no file anywhere.
    (cd "$work" && env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" "$program" 2>"$root/run.err")
    code=$?
    [ "$code" -eq 0 ] || fail "exit code $code"
    [ -z "$(ls -A "$work")" ] || fail "files were created"
    [ "$(wc -l <"$root/run.err")" -eq 1 ] || fail "expected one line on stderr"
    grep -q "user data" "$root/run.err" || fail "no word of the user data"
    ;;
  usage)
    # "--data_path" without its folder or with more: a start that fails before the window.
    for arguments in "--data_path" "--data_path $data --help"; do
      # shellcheck disable=SC2086
      "${offscreen[@]}" timeout 10 "$program" $arguments 2>"$root/run.err"
      expect_failed_start "$root/run.err" $? "--data_path <folder>"
    done
    ;;
  no-display)
    # Neither a display nor a chosen video driver: no window can be made, so the program says what
    # it needs instead of running invisibly.
    "${quell[@]}" timeout 10 "$program" --data_path "$data" 2>"$root/run.err"
    expect_failed_start "$root/run.err" $? "display" "SDL_VIDEODRIVER=offscreen"
    ;;
  no-data)
    # The program folder without data (the default root), and an empty folder given by --data_path.
    mkdir "$root/bare" "$root/empty"
    cp "$program" "$root/bare/quellmark2"
    "${offscreen[@]}" timeout 10 "$root/bare/quellmark2" 2>"$root/bare.err"
    expect_failed_start "$root/bare.err" $? "'$root/bare/'" "--data_path"
    "${offscreen[@]}" timeout 10 "$program" --data_path "$root/empty" 2>"$root/empty.err"
    expect_failed_start "$root/empty.err" $? "'$root/empty'" "--data_path"
    grep -q "Cannot start: the data root" "$log" || fail "the log does not say why"
    ;;
  unknown-argument)
    # Named on standard error with the known ones; the game starts from the program folder anyway.
    linked_root "$root/game"
    "${offscreen[@]}" QUELLMARK_DEBUG_OUTPUT=1 "$root/game/quellmark2" --help --fulscreen >/dev/null 2>"$root/run.err" &
    running=$!
    wait_for "$root/run.err" "^Started" || fail "no start in the log"
    grep -F -q "unknown arguments '--help' '--fulscreen'" "$root/run.err" || fail "the arguments are not named"
    grep -F -q -- "--data_path <folder>" "$root/run.err" || fail "the known arguments are not listed"
    kill -0 "$running" || fail "the game ended"
    ;;
  second-start)
    # The second start restores the first window, says so and ends with 0; the first runs on.
    "${offscreen[@]}" QUELLMARK_DEBUG_OUTPUT=1 "$program" --data_path "$data" >/dev/null 2>"$root/first.err" &
    running=$!
    wait_for "$root/first.err" "^Started" || fail "the first start did not start"
    "${offscreen[@]}" timeout 20 "$program" --data_path "$data" 2>"$root/second.err" || fail "second start exit code $?"
    grep -F -q "already running; brought its window to the front" "$root/second.err" || fail "no word of the first"
    kill -0 "$running" || fail "the first ended"
    ;;
  damaged-dialog-animation)
    # A start-up step that fails on a damaged file ends the program with a message and the log's
    # word instead of a window that never shows anything.
    cp -r "$data" "$root/data"
    anim=$root/data/data/dialog_show.anim
    for damage in missing empty cut; do
      cp "$data/data/dialog_show.anim" "$anim"
      case $damage in
        missing) rm "$anim" ;;
        empty) : >"$anim" ;;
        cut) head -c "$(($(stat -c %s "$anim") / 2))" "$data/data/dialog_show.anim" >"$anim" ;;
      esac
      "${offscreen[@]}" timeout 20 "$program" --data_path "$root/data" 2>"$root/$damage.err"
      expect_failed_start "$root/$damage.err" $? "log.html"
      grep -q "dialog_show.anim" "$log" || fail "$damage: the log does not name the file"
      grep -q "Cannot start" "$log" || fail "$damage: the log does not say the start failed"
      rm -f "$root/$damage.err"
    done
    ;;
  *) echo "unknown case $3"; exit 2 ;;
esac
