#!/usr/bin/env bash
# Sets up, builds and starts the game. Extra arguments go to the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release
exec "$root/build/release/quellmark2" --data_path "$root/data" "$@"
