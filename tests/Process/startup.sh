#!/usr/bin/env bash
# Whole-program start-up checks: quellmark2 <path> <case>
set -u
program=$1
# Everything of a run stays in one folder, removed at the end: the working folder, the captured
# output and the runtime folder (lock files).
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
work=$root/work
runtime=$root/runtime
mkdir "$work" "$runtime"
chmod 700 "$runtime"

case $2 in
  no-user-folder)
    # No HOME and no XDG_DATA_HOME: exit 0, one line on standard error, no file anywhere.
    (cd "$work" && env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" "$program" 2>"$root/err")
    code=$?
    [ "$code" -eq 0 ] || { echo "exit code $code"; exit 1; }
    [ -z "$(ls -A "$work")" ] || { echo "files were created"; exit 1; }
    [ "$(wc -l <"$root/err")" -eq 1 ] || { echo "expected one line on stderr:"; cat "$root/err"; exit 1; }
    grep -q "user data" "$root/err" || { cat "$root/err"; exit 1; }
    ;;
  no-window)
    # With a user folder but no window (a start that fails before the window: "--data_path" without
    # its folder) the run loop ends on its first tick.
    env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$runtime" timeout 10 "$program" --data_path ||
      { echo "exit code $?"; exit 1; }
    ;;
  *) echo "unknown case $2"; exit 2 ;;
esac
