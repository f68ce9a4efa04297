# Shared by tools/run.sh and tools/test.sh: the machine's packages, the
# Chinese locale, a private X display and a private Wine prefix.
# Everything started here is stopped by PID in pavrelin_cleanup.

PAVRELIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

PAVRELIN_PACKAGES=(
  cmake ninja-build g++ googletest clang clang-format libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei locales
  python3 python3-pil iproute2 util-linux
)

pavrelin_log() { printf '==> %s\n' "$*" >&2; }

# Wine now and then fails to start a new process: the new process finds its
# shared user data's address taken by what address-space randomisation put
# there, and CreateProcess fails with ERROR_INTERNAL_ERROR (here about one
# start in 1,500, enough to break a long test run now and then). With
# randomisation off, which every process started from the script inherits, it
# did not happen in 6,000 starts. Runs the calling script again that way where
# the machine allows it; call it first, with the script's arguments.
pavrelin_without_aslr() {
  [ -n "${PAVRELIN_ASLR_OFF:-}" ] && return 0
  local arch
  arch=$(uname -m)
  setarch "$arch" -R true 2>/dev/null || return 0
  export PAVRELIN_ASLR_OFF=1
  exec setarch "$arch" -R bash "$0" "$@"
}

pavrelin_ensure_packages() {
  local missing=() package
  for package in "${PAVRELIN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run this, then try again:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  pavrelin_log "installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

pavrelin_ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The zh_CN.UTF-8 locale is missing: enable it in /etc/locale.gen and run locale-gen." >&2
    exit 1
  fi
  pavrelin_log "generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
}

# Starts Xvfb on the first free display and exports DISPLAY.
pavrelin_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  PAVRELIN_XVFB_PID=$!
  local tries=0
  until [ -e "/tmp/.X11-unix/X${n}" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$PAVRELIN_XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start on :${n}" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":${n}"
  pavrelin_log "Xvfb on $DISPLAY (pid $PAVRELIN_XVFB_PID)"
}

pavrelin_wine_env() {
  export WINEPREFIX="$PAVRELIN_ROOT/build/wineprefix"
  export WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEARCH=win64
  # No Mono installer prompt.
  export WINEDLLOVERRIDES="mscoree="
}

# The TrueType fonts of Debian's fonts-wine (Marlett draws the caption
# buttons); its bitmap .fon fonts would turn Chinese into boxes, so not those.
pavrelin_wine_fonts() {
  local cache="$PAVRELIN_ROOT/build/cache"
  mkdir -p "$cache"
  if ! ls "$cache"/fonts/usr/share/wine/fonts/marlett.ttf >/dev/null 2>&1; then
    (cd "$cache" && rm -f fonts-wine_*.deb && apt-get download fonts-wine >/dev/null 2>&1 &&
      dpkg -x fonts-wine_*.deb fonts) || { pavrelin_log "fonts-wine unavailable; caption buttons may lack glyphs"; return 0; }
  fi
  cp "$cache"/fonts/usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# A fresh prefix for every run keeps runs independent.
pavrelin_make_prefix() {
  pavrelin_wine_env
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  pavrelin_log "creating the Wine prefix $WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w
  "$WINESERVER" -p 2>/dev/null &
  PAVRELIN_WINESERVER_STARTED=1
  pavrelin_wine_fonts
  local reg="$PAVRELIN_ROOT/build/prefix.reg"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  "$WINE" regedit /S 'Z:'"$(echo "$reg" | tr / '\\')" >/dev/null 2>&1
}

pavrelin_cleanup() {
  if [ -n "${PAVRELIN_WINESERVER_STARTED:-}" ]; then
    "$WINESERVER" -k 2>/dev/null || true
  fi
  if [ -n "${PAVRELIN_XVFB_PID:-}" ]; then
    kill "$PAVRELIN_XVFB_PID" 2>/dev/null || true
    wait "$PAVRELIN_XVFB_PID" 2>/dev/null || true
  fi
}

pavrelin_configure_and_build() {
  local preset
  for preset in "$@"; do
    pavrelin_log "building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
  done
}
