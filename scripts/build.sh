#!/usr/bin/env bash
# Configures (once) and builds into the given folder; further arguments go
# to CMake's configure step.
set -euo pipefail
dir=${1:-build}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
if [[ ! -f "$root/$dir/build.ninja" ]]; then
  cmake -S "$root" -B "$root/$dir" -G Ninja "$@"
fi
cmake --build "$root/$dir" -j"$(nproc)"
