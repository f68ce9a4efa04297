#!/usr/bin/env bash
# Installs what is missing, builds the host, win64 and win32 presets and runs
# every test: host tests natively, the Windows tests under Wine on a private
# display and prefix that are stopped again at the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
pavrelin_without_aslr "$@"
trap pavrelin_cleanup EXIT
cd "$PAVRELIN_ROOT"

pavrelin_ensure_packages
pavrelin_ensure_locale
pavrelin_configure_and_build host win64 win32

pavrelin_log "checking formatting"
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

pavrelin_log "checking that the Windows programs import only Windows DLLs"
tools/check_imports.sh build/win64/bin build/win32/bin

pavrelin_log "host tests"
ctest --preset host -j2

pavrelin_log "fuzzing the pure functions"
tools/fuzz.sh

pavrelin_start_xvfb
pavrelin_make_prefix
pavrelin_log "Windows tests under Wine"
ctest --preset win64
