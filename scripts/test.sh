#!/usr/bin/env bash
# Runs every test layer: native unit tests, the same under ASan+UBSan, short
# fuzz runs, the Windows build's tests under Wine (platform, windows, end to
# end), and the import check of the shipped programs.
#   scripts/test.sh            everything (installs what is missing first)
#   scripts/test.sh --no-setup skip the package and prefix step
set -uo pipefail
source "$(dirname "$0")/env.sh"
cd "$VELKOR_ROOT"

[ "${1:-}" = "--no-setup" ] || scripts/setup.sh || exit 1
jobs=$(nproc)
summary=()
total_pass=0
total_fail=0
status=0

# Counts the cases of one label's tests after a ctest run: a GoogleTest
# executable counts its cases (from its XML), any other test counts as one.
count_cases() {  # dir label
  local dir=$1 pass=0 fail=0 n x t fl er failed
  failed="$dir/Testing/Temporary/LastTestsFailed.log"
  for n in $(ctest --test-dir "$dir" -N -L "^$2\$" | sed -n 's/^ *Test *#[0-9]*: //p'); do
    x="$dir/results/$n.xml"
    if [ -f "$x" ]; then
      t=$(grep -m1 -o '<testsuites tests="[0-9]*"' "$x" | grep -o '[0-9]*')
      fl=$(grep -m1 -o '<testsuites [^>]*failures="[0-9]*"' "$x" | grep -o 'failures="[0-9]*"' | grep -o '[0-9]*')
      er=$(grep -m1 -o '<testsuites [^>]*errors="[0-9]*"' "$x" | grep -o 'errors="[0-9]*"' | grep -o '[0-9]*')
      t=${t:-0}; fl=${fl:-0}; er=${er:-0}
      # An executable that failed after its cases passed (a crash at exit, a timeout) is one failure more.
      if [ $((fl + er)) -eq 0 ] && [ -f "$failed" ] && grep -q ":$n\$" "$failed"; then fl=1; fi
      pass=$((pass + t - fl - er)); fail=$((fail + fl + er))
    elif [ -f "$failed" ] && grep -q ":$n\$" "$failed"; then
      fail=$((fail + 1))
    else
      pass=$((pass + 1))
    fi
  done
  echo "$pass $fail"
}

# configure, build and test one layer: name builddir ctest-args -- cmake-args
run_layer() {
  local name=$1 dir=$2 labels=$3; shift 3
  echo "=== $name: configure and build ($dir)"
  if ! cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
    mkdir -p "$dir"; cat "$dir.configure.log"; summary+=("$name: configure FAILED"); status=1; return
  fi
  if ! ninja -C "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
    tail -n 60 "$dir.build.log"; summary+=("$name: build FAILED"); status=1; total_fail=$((total_fail + 1)); return
  fi
  grep -E 'warning:' "$dir.build.log" | sort -u | head -n 20
  rm -rf "$dir/results"; mkdir -p "$dir/results"
  local label
  for label in $labels; do
    echo "=== $name: $label tests"
    rm -f "$dir/Testing/Temporary/LastTestsFailed.log"
    ctest --test-dir "$dir" -L "^$label\$" --output-on-failure --timeout 600 ${CTEST_JOBS:+-j $CTEST_JOBS}
    local rc=$?
    read -r p fl < <(count_cases "$dir" "$label")
    local nt
    nt=$(ctest --test-dir "$dir" -N -L "^$label\$" | grep -c 'Test *#')
    summary+=("$name/$label: $p passed, $fl failed ($nt executables)")
    total_pass=$((total_pass + p)); total_fail=$((total_fail + fl))
    [ $rc -eq 0 ] || status=1
  done
}

run_layer "native" build/native "native" -DCMAKE_BUILD_TYPE=Debug
run_layer "asan+ubsan" build/asan "native" -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON
CTEST_JOBS=$jobs run_layer "fuzz" build/fuzz "fuzz" -DCMAKE_BUILD_TYPE=Debug -DVELKOR_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
velkor_ensure_display || exit 1
wineserver -p 2>/dev/null
run_layer "windows ($VELKOR_WIN_ARCH)" "$VELKOR_WIN_BUILD" "wine window e2e" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$VELKOR_WIN_TOOLCHAIN"
wineserver -k 2>/dev/null

# The shipped programs are the 32-bit build, whichever build the tests ran.
if [ "$VELKOR_WIN_BUILD" != build/win ] && [ "$VELKOR_WIN_BUILD" != "$VELKOR_ROOT/build/win" ]; then
  echo "=== shipped programs: configure and build (build/win)"
  if ! { cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
         && ninja -C build/win -j "$jobs" Velkor TarnWABSync; } >build/win.build.log 2>&1; then
    tail -n 40 build/win.build.log; summary+=("shipped build: FAILED"); status=1; total_fail=$((total_fail + 1))
  fi
fi

echo "=== import check"
shipped=(build/win/bin/Velkor.exe build/win/bin/TarnWABSync.exe)
file "${shipped[@]}" 2>/dev/null
# The allow-list check, and a run that must fail with one listed import removed.
if scripts/check-imports.sh "${shipped[@]}" && scripts/check-imports.sh --self-test "${shipped[0]}"; then
  summary+=("import check: passed"); total_pass=$((total_pass + 1))
else
  summary+=("import check: FAILED"); total_fail=$((total_fail + 1)); status=1
fi

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "$total_pass passed, $total_fail failed"
exit $status
