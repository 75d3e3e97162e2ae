# Shared steps of the scripts: installing what is missing, building,
# and preparing Wine prefixes. Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
# MORVIDO_BUILD_DIR lets several builds of one tree live side by side.
WINBUILD="${MORVIDO_BUILD_DIR:-$BUILD/win}"

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are missing, once.
ensure_packages() {
  local wanted=(cmake make g++-mingw-w64-x86-64 wine wine64 xvfb xauth fonts-ipafont-gothic locales)
  wanted+=("$@")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Without the glibc locale Wine mangles Japanese command-line text.
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}

build_windows() {
  cmake -S "$ROOT" -B "$WINBUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$WINBUILD" -j"$(nproc)"
}

# Makes a Wine prefix at $1 with the Japanese font replacements, unless it
# already holds one.
init_prefix() {
  local prefix="$1"
  if [ ! -f "$prefix/system.reg" ]; then
    echo "creating Wine prefix $prefix"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
  fi
  local reg="$BUILD/fonts.reg"
  mkdir -p "$BUILD"
  # regedit reads a .reg with Japanese names only as UTF-16 with a BOM.
  printf '\xff\xfe' >"$reg"
  iconv -f UTF-8 -t UTF-16LE >>"$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"Tahoma"="IPAPGothic"
REG
  WINEPREFIX="$prefix" wine regedit /S "$(winepath_of "$prefix" "$reg")" >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
}

# Test windows live in a Wine virtual desktop: closing a top-level window
# of its own on a bare X server makes Wine wait two seconds for a window
# manager that is not there.
use_virtual_desktop() {
  local prefix="$1"
  WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
}

winepath_of() {
  WINEPREFIX="$1" winepath -w "$2" 2>/dev/null
}

# Runs a command with a display: the current one, or a private Xvfb.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}
