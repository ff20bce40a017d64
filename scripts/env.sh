# Sourced by the project's scripts: where things are and how Wine is run.
# Every wine call must run in the Japanese locale (code page 932): a run in
# another locale makes Wine rewrite the font substitutes.
VELKOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VELKOR_ROOT
export VELKOR_BUILD=${VELKOR_BUILD:-$VELKOR_ROOT/build}
export WINEPREFIX=${VELKOR_WINEPREFIX:-$VELKOR_BUILD/wineprefix}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

# Starts an Xvfb display for Wine's windows when there is none.
velkor_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
  echo "could not start Xvfb" >&2
  return 1
}
