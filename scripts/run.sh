#!/usr/bin/env bash
# Sets up, builds and starts Tickmoor. The build leaves the tests out, so
# nothing only they use is needed; a folder the test command configured is
# reused as it is, and only the program is built in it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
if grep -qx 'BUILD_TESTING:BOOL=ON' "$root/build/CMakeCache.txt" 2>/dev/null; then
  bash "$root/scripts/build.sh" build --target Tickmoor
else
  bash "$root/scripts/build.sh" build --target Tickmoor -DBUILD_TESTING=OFF
fi
exec "$root/build/Tickmoor.app/Contents/MacOS/Tickmoor"
