#!/usr/bin/env bash
# The game on a virtual X server: game_e2e.sh <quellmark2> <data root>
# On a copy of the data root: a first start (no profile) opens full screen with the "game_caption"
# text as its caption and shows the first logo; a click skips to the second; Alt+Enter switches to
# a window and stores it in the profile; closing writes a version-4 profile; the next start opens
# windowed. No text key was missing (the strings file gains no "???" line).
set -u
program=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

if [ "${3:-}" != "--inside" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
  command -v xdotool >/dev/null || { echo "xdotool is not installed: skipped"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$program" "$data" --inside
fi

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0
work=$(mktemp -d)
export HOME=$work XDG_DATA_HOME=$work/share XDG_RUNTIME_DIR=$work
profiles=$work/share/Ninebrook/Quellmark2/profiles.xml
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  cat "$work/game.err" 2>/dev/null | tail -n 20
  exit 1
}

cp -r "$data" "$work/data"
strings=$work/data/ruv/strings_en.csv
cp "$strings" "$work/strings_before.csv"
caption=$(sed -n 's/^game_caption;\(.*\)\r\{0,1\}$/\1/p' "$strings" | head -n 1)
[ -n "$caption" ] || fail "no game_caption in the strings file"

geometry() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
wait_geometry() {
  for _ in $(seq 100); do
    [ "$(geometry "$1")" = "$2" ] && return 0
    sleep 0.05
  done
  fail "window geometry $(geometry "$1"), expected $2"
}
start() {
  (cd "$work" && exec "$program" --data_path "$work/data" >"$work/game.out" 2>"$work/game.err") &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$caption\$" | head -n 1)
  [ -n "$window" ] || fail "no window named '$caption'"
}
stop() {
  kill -TERM "$pid"
  wait "$pid"
  local code=$?
  pid=
  [ "$code" -eq 0 ] || fail "exit code $code"
}
stored_fs() { grep -o '<fs v="[^"]*"' "$profiles" | head -n 1; }

# First start: no profile, so full screen; the logos come first and a click skips the first one.
# The watcher (the first logo's blue, the second one's grey) is ready first: the logos run on real
# time.
python3 "$here/logo_click.py" 90,120,160 150,150,165 "$work/watcher.ready" &
watcher=$!
for _ in $(seq 600); do
  [ -f "$work/watcher.ready" ] && break
  sleep 0.05
done
[ -f "$work/watcher.ready" ] || fail "the logo watcher did not start"
start
wait_geometry "$window" 1920x1080
wait "$watcher" || fail "logo screens"

timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
xdotool key --clearmodifiers alt+Return
wait_geometry "$window" 1366x768
for _ in $(seq 100); do
  [ "$(stored_fs)" = '<fs v="0"' ] && break
  sleep 0.05
done
[ "$(stored_fs)" = '<fs v="0"' ] || fail "the window mode was not stored: $(stored_fs)"
stop
grep -q '<Profile [^>]*version="4"' "$profiles" || fail "the profile has no version 4: $(cat "$profiles")"
[ "$(stored_fs)" = '<fs v="0"' ] || fail "closing lost the window mode"

# Second start: the profile asks for a window.
start
wait_geometry "$window" 1366x768
stop

grep -q '???' "$strings" && fail "a text key was missing: $(grep '???' "$strings")"
cmp -s "$strings" "$work/strings_before.csv" || fail "the strings file changed"
echo "game end to end: ok"
