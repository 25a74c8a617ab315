#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" --tests
bash "$root/scripts/build.sh" build
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
