#!/usr/bin/env bash
# Configures and builds into a folder of the repository.
#   build.sh DIR [--target NAME]... [-DVAR=VALUE]...
# The folder is configured when it has no build yet, or when a -D setting
# given differs from the one it was configured with; otherwise the existing
# configuration is kept, so a second run only builds what is out of date.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/${1:-build}
shift || true

targets=() settings=()
while (($#)); do
  case "$1" in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) settings+=("$1"); shift ;;
  esac
done

# True when the cache already holds every -DVAR=VALUE (or -DVAR:TYPE=VALUE).
configured_as_asked() {
  [[ -f "$dir/build.ninja" && -f "$dir/CMakeCache.txt" ]] || return 1
  local s name value
  for s in "${settings[@]}"; do
    [[ "$s" == -D*=* ]] || return 1
    name=${s#-D}
    value=${name#*=}
    name=${name%%=*}
    name=${name%%:*}
    grep -qxE "${name}(:[A-Z]+)?=${value}" "$dir/CMakeCache.txt" || return 1
  done
}

if ! configured_as_asked; then
  cmake -S "$root" -B "$dir" -G Ninja "${settings[@]}"
fi
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
