#!/usr/bin/env bash
# Proves the README's two commands on a fresh Debian 12: a minbase root made
# by mmdebstrap, a clean copy of this checkout in it, and then, in that root,
#   bash scripts/run.sh    must show the Welcome window on a virtual display
#                          and end with status 0 on Ctrl+Q;
#   bash scripts/test.sh   must pass, without building the program's library
#                          again,
# and a second setup and build of both must find nothing to do. With
# --test-first the two commands run the other way round.
# Run as root. It installs on this machine what it needs itself (mmdebstrap,
# Xvfb, xdotool) where missing, and never removes a package. Each command
# runs in a mount and PID namespace of its own, so nothing stays mounted or
# running after it. Where Debian's archive cannot be reached it says so in
# one line and exits 0; any other failure exits non-zero.
#
# The minbase tarball is kept in $TICKMOOR_FRESH_ROOT_CACHE (default
# /var/cache/tickmoor-fresh-root) and made again once a week.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${TICKMOOR_FRESH_ROOT_CACHE:-/var/cache/tickmoor-fresh-root}
logs=$repo/build-fresh-root
window_limit=${TICKMOOR_FRESH_ROOT_WINDOW_LIMIT:-900}  # s from run.sh to the window
suite=bookworm
begin=$SECONDS

test_first=false
case "${1:-}" in
  "") ;;
  --test-first) test_first=true ;;
  *) echo "usage: $0 [--test-first]" >&2; exit 2 ;;
esac

say() { echo "fresh-root: $*"; }
fail() { echo "fresh-root: FAILED: $*" >&2; exit 1; }
elapsed() { echo $((SECONDS - $1)); }

[[ $(id -u) == 0 ]] || fail "needs root (it makes a root file system and chroots into it)"
mkdir -p "$logs"

# The archive first: without it neither the root nor the setup inside can be
# had. The first release file the host's apt would fetch is asked for.
uri=$(apt-get update --print-uris -q 2>/dev/null | awk -F"'" '/InRelease/ { print $2; exit }')
if [[ -z "$uri" ]] || ! timeout 60 /usr/lib/apt/apt-helper -q download-file "$uri" "$logs/probe.InRelease" >/dev/null 2>&1; then
  say "skipped: Debian's package archive cannot be reached from this machine"
  exit 0
fi
rm -f "$logs/probe.InRelease"

bash "$repo/scripts/install_missing.sh" mmdebstrap xvfb xdotool

work="" xvfb_pid="" ns_pid=""
cleanup() {
  [[ -z "$ns_pid" ]] || kill -KILL "$ns_pid" 2>/dev/null || true
  [[ -z "$xvfb_pid" ]] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  # The root's mounts lived only in the namespaces, which are gone with
  # their processes; the folder holds plain files again.
  [[ -z "$work" ]] || rm -rf --one-file-system "$work"
}
trap cleanup EXIT

# A minbase root, from the cache while it is less than a week old.
tarball=$cache/$suite-minbase.tar
mkdir -p "$cache"
if [[ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]]; then
  say "making a $suite minbase root with mmdebstrap"
  mmdebstrap --variant=minbase --format=tar --quiet "$suite" "$tarball.partial" >"$logs/mmdebstrap.log" 2>&1 ||
    { tail -20 "$logs/mmdebstrap.log" >&2; fail "mmdebstrap could not make the root"; }
  mv "$tarball.partial" "$tarball"
fi

work=$(mktemp -d /var/tmp/tickmoor-fresh-root.XXXXXX)
root=$work/root
mkdir "$root"
tar -xf "$tarball" -C "$root"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

# A clean copy of the checkout: what git tracks or would track, as it is in
# the working tree, without any build folder.
mkdir -p "$root/root/tickmoor"
(cd "$repo" && git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [[ -e "$f" ]] && printf '%s\0' "$f"; done |
  tar --null -T - -cf -) | tar -xf - -C "$root/root/tickmoor"

# A virtual display of its own; its socket is bound into the root.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$logs/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -S /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done
[[ -S /tmp/.X11-unix/X$display ]] || fail "Xvfb did not start (see $logs/xvfb.log)"
export DISPLAY=:$display

# Runs a command in the root, in the background, in new mount and PID
# namespaces: /proc, /dev and the X socket are mounted there only, and
# everything it starts ends with it. Sets ns_pid.
in_root() {
  local log=$1 command=$2
  unshare --mount --pid --fork --kill-child --propagation private bash -c '
    set -e
    root=$1
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      DISPLAY="$2" bash -c "cd /root/tickmoor && $3"
  ' in-root "$root" "$DISPLAY" "$command" >"$log" 2>&1 &
  ns_pid=$!
}

# Waits up to LIMIT seconds for the namespace's command to end; sets status
# (124 when it had to be ended).
finish() {
  local limit=$1 begun=$SECONDS
  while kill -0 "$ns_pid" 2>/dev/null && (($(elapsed "$begun") < limit)); do sleep 0.2; done
  kill -0 "$ns_pid" 2>/dev/null && kill -KILL "$ns_pid" 2>/dev/null
  status=0
  wait "$ns_pid" || status=$?
  ns_pid=""
  if ((status == 137)); then status=124; fi
}

show_log() { echo "--- last lines of $1" >&2; tail -40 "$1" >&2; }

# run.sh: the Welcome window must come, and Ctrl+Q must end it with status 0.
# Sets to_window.
check_run() {
  local start=$SECONDS window=""
  say "bash scripts/run.sh"
  in_root "$logs/run.log" "bash scripts/run.sh"
  while [[ -z "$window" ]]; do
    window=$(xdotool search --onlyvisible --name '^Welcome!$' 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && break
    if ! kill -0 "$ns_pid" 2>/dev/null; then
      finish 0
      show_log "$logs/run.log"
      fail "run.sh ended with status $status before the Welcome window came"
    fi
    if (($(elapsed "$start") > window_limit)); then
      show_log "$logs/run.log"
      fail "no Welcome window within ${window_limit}s of run.sh"
    fi
    sleep 1
  done
  to_window=$(elapsed "$start")
  say "the Welcome window came ${to_window}s after run.sh started"
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers ctrl+q
  finish 30
  ((status == 0)) || { show_log "$logs/run.log"; fail "run.sh ended with status $status on Ctrl+Q (124: not within 30 s)"; }
}

# test.sh: the whole suite must pass. Sets test_time.
check_test() {
  local start=$SECONDS
  say "bash scripts/test.sh"
  in_root "$logs/test.log" "bash scripts/test.sh"
  finish 1800
  test_time=$(elapsed "$start")
  ((status == 0)) || { show_log "$logs/test.log"; fail "test.sh ended with status $status (124: not within 30 min)"; }
  grep -E '^[0-9]+% tests passed' "$logs/test.log" | sed 's/^/fresh-root: /'
  say "test.sh passed in ${test_time}s"
}

# What the second command builds of the program's library must be nothing:
# the first one built it already.
check_reused() {
  if grep -q 'Building CXX object src/' "$logs/$1.log"; then
    fail "$1.sh built the program's library again instead of reusing what the first command built"
  fi
}

if $test_first; then
  check_test
  check_run
  check_reused run
else
  check_run
  check_test
  check_reused test
fi

# Run again, neither redoes work that is up to date.
in_root "$logs/again.log" "bash scripts/setup.sh --tests && bash scripts/build.sh build -DBUILD_TESTING=ON && bash scripts/setup.sh && bash scripts/build.sh build --target Tickmoor"
finish 600
((status == 0)) || { show_log "$logs/again.log"; fail "a second setup and build failed"; }
if grep -qE '^Installing:|^-- Configuring' "$logs/again.log" || [[ $(grep -c 'ninja: no work to do' "$logs/again.log") != 2 ]]; then
  show_log "$logs/again.log"
  fail "a second setup and build did work that was up to date"
fi
say "passed in $(elapsed "$begin")s: the Welcome window ${to_window}s after run.sh, test.sh ${test_time}s"
