#!/usr/bin/env bash
# The application window on a virtual X server: window_e2e.sh <window_probe>
# Typing (Latin and Cyrillic) and clicking reach the input listener in order, a release outside the window still
# arrives, a second instance restores the first and exits with 0, and a close request (SIGTERM,
# which SDL turns into a quit event) ends the first with 0.
set -u
probe=$1

if [ "${2:-}" != "--inside" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$probe" --inside
fi

export SDL_VIDEODRIVER=x11
# Mesa and the X libraries keep memory until exit; the unit tests check our own leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0
work=$(mktemp -d)
export HOME=$work XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
title="Window probe $$"
first_pid=
cleanup() {
  [ -n "$first_pid" ] && kill -9 "$first_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  echo "--- first instance output:"; cat "$work/first.out" 2>/dev/null
  echo "--- first instance errors:"; cat "$work/first.err" 2>/dev/null
  exit 1
}

# Sends the first instance a close request (SIGTERM, which SDL turns into a quit event) and
# expects it to end with 0 after a normal end of its run loop; $1 names it in failures.
close_first() {
  kill -TERM "$first_pid"
  for _ in $(seq 100); do
    kill -0 "$first_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$first_pid" 2>/dev/null && fail "$1 still runs after the close request"
  wait "$first_pid"
  local code=$?
  first_pid=
  [ "$code" -eq 0 ] || fail "$1 exit code $code"
  tail -n 1 "$work/first.out" | grep -qx exit || fail "the run loop of the $1 did not end normally"
}

# Waits until the first instance has printed a line matching $1.
wait_for_line() {
  for _ in $(seq 300); do
    grep -qx -- "$1" "$work/first.out" && return 0
    sleep 0.05
  done
  fail "no line '$1'"
}

"$probe" "$title" >"$work/first.out" 2>"$work/first.err" &
first_pid=$!
wait_for_line created
window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
[ -n "$window" ] || fail "no visible window named '$title'"
timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
# SDL takes the keyboard focus a little after the X server gives it: type until keys arrive.
for _ in $(seq 50); do
  xdotool key x
  sleep 0.2
  grep -qx "char 120" "$work/first.out" && break
done
wait_for_line "keyup 120"

# Typing: key downs, characters and key ups in order. On a Russian layout the ';' key types zhe
# (engine key 59 by its position, character U+0436); Return is engine key 271.
xdotool type --delay 40 "ab"
setxkbmap ru && sleep 0.2
xdotool key Cyrillic_zhe
setxkbmap us && sleep 0.2
xdotool key Return
wait_for_line "keyup 271"

# Clicking at client (200, 100), a double click and the wheel there, then a drag released outside
# the window (client origin (100, 50)).
xdotool mousemove --sync --window "$window" 200 100
xdotool click 1
wait_for_line "up 1 200,100"
sleep 0.6  # the next press is no double click of this one
xdotool click --repeat 2 --delay 80 1
xdotool click 4
xdotool click 5
xdotool mousemove --sync --window "$window" 300 150
xdotool mousedown 1
xdotool mousemove --sync --window "$window" 320 160
xdotool mousemove --sync 1200 700
xdotool mouseup 1
wait_for_line "up 1 1100,650"

expected="keydown 97
char 97
keyup 97
keydown 98
char 98
keyup 98
keydown 59
char 1078
keyup 59
keydown 271
char 13
keyup 271
down 1 200,100
up 1 200,100
down 1 200,100
up 1 200,100
double 1 200,100
up 1 200,100
wheel 120 200,100
wheel -120 200,100
down 1 300,150
drag 320,160
up 1 1100,650"
actual=$(grep -E "^(keydown|keyup|char|down|up|double|wheel|drag) " "$work/first.out" |
  grep -vx -e "drag 1100,650" -e "keydown 120" -e "char 120" -e "keyup 120")
[ "$actual" = "$expected" ] || fail "events out of order; expected:
$expected"
grep -qx "leave 1100,650" "$work/first.out" || wait_for_line "leave 1100,650"

# A second instance restores the first window (hidden here) and exits with 0 without a window.
timeout 10 xdotool windowunmap --sync "$window" || fail "cannot hide the window"
timeout 20 "$probe" "$title" >"$work/second.out" 2>"$work/second.err"
code=$?
[ "$code" -eq 0 ] || fail "second instance exit code $code: $(cat "$work/second.err")"
grep -qx created "$work/second.out" && fail "the second instance made a window"
timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" >/dev/null || fail "the first window was not restored"
[ "$(xdotool search --name "^$title\$" | wc -l)" -eq 1 ] || fail "more than one window"

# A close request ends the first instance with 0.
close_first "first instance"

# With a renderer drawing on the window: closing destroys the window (and its GL context) before
# the renderer and everything it made, and the process still ends with 0.
"$probe" "$title render" --render >"$work/first.out" 2>"$work/first.err" &
first_pid=$!
wait_for_line rendering
close_first "rendering instance"
echo "window end-to-end: ok"
