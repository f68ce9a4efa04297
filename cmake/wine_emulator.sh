#!/bin/sh
# CTest runs every Windows test program through this script. The display, the
# Wine prefix and the locale come from tools/test.sh, which starts and stops them.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine_emulator.sh: WINEPREFIX and DISPLAY are unset; run the tests with tools/test.sh" >&2
  exit 2
fi
exec /usr/lib/wine/wine64 "$@"
