#!/usr/bin/env bash
# Installs what is missing for building and running Tickmoor and, with
# --tests, what the test suite needs as well. Run as root on Debian 12.
#
# It installs only what is missing and never removes or replaces a package
# (install_missing.sh).
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

hint=""
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
  hint="Only the sound tests need a sound server: a private one of their own, from
pulseaudio, or from pipewire, pipewire-pulse and wireplumber."
fi

exec bash "$(dirname "$0")/install_missing.sh" --hint "$hint" "${packages[@]}"
