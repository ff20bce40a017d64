#!/usr/bin/env bash
# Times the editor window under Wine on a large identity and on a tenth of it:
# first start, one-rule save with its reload, identity switch and the reload
# after an outside change. Builds what it needs in build/win.
#   bench/editor-bench.sh [RULES BLOCKED]...   (default: 1000 10000, then 100 1000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/env.sh"
build=${VELKOR_BUILD:-$root/build}/win
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
fi
ninja -j2 -C "$build" editor_bench >/dev/null
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100 1000)
while [ ${#sizes[@]} -ge 2 ]; do
  echo "== ${sizes[0]} rules, ${sizes[1]} blocked senders"
  "$root/scripts/winerun" "$build/bin/editor_bench.exe" "${sizes[0]}" "${sizes[1]}"
  sizes=("${sizes[@]:2}")
done
