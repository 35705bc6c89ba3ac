#!/usr/bin/env bash
# The real program on a virtual X server: framework_e2e.sh <quellmark2> <data root>
# It opens a 1366x768 window, Alt+Enter switches to full screen and back, a second start restores
# the first window without touching its log, closing ends with 0 and closes the log, and "--pack"
# run from a copy of the data root writes the pack of "ruv/" in the documented layout.
set -u
program=$1
data=$2

if [ "${3:-}" != "--inside" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
  command -v xdotool >/dev/null || { echo "xdotool is not installed: skipped"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$program" "$data" --inside
fi

# The log file is written through a buffer: the debugger output shows each entry at once.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy QUELLMARK_DEBUG_OUTPUT=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0
work=$(mktemp -d)
export HOME=$work XDG_DATA_HOME=$work/share XDG_RUNTIME_DIR=$work
log=$work/share/Ninebrook/Quellmark2/log.html
# The game opens in the window mode of its profile, with its localised caption.
mkdir -p "$work/share/Ninebrook/Quellmark2"
printf '<Profiles currentProfile="P"><Profile name="P"><fs v="0"/></Profile></Profiles>' \
  >"$work/share/Ninebrook/Quellmark2/profiles.xml"
caption=$(sed -n 's/^game_caption;\(.*\)\r\{0,1\}$/\1/p' "$data/ruv/strings_en.csv" | head -n 1)
first_pid=
cleanup() {
  [ -n "$first_pid" ] && kill -9 "$first_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  cat "$work/first.err" 2>/dev/null
  exit 1
}
geometry() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
wait_geometry() {
  for _ in $(seq 100); do
    [ "$(geometry "$1")" = "$2" ] && return 0
    sleep 0.05
  done
  fail "window geometry $(geometry "$1"), expected $2"
}

"$program" --data_path "$data" >"$work/first.out" 2>"$work/first.err" &
first_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$caption\$" | head -n 1)
[ -n "$window" ] || fail "no window"
wait_geometry "$window" 1366x768

timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
xdotool key --clearmodifiers alt+Return
wait_geometry "$window" 1920x1080
xdotool key --clearmodifiers alt+Return
wait_geometry "$window" 1366x768
for _ in $(seq 100); do
  grep -q "SwitchWindowMode(true)" "$work/first.err" && break
  sleep 0.05
done
grep -q "SwitchWindowMode(true)" "$work/first.err" || fail "no switch back in the log"

# A second start restores the hidden first window, says so and exits with 0; the log is not cut.
before=$(stat -c %s "$log")
timeout 10 xdotool windowunmap --sync "$window" || fail "cannot hide the window"
timeout 20 "$program" --data_path "$data" >/dev/null 2>"$work/second.err" || fail "second start exit code $?"
grep -q "already running; brought its window to the front" "$work/second.err" || fail "the second start did not say so"
timeout 10 xdotool search --sync --onlyvisible --name "^$caption\$" >/dev/null || fail "first window not restored"
[ "$(stat -c %s "$log")" -ge "$before" ] || fail "the second start cut the log"

kill -TERM "$first_pid"
wait "$first_pid"
code=$?
first_pid=
[ "$code" -eq 0 ] || fail "exit code $code"
tail -c 20 "$log" | grep -q "</html>" || fail "the log has no closing line"

# "--pack" from a copy of the executable inside a copy of the data root.
cp -r "$data" "$work/root"
cp "$program" "$work/root/quellmark2"
(cd "$work/root" && exec ./quellmark2 --pack x >/dev/null 2>"$work/pack.err") &
first_pid=$!
for _ in $(seq 200); do
  grep -q "Pack data.dat built" "$work/pack.err" 2>/dev/null && break
  sleep 0.05
done
kill -TERM "$first_pid"
wait "$first_pid"
first_pid=
[ -f "$work/root/data.dat" ] || fail "no data.dat"
python3 - "$work/root/ruv" "$work/root/data.dat" <<'PY' || fail "data.dat is not the pack of ruv/"
import os, struct, sys
folder, pack = sys.argv[1], sys.argv[2]
files = {}
for base, _, names in os.walk(folder):
    for name in names:
        path = os.path.join(base, name)
        files[os.path.relpath(path, folder).replace(os.sep, '/')] = open(path, 'rb').read()
# Ascending UTF-16 code units; an entry is its unit count, the units, size, offset, flag and extra.
names = sorted(files, key=lambda n: n.encode('utf-16-be'))
header = 14 + sum(len(n.encode('utf-16-le')) + 17 for n in names)
out, offset, bodies = struct.pack('<I', 6) + b'vnpack' + struct.pack('<I', len(names)), header, b''
for n in names:
    units = n.encode('utf-16-le')
    out += struct.pack('<I', len(units) // 2) + units + struct.pack('<IIBI', len(files[n]), offset, 0, 0)
    offset += len(files[n])
    bodies += files[n]
sys.exit(0 if open(pack, 'rb').read() == out + bodies else 1)
PY
echo "framework end to end: ok"
