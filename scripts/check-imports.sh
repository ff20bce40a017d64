#!/usr/bin/env bash
# Checks the DLL functions each shipped program imports against a list, kept in
# the repository, of functions Windows XP SP2 has (scripts/xp-sp2-imports.txt,
# one "dll function" a line). A function not on the list fails the check until
# someone has made sure XP SP2 exports it and added it.
#   scripts/check-imports.sh bin/Velkor.exe bin/TarnWABSync.exe ...
#   scripts/check-imports.sh --list bin/*.exe       prints the imports as list lines
#   scripts/check-imports.sh --self-test bin/X.exe  makes sure a missing entry fails
set -uo pipefail
objdump=i686-w64-mingw32-objdump
list=${VELKOR_IMPORT_LIST:-$(dirname "$0")/xp-sp2-imports.txt}

# "dll function" for every import of one program; an import by ordinal is "#n".
imports_of() {
  $objdump -p "$1" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    /^[ \t]*$/ { next }
    dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && $3 ~ /^[A-Za-z_<]/ {
      print dll, ($3 == "<none>" ? "#" $2 : $3)
    }
    /^[^ \t]/ && !/DLL Name:/ { dll = "" }'
}

case "${1:-}" in
  --list)
    shift
    for exe in "$@"; do imports_of "$exe"; done | sort -u
    exit 0
    ;;
  --self-test)
    shift
    exe=$1
    victim=$(imports_of "$exe" | head -1)
    reduced=$(mktemp)
    grep -vxF "$victim" "$list" >"$reduced"
    VELKOR_IMPORT_LIST=$reduced "$0" "$exe" >/dev/null
    rc=$?
    rm -f "$reduced"
    if [ $rc -eq 0 ]; then echo "import check self-test: FAILED (passed without \"$victim\" on the list)"; exit 1; fi
    echo "import check self-test: passed (fails without \"$victim\" on the list)"
    exit 0
    ;;
esac

if [ ! -f "$list" ]; then echo "import check: the list $list is missing"; exit 1; fi
known=$(grep -v '^#' "$list" | grep -v '^[[:space:]]*$' | tr 'A-Z' 'a-z' | sort -u)

status=0
for exe in "$@"; do
  if [ ! -f "$exe" ]; then echo "import check: $exe is missing"; status=1; continue; fi
  echo "== $(basename "$exe")"
  imports=$(imports_of "$exe")
  if [ -z "$imports" ]; then echo "  cannot read imports"; status=1; continue; fi
  awk '{n[$1]++} END {for (d in n) printf "  %s (%d functions)\n", d, n[d]}' <<<"$imports" | sort
  # Case-blind for the DLL name only: the list keeps the functions' own case.
  unknown=$(comm -23 <(tr 'A-Z' 'a-z' <<<"$imports" | sort -u) <(cat <<<"$known"))
  if [ -n "$unknown" ]; then
    status=1
    while read -r dll fn; do
      original=$(grep -i -m1 "^$dll $fn\$" <<<"$imports")
      echo "  FAIL: ${original/ /!} is not on the list of functions Windows XP SP2 has ($list)"
    done <<<"$unknown"
  fi
done
if [ $status -eq 0 ]; then echo "import check: passed"; else
  echo "import check: FAILED (check each function above on Windows XP SP2, then add it to the list)"; fi
exit $status
