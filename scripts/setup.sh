#!/usr/bin/env bash
# Installs everything a fresh Debian machine needs and prepares the Wine prefix
# inside the build tree. Idempotent: a second run changes nothing.
#   scripts/setup.sh            packages and the Wine prefix
#   scripts/setup.sh --prefix   the Wine prefix only
set -euo pipefail
source "$(dirname "$0")/env.sh"

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine fonts-wine xvfb x11-utils xdotool fonts-ipafont-gothic imagemagick fp-utils file
  nkf locales
)
# Wine for the build whose tests run (see env.sh): 32-bit Wine where the
# machine runs 32-bit code, else 64-bit Wine and the 64-bit cross compiler.
if [ "$VELKOR_WIN_ARCH" = i686 ]; then
  packages+=(wine32:i386)
else
  packages+=(wine64 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
fi

# Files the prefix is built from; a missing one stops the setup with its name
# (the caption buttons show "0 1 r" without marlett.ttf).
marlett=/usr/share/wine/fonts/marlett.ttf
required_files=("$marlett" /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf)

check_required_files() {
  local f missing=0
  for f in "${required_files[@]}"; do
    if [ ! -f "$f" ]; then echo "setup: ERROR: $f is missing (see the package list in $0)" >&2; missing=1; fi
  done
  return $missing
}

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if [ "$VELKOR_WIN_ARCH" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync fails one index now and then; what the
  # other indexes hold is usually enough, and the install below says if not.
  $sudo apt-get update -qq || { sleep 5; $sudo apt-get update -qq; } || echo "setup: apt-get update incomplete, going on"
  local apt=(env DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends --allow-downgrades)
  "${apt[@]}" "${missing[@]}" >/dev/null && return 0
  # When one architecture's update index could not be read, the two halves of
  # a multi-arch library (zlib1g and zlib1g:i386) have different candidates
  # and cannot be installed together. Pin each pair apt names to the version
  # the i386 side has, and try again until apt is content.
  # The simulation runs without -qq: quiet apt leaves out the list of unmet
  # dependencies that names the pairs.
  local simulate=(env DEBIAN_FRONTEND=noninteractive $sudo apt-get install -s -y --no-install-recommends --allow-downgrades)
  local pins=() round out libs lib version added
  for round in $(seq 1 20); do
    out=$("${simulate[@]}" "${missing[@]}" "${pins[@]}" 2>&1) && break
    libs=$(grep -oE '[a-z0-9.+-]+:i386 \(' <<<"$out" | sed 's/:i386 (//' | sort -u || true)
    added=0
    for lib in $libs; do
      version=$(apt-cache policy "$lib:i386" | awk '/Candidate:/{print $2}')
      [ -n "$version" ] && [ "$version" != "(none)" ] || continue
      [[ " ${pins[*]} " == *" $lib=$version "* ]] && continue
      pins+=("$lib=$version" "$lib:i386=$version"); added=1
    done
    [ $added -eq 1 ] || break
  done
  echo "setup: retrying with the multi-arch pairs pinned: ${pins[*]}"
  "${apt[@]}" "${missing[@]}" "${pins[@]}" >/dev/null
}

# Wine takes its ANSI code page (932) from LC_ALL=ja_JP.UTF-8; a machine
# without that locale runs the programs in code page 1252 and shows garbage.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  echo "setup: generating the locale ja_JP.UTF-8"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "setup: ERROR: the locale ja_JP.UTF-8 could not be made (package locales)" >&2
    exit 1
  fi
}

prepare_prefix() {
  check_required_files
  if [ -f "$WINEPREFIX/.velkor-ready" ] && [ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then return 0; fi
  echo "setup: preparing the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: ERROR: wineboot made no prefix in $WINEPREFIX; Wine says:" >&2
    wine cmd /c ver 2>&1 | tail -3 >&2 || true
    exit 1
  fi
  # Japanese text in dialogs: the Japanese UI fonts are not in Wine; map them.
  local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for face in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "ＭＳ Ｐゴシック" "MS PGothic" "MS Gothic"; do
    wine reg add "$subst" /v "$face" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
  done
  # Frames, minimise and restore as on Windows without a window manager.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1
  cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -w
  touch "$WINEPREFIX/.velkor-ready"
}

if [ "${1:-}" != "--prefix" ]; then install_packages; ensure_locale; fi
prepare_prefix
