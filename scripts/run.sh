#!/usr/bin/env bash
# Sets up, builds the game (only its own target: tests, benchmarks and tools are left to
# scripts/test.sh) and starts it on the sample data. Extra arguments go to the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release --target quellmark2
exec "$root/build/release/quellmark2" --data_path "$root/data" "$@"
