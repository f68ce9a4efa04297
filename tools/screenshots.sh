#!/usr/bin/env bash
# Photographs a starting Pavrelin under the current DISPLAY and Wine prefix:
# the start-up notice, the main window, and the help prompt in both faces.
# Usage: tools/screenshots.sh OUTDIR   (Pavrelin must be starting already)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
out=${1:?output directory}
mkdir -p "$out"
driver="$PAVRELIN_ROOT/build/win64/bin/window_driver.exe"

drive() { "$WINE" "$driver" "$@" 2>/dev/null | tr -d '\r'; }

# Crops the screen to the window with this title; waits for it first.
shoot() {
  local title=$1 file=$2 geometry
  geometry=$(drive wait "$title") || { echo "no window \"$title\"" >&2; return 1; }
  read -r x y w h <<<"$geometry"
  sleep 0.5  # let the window and its animation paint before the picture
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$file"
  echo "$out/$file" >&2
}

shoot "温馨提示：" notice.png
drive press "温馨提示：" 1
shoot "Pavrelin--Beta 4" main.png
drive click "Pavrelin--Beta 4" "使用说明"
shoot "使用说明：" help-asking.png
drive click "使用说明：" "确定"
shoot "使用说明：" help-loading.png
drive close "使用说明："
