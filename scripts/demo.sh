#!/usr/bin/env bash
# Builds the programs, prepares a Wine prefix with the demo identity (rules,
# blocked senders, accounts, mail folders, address book) and starts Velkor.exe.
# Without a display (or with --screenshot) it runs on Xvfb and writes
# build/screenshots/demo.png, then ends the program.
set -euo pipefail
export VELKOR_WINEPREFIX=${VELKOR_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/demo-prefix}
source "$(dirname "$0")/env.sh"
cd "$VELKOR_ROOT"

screenshot=0
if [ "${1:-}" = "--screenshot" ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  screenshot=1
  unset DISPLAY
fi

VELKOR_WINEPREFIX=$VELKOR_TEST_PREFIX scripts/setup.sh
# The build that runs on this machine's Wine (32-bit, or 64-bit where the
# machine cannot run 32-bit code).
win=$VELKOR_WIN_BUILD
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$VELKOR_WIN_TOOLCHAIN" >/dev/null
ninja -C "$win" Velkor TarnWABSync velkor-wab velkor-rules all >/dev/null
bin=$win/bin

# A fresh prefix for the demo, so that its registry never mixes with the tests'.
velkor_ensure_display
velkor_make_demo_prefix "$bin"

if [ $screenshot -eq 0 ]; then
  exec wine "$bin/Velkor.exe"
fi

mkdir -p "$VELKOR_BUILD/screenshots"
shot=$VELKOR_BUILD/screenshots/demo.png
wine "$bin/Velkor.exe" &
pid=$!
sleep 8
import -window root "$shot"
kill $pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "Velkor ran on the demo identity; screenshot: $shot"
