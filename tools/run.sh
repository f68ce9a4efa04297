#!/usr/bin/env bash
# Builds the win64 program and starts it under Wine: on your display when
# DISPLAY is set, otherwise on a private Xvfb whose screen is saved under build/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
pavrelin_without_aslr "$@"
trap pavrelin_cleanup EXIT
cd "$PAVRELIN_ROOT"

pavrelin_ensure_packages
pavrelin_ensure_locale
pavrelin_configure_and_build win64

program=build/win64/bin/Pavrelin.exe
if [ ! -e "$program" ]; then
  echo "Pavrelin.exe is not part of the build yet; the built programs are in build/win64/bin." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  pavrelin_start_xvfb
  PAVRELIN_HEADLESS=1
fi
pavrelin_make_prefix
run_dir="$WINEPREFIX/drive_c/Pavrelin"
mkdir -p "$run_dir"
cp "$program" "$run_dir/"
if [ -n "${PAVRELIN_HEADLESS:-}" ]; then
  "$WINE" 'C:\Pavrelin\Pavrelin.exe' &
  app=$!
  tools/screenshots.sh build/screens
  echo "Screenshots of the running program: $PAVRELIN_ROOT/build/screens" >&2
  kill "$app" 2>/dev/null || true
else
  "$WINE" 'C:\Pavrelin\Pavrelin.exe'
fi
