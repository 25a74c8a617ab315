#!/usr/bin/env bash
# Installs those of the given Debian packages that are missing, as root.
#   install_missing.sh [--hint TEXT] PACKAGE...
# It never removes or replaces a package: apt is first asked what the
# install would do (apt-get -s), and if that would remove anything, nothing
# is installed, the packages are named (with TEXT after them) and it fails.
set -euo pipefail

hint=""
if [[ "${1:-}" == --hint ]]; then
  hint=$2
  shift 2
fi

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

missing=()
for p in "$@"; do
  installed "$p" || missing+=("$p")
done
((${#missing[@]})) || exit 0

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q

options=(-y -q --no-install-recommends)
if ! plan=$(apt-get -s install "${options[@]}" "${missing[@]}" 2>&1); then
  echo "$plan" >&2
  echo "setup: apt cannot install ${missing[*]} as things are; nothing was installed." >&2
  exit 1
fi
removed=$(awk '$1 == "Remv" { printf "%s%s", sep, $2; sep = " " }' <<<"$plan")
if [[ -n "$removed" ]]; then
  cat >&2 <<EOT
setup: installing ${missing[*]} would make apt remove: $removed
Nothing was installed or removed: this script never removes a package.
To go on, install what is missing yourself in a way that keeps them
(apt-get -s install with fewer packages shows which one asks for the
removal), or remove them yourself if you mean to, then run this again.
EOT
  [[ -z "$hint" ]] || echo "$hint" >&2
  exit 1
fi
apt-get install "${options[@]}" "${missing[@]}"
