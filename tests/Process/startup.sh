#!/usr/bin/env bash
# Whole-program start-up checks: quellmark2 <path> <case>
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case $2 in
  no-user-folder)
    # No HOME and no XDG_DATA_HOME: exit 0, one line on standard error, no file anywhere.
    (cd "$work" && env -i PATH="$PATH" "$program" 2>"$work.err")
    code=$?
    [ "$code" -eq 0 ] || { echo "exit code $code"; exit 1; }
    [ -z "$(ls -A "$work")" ] || { echo "files were created"; exit 1; }
    [ "$(wc -l <"$work.err")" -eq 1 ] || { echo "expected one line on stderr:"; cat "$work.err"; exit 1; }
    grep -q "user data" "$work.err" || { cat "$work.err"; exit 1; }
    rm -f "$work.err"
    ;;
  no-window)
    # With a user folder but no window the run loop ends on its first tick.
    env -i PATH="$PATH" HOME="$work" timeout 10 "$program" || { echo "exit code $?"; exit 1; }
    ;;
  *) echo "unknown case $2"; exit 2 ;;
esac
