#!/usr/bin/env bash
# Installs what the build, the program and the tests need, if it is missing.
# Run as root on Debian 12.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6printsupport6
  googletest libgtest-dev
  fonts-liberation2 fonts-dejavu
  poppler-utils
  pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
