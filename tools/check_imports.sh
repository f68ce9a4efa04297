#!/usr/bin/env bash
# Every DLL an .exe imports must be one of Windows' own (Wine ships each of
# them), never a MinGW runtime that a user's machine would not have.
set -euo pipefail
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
status=0 count=0
for directory in "$@"; do
  for exe in "$directory"/*.exe; do
    [ -e "$exe" ] || continue
    count=$((count + 1))
    while read -r dll; do
      if [ ! -e "$windows_dlls/${dll,,}" ]; then
        echo "$exe imports $dll, which is not a Windows DLL" >&2
        status=1
      fi
    done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  done
done
echo "import check: $count programs" >&2
[ "$count" -gt 0 ] || { echo "no programs found" >&2; exit 1; }
exit $status
