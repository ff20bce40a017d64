# Sourced by the project's scripts: where things are and how Wine is run.
# Every wine call must run in the Japanese locale (code page 932): a run in
# another locale makes Wine rewrite the font substitutes.
VELKOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VELKOR_ROOT
export VELKOR_BUILD=${VELKOR_BUILD:-$VELKOR_ROOT/build}

# Wine runs 32-bit Windows programs only where the machine runs 32-bit x86
# code; some virtual machines cannot (exec answers "Exec format error"). There
# the Windows tests use a 64-bit build in a 64-bit prefix; the shipped
# programs are always the 32-bit build in build/win.
velkor_can_run_i386() {
  local probe
  probe=$(mktemp) || return 1
  # A 93-byte i386 ELF that only calls exit(0).
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local rc=$?
  rm -f "$probe"
  return $rc
}
if [ -z "${VELKOR_WIN_ARCH:-}" ]; then
  if velkor_can_run_i386; then VELKOR_WIN_ARCH=i686; else VELKOR_WIN_ARCH=x86_64; fi
fi
export VELKOR_WIN_ARCH
if [ "$VELKOR_WIN_ARCH" = i686 ]; then
  export WINEARCH=win32
  export VELKOR_WIN_BUILD=${VELKOR_WIN_BUILD:-$VELKOR_BUILD/win}
  export VELKOR_TEST_PREFIX=$VELKOR_BUILD/wineprefix
else
  export WINEARCH=win64
  export VELKOR_WIN_BUILD=${VELKOR_WIN_BUILD:-$VELKOR_BUILD/win64}
  export VELKOR_TEST_PREFIX=$VELKOR_BUILD/wineprefix64
  # Debian's wine wrapper prefers the 32-bit loader whenever wine32 is
  # installed, even where it cannot run: call the 64-bit loader directly
  # (wineboot, winepath and regedit go through wine-stable).
  if [ -x /usr/lib/wine/wine64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    velkor_winebin=$VELKOR_BUILD/wine64-bin
    if [ ! -x "$velkor_winebin/wine-stable" ]; then
      mkdir -p "$velkor_winebin"
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$velkor_winebin/wine-stable"
      chmod +x "$velkor_winebin/wine-stable"
      ln -sf wine-stable "$velkor_winebin/wine"
    fi
    case ":$PATH:" in *":$velkor_winebin:"*) ;; *) export PATH=$velkor_winebin:$PATH ;; esac
  fi
fi
export WINEPREFIX=${VELKOR_WINEPREFIX:-$VELKOR_TEST_PREFIX}
# The toolchain file of the build whose tests run under Wine.
export VELKOR_WIN_TOOLCHAIN=$VELKOR_ROOT/cmake/mingw-$VELKOR_WIN_ARCH.cmake
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

# Starts an Xvfb display for Wine's windows when there is none.
velkor_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 250); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Makes $WINEPREFIX a fresh copy of the test prefix holding the demo identity
# of data/demo (rules, accounts, address book, mail folders); bin is the
# Windows build's bin folder, whose velkor-wab.dll stands in for the WAB.
velkor_make_demo_prefix() {  # bin
  local bin=$1 profile store
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  cp -a "$VELKOR_TEST_PREFIX" "$WINEPREFIX"
  wine regedit /S "$(winepath -w "$VELKOR_ROOT/data/demo/demo.reg")" 2>/dev/null
  wine reg add 'HKLM\Software\Microsoft\WAB\DLLPath' /ve /t REG_SZ /d "$(winepath -w "$bin/velkor-wab.dll")" /f >/dev/null
  wine reg add 'HKCU\Software\Microsoft\WAB\WAB4\Wab File Name' /ve /t REG_SZ \
    /d "$(winepath -w "$VELKOR_ROOT/data/demo/addressbook.vcf")" /f >/dev/null
  # The identity's mail store: its folder list goes where "Store Root" points.
  profile=$(wine cmd /c echo %UserProfile% 2>/dev/null | tr -d '\r')
  store=$(winepath -u "$profile\\Local Settings\\Application Data\\Identities\\{3F2504E0-4F89-11D3-9A0C-0305E82C3301}\\Microsoft\\Outlook Express")
  mkdir -p "$store"
  cp "$VELKOR_ROOT/data/demo/Folders.dbx" "$store/"
}
