#!/bin/sh
# CTest runs every Windows test program through this script. The display, the
# Wine prefix and the locale come from tools/test.sh, which starts and stops them.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine_emulator.sh: WINEPREFIX and DISPLAY are unset; run the tests with tools/test.sh" >&2
  exit 2
fi
# Without address-space randomisation where the machine allows it: with it,
# Wine now and then fails to start a new process (see tools/lib.sh).
if setarch "$(uname -m)" -R true 2>/dev/null; then
  exec setarch "$(uname -m)" -R /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine64 "$@"
