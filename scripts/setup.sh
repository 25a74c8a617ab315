#!/usr/bin/env bash
# Installs what is missing for building and running Tickmoor and, with
# --tests, what the test suite needs as well. Run as root on Debian 12.
#
# It installs only what is missing and never removes or replaces a package:
# apt is first asked what the install would do (apt-get -s), and if that
# would remove anything nothing is installed and the script stops.
set -euo pipefail

tests=false
for arg in "$@"; do
  case "$arg" in
    --tests) tests=true ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
  esac
done

# Building and running. The program's sound needs only the PulseAudio client
# library, which Qt's multimedia module brings; no sound server. libcups's
# headers are for asking the printing system the way Qt's print dialog does.
packages=(
  cmake ninja-build g++
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6printsupport6 libcups2-dev
  fonts-liberation2 fonts-dejavu
)

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

if $tests; then
  # clang and its runtime for the sanitizer build; parec and pactl to record
  # the tests' own audio server.
  packages+=(googletest libgtest-dev poppler-utils clang libclang-rt-14-dev pulseaudio-utils)

  # The sound tests start a private server of whichever kind is installed,
  # so one is added only where no PulseAudio-compatible server is installed
  # at all: on a PipeWire desktop, installing pulseaudio would make apt
  # remove pipewire-alsa and pipewire-audio.
  if installed pulseaudio; then
    :
  elif installed pipewire-pulse; then
    # The tests' PipeWire needs a session manager to link its streams.
    packages+=(wireplumber)
  elif installed pipewire; then
    # PipeWire is there already (desktops bring it for screen sharing): its
    # PulseAudio service joins it, where a PulseAudio daemon would be a
    # second server wanting the same sound card.
    packages+=(pipewire-pulse wireplumber)
  else
    # Nothing of either: the PulseAudio daemon alone is the smaller install
    # and needs no session manager.
    packages+=(pulseaudio)
  fi
fi

missing=()
for p in "${packages[@]}"; do
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
  cat >&2 <<EOF
setup: installing ${missing[*]} would make apt remove: $removed
Nothing was installed or removed: this script never removes a package.
To go on, install what is missing yourself in a way that keeps them
(apt-get -s install with fewer packages shows which one asks for the
removal), or remove them yourself if you mean to, then run this again.
EOF
  if $tests; then
    cat >&2 <<EOF
Only the sound tests need a sound server: a private one of their own, from
pulseaudio, or from pipewire, pipewire-pulse and wireplumber.
EOF
  fi
  exit 1
fi
apt-get install "${options[@]}" "${missing[@]}"
