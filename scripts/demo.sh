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
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
cp -a "$VELKOR_TEST_PREFIX" "$WINEPREFIX"

wine regedit /S "$(winepath -w data/demo/demo.reg)" 2>/dev/null
wine reg add 'HKLM\Software\Microsoft\WAB\DLLPath' /ve /t REG_SZ /d "$(winepath -w "$bin/velkor-wab.dll")" /f >/dev/null
wine reg add 'HKCU\Software\Microsoft\WAB\WAB4\Wab File Name' /ve /t REG_SZ \
  /d "$(winepath -w data/demo/addressbook.vcf)" /f >/dev/null

# The identity's mail store: its folder list goes where "Store Root" points.
profile=$(wine cmd /c echo %UserProfile% 2>/dev/null | tr -d '\r')
store=$(winepath -u "$profile\\Local Settings\\Application Data\\Identities\\{3F2504E0-4F89-11D3-9A0C-0305E82C3301}\\Microsoft\\Outlook Express")
mkdir -p "$store"
cp data/demo/Folders.dbx "$store/"

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
