#!/usr/bin/env bash
# Sets up, builds and starts Tickmoor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
exec "$root/build/Tickmoor.app/Contents/MacOS/Tickmoor"
