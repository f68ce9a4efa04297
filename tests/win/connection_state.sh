#!/bin/sh
# Runs connection_state_test.exe inside a network namespace of its own.
# Windows' "is there a connection" answer under Wine comes from the network of
# the wineserver's session, so the namespace gets a wineserver of its own: a
# copy of the test prefix is used, whose server starts inside the namespace.
# First only loopback is up (offline); then a veth pair with an address and a
# default route is added (online). Nothing leaves the namespace.
# Usage: connection_state.sh <connection_state_test.exe>
# Exit 77 (skipped) when this machine allows no network namespace with a veth pair.
set -u
test_exe=$1
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  echo "connection_state.sh: WINEPREFIX is unset or missing; run the tests with tools/test.sh" >&2
  exit 2
fi
if ! unshare -n sh -c 'ip link add probe0 type veth peer name probe1' >/dev/null 2>&1; then
  echo "connection_state.sh: no network namespace with a veth pair here; skipped"
  exit 77
fi

work=$(mktemp -d)
cleanup() {
  WINEPREFIX="$work/prefix" "$WINESERVER" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
cp -a "$WINEPREFIX" "$work/prefix" || exit 1

WINEPREFIX="$work/prefix" unshare -n sh -s "$WINE" "$WINESERVER" "$test_exe" <<'NAMESPACE'
wine=$1 wineserver=$2 test_exe=$3
ip link set lo up || exit 1
"$wine" "$test_exe" --gtest_filter=ConnectionState.Offline* || exit 1
ip link add pavrelin0 type veth peer name pavrelin1 &&
  ip addr add 10.254.0.2/24 dev pavrelin0 &&
  ip link set pavrelin0 up && ip link set pavrelin1 up &&
  ip route add default via 10.254.0.1 || exit 1
"$wine" "$test_exe" --gtest_filter=ConnectionState.Online*
rc=$?
"$wineserver" -k 2>/dev/null
exit $rc
NAMESPACE
