#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite through CTest. A folder the
# run command configured is turned over to the test build; what both build
# (the program, its library and the bundle) is not built again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" --tests
bash "$root/scripts/build.sh" build -DBUILD_TESTING=ON
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
