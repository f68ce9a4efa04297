#!/usr/bin/env bash
# Builds the win64 and win32 presets and prints what Pavrelin costs beside
# minimal_app, the smallest Win32 program that shows the same at start:
# start-up times, working set, CPU, memory over help prompt cycles, the delay
# from a click to netsh, and the size of the 32-bit release program.
# Arguments go to the driver: --runs N (7), --cycles N (200),
# --rest-seconds N (10), --animation-seconds N (10).
#
# The programs run on a private Xvfb and a fresh Wine prefix, and, where the
# machine allows it, in a network namespace of their own: the loopback portal
# on port 18470 then never meets another test run's server.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
pavrelin_without_aslr "$@"
trap pavrelin_cleanup EXIT
cd "$PAVRELIN_ROOT"

bench_dir="$PAVRELIN_ROOT/build/bench"
release_exe=build/win32/bin/Pavrelin.exe
max_release_kb=400

# Inside the namespace: loopback, plus a link with a default route so that
# Windows' connected state is "online" (nothing answers beyond it).
bench_network() {
  ip link set lo up
  if ! { ip link add pavrelin0 type veth peer name pavrelin1 &&
    ip addr add 10.231.0.1/24 dev pavrelin0 && ip link set pavrelin0 up &&
    ip link set pavrelin1 up && ip route add default via 10.231.0.2 dev pavrelin0; }; then
    pavrelin_log "no link beside loopback: the program will see itself offline"
  fi
}

bench_run_driver() {
  pavrelin_make_prefix
  pavrelin_log "running the benchmark"
  "$WINE" build/win64/bin/bench_driver.exe "$@" | iconv -f GBK -t UTF-8
}

if [ -n "${PAVRELIN_BENCH_INSIDE:-}" ]; then
  bench_network
  bench_run_driver "$@"
  exit
fi

pavrelin_ensure_packages
pavrelin_ensure_locale
pavrelin_configure_and_build win64 win32

# The minimal program as a release build too, for the size beside Pavrelin's.
mkdir -p "$bench_dir"
i686-w64-mingw32-g++-posix -std=c++20 -Os -s -static -mwindows -ffunction-sections \
  -fdata-sections -Wl,--gc-sections -finput-charset=UTF-8 -fexec-charset=GBK \
  tests/bench/minimal_app.cpp -o "$bench_dir/minimal_app32.exe"

pavrelin_start_xvfb
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
if [ "$(id -u)" -eq 0 ] && unshare -n true 2>/dev/null; then
  PAVRELIN_BENCH_INSIDE=1 unshare -n "$PAVRELIN_ROOT/tools/benchmark.sh" "$@" || status=$?
else
  pavrelin_log "no private network namespace: the portal shares port 18470 with the machine"
  bench_run_driver "$@" || status=$?
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

size_kb() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }
echo
echo "Release build (win32 preset: i686, MinSizeRel, stripped)"
echo "  minimal_app.exe: $(size_kb "$bench_dir/minimal_app32.exe") KB (same flags)"
if [ -e "$release_exe" ]; then
  kb=$(size_kb "$release_exe")
  verdict=met
  [ "$kb" -lt "$max_release_kb" ] || verdict=MISSED
  echo "  Pavrelin.exe:    $kb KB   goal: < $max_release_kb KB   $verdict"
else
  echo "  Pavrelin.exe:    not built yet"
fi
[ "$status" -eq 0 ] || pavrelin_log "the driver ended with status $status"
exit "$status"
