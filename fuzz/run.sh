#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time; fails on a crash,
# a sanitizer report, a leak, a time-out or running out of memory.
# Usage: fuzz/run.sh <build-dir> <seconds-per-target>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/${1:-build-asan}
seconds=${2:-60}
for target in "$build"/fuzz/fuzz_*; do
  [[ -x "$target" ]] || continue
  name=$(basename "$target")
  corpus=$root/fuzz/corpus/${name#fuzz_}
  work=$build/fuzz-work/$name
  artifacts=$build/fuzz-artifacts/$name/
  mkdir -p "$work" "$artifacts"
  echo "-- $name for ${seconds}s"
  # New inputs go to the scratch folder named first, not to the seeds.
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts" "$work" "$corpus"
done
