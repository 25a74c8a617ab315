#!/usr/bin/env bash
# Checks what setup.sh would install on different machines, with dpkg-query
# and apt-get faked on PATH: no package is looked at or touched, and it runs
# as any user. CTest runs it.
set -euo pipefail
setup="$(cd "$(dirname "$0")" && pwd)/setup.sh"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
mkdir "$fake/bin"

# Installed: the packages listed in $fake/installed.
cat >"$fake/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
if grep -qxF -- "${!#}" "$FAKE/installed"; then printf 'install ok installed'; exit 0; fi
echo "dpkg-query: no packages found matching ${!#}" >&2
exit 1
EOF
# Every call is logged; a simulation lists each package as installed and
# each one in $fake/removes as removed, and fails if $fake/unsolvable exists.
cat >"$fake/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "$*" >>"$FAKE/calls"
[[ "$1" == -s ]] || exit 0
if [[ -e "$FAKE/unsolvable" ]]; then
  echo "E: Unable to correct problems, you have held broken packages."
  exit 100
fi
for arg in "${@:3}"; do [[ "$arg" == -* ]] || echo "Inst $arg (1.0 Debian:12.0/stable [amd64])"; done
while read -r p; do echo "Remv $p [1.0]"; done <"$FAKE/removes"
EOF
chmod +x "$fake/bin/dpkg-query" "$fake/bin/apt-get"

passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
    echo "  setup exited $status; apt-get calls:" >&2
    sed 's/^/    /' "$fake/calls" >&2
    sed 's/^/  | /' "$fake/out" >&2
  fi
}

# Runs setup.sh with the given installed packages (a space-separated list)
# and removals, and the given arguments; sets status and installs (what the
# real install, not the simulation, was asked for).
status=0 installs=""
run() {
  local have=$1 removes=$2
  shift 2
  tr ' ' '\n' <<<"$have" >"$fake/installed"
  tr ' ' '\n' <<<"$removes" | sed '/^$/d' >"$fake/removes"
  : >"$fake/calls"
  status=0
  FAKE=$fake PATH="$fake/bin:$PATH" bash "$setup" "$@" >"$fake/out" 2>&1 || status=$?
  installs=$(awk '$1 == "install" { for (i = 2; i <= NF; ++i) if ($i !~ /^-/) print $i }' "$fake/calls" | sort | tr '\n' ' ')
}
has() { [[ " $installs " == *" $1 "* ]]; }
lacks() { ! has "$1"; }
said() { grep -qF -- "$1" "$fake/out"; }
no_apt() { [[ ! -s "$fake/calls" ]]; }
no_install() { [[ -z "$installs" ]]; }
is() { [[ "$1" == "$2" ]]; }
servers=(pulseaudio pipewire pipewire-pulse wireplumber)

# What building and running needs, as a bare machine gets it.
run "" ""
build=$installs
check "run.sh's setup exits 0" is "$status" 0
check "run.sh's setup installs the compiler" has g++
check "run.sh's setup installs Qt's multimedia module" has qt6-multimedia-dev
check "run.sh's setup installs libcups's headers" has libcups2-dev
for p in "${servers[@]}" pulseaudio-utils googletest; do
  check "run.sh's setup leaves out $p" lacks "$p"
done

run "$build" ""
check "nothing missing: exits 0" is "$status" 0
check "nothing missing: apt is not run at all" no_apt

run "$build pulseaudio" "" --tests
check "tests: installs googletest" has googletest
check "tests: installs parec's package" has pulseaudio-utils
check "tests: installs clang's sanitizer runtime" has libclang-rt-14-dev
check "tests: installs only what is missing" lacks g++
for p in "${servers[@]}"; do
  check "tests with pulseaudio there: no $p" lacks "$p"
done

run "$build pipewire pipewire-pulse" "" --tests
check "tests with PipeWire's PulseAudio service: adds its session manager" has wireplumber
check "tests with PipeWire's PulseAudio service: no pulseaudio" lacks pulseaudio

run "$build pipewire pipewire-pulse wireplumber" "" --tests
check "tests on a PipeWire desktop: no pulseaudio" lacks pulseaudio

run "$build pipewire" "" --tests
check "tests with bare PipeWire: its PulseAudio service" has pipewire-pulse
check "tests with bare PipeWire: its session manager" has wireplumber
check "tests with bare PipeWire: no pulseaudio" lacks pulseaudio

run "$build" "" --tests
check "tests with no sound server: pulseaudio" has pulseaudio
check "tests with no sound server: no PipeWire" lacks pipewire-pulse

run "" "pipewire-alsa pipewire-audio" --tests
check "a removal: exits non-zero" is "$((status != 0))" 1
check "a removal: nothing installed" no_install
check "a removal: the packages apt would remove are named" said "would make apt remove: pipewire-alsa pipewire-audio"
check "a removal: says nothing was installed" said "Nothing was installed or removed"

: >"$fake/unsolvable"
run "" "" --tests
rm "$fake/unsolvable"
check "apt cannot solve it: exits non-zero" is "$((status != 0))" 1
check "apt cannot solve it: nothing installed" no_install
check "apt cannot solve it: apt's reason is shown" said "held broken packages"

run "" "" --bogus
check "an unknown argument: exits 2" is "$status" 2
check "an unknown argument: apt is not run" no_apt

echo "setup.sh: $passed passed, $failed failed"
((failed == 0))
