#!/usr/bin/env bash
# Times `velkor-rules restore BACKUP FILE.reg` on a large .reg file: the demo
# data followed by keys under HKLM and HKCU\Software until the file is about
# SIZE_MB (default 100), REGEDIT4, or UTF-16 with `--utf16`. Prints the
# elapsed time and peak memory (/usr/bin/time -v) and checks that only the
# identity's two lists changed.
#   bench/restore-bench.sh [--utf16] [SIZE_MB] [velkor-rules binary]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
utf16=0
if [ "${1:-}" = --utf16 ]; then utf16=1; shift; fi
size=${1:-100}
tool=${2:-$root/build/native/tools/velkor-rules/velkor-rules}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id='{3F2504E0-4F89-11D3-9A0C-0305E82C3301}'
"$tool" export "$id" "$work/backup.reg" "$root/data/demo/demo.reg" >/dev/null
python3 - "$root/data/demo/demo.reg" "$work/big.reg" "$size" "$utf16" <<'PY'
import sys
demo, out, size, utf16 = sys.argv[1], sys.argv[2], int(sys.argv[3]) << 20, sys.argv[4] == "1"
text = open(demo, "rb").read().decode("cp932")
if utf16:
    text = text.replace("REGEDIT4", "Windows Registry Editor Version 5.00", 1)
parts, n, total = [text], 0, len(text)
while total < size:
    root = "HKEY_LOCAL_MACHINE" if n % 2 else "HKEY_CURRENT_USER"
    s = (f"[{root}\\Software\\Bench\\Group{n // 1000:04d}\\Key{n:07d}]\r\n"
         f"\"Name\"=\"値 {n} ですよ\"\r\n\"Count\"=dword:{n:08x}\r\n"
         f"\"Data\"=hex:{','.join('%02x' % ((n + i) & 255) for i in range(24))}\r\n\r\n")
    parts.append(s)
    total += len(s)
    n += 1
body = "".join(parts)
open(out, "wb").write(b"\xff\xfe" + body.encode("utf-16-le") if utf16 else body.encode("cp932"))
PY
cp "$work/big.reg" "$work/before.reg"
echo "file: $(stat -c %s "$work/big.reg") bytes"
/usr/bin/time -v "$tool" restore "$work/backup.reg" "$work/big.reg" 2>"$work/time" >/dev/null || { cat "$work/time"; exit 1; }
grep -E "User time|System time|Elapsed|Maximum resident" "$work/time"
# The demo identity's lists come first; the generated keys after them must
# be byte for byte as they were (the old restore rewrote the whole file).
cmp -s <(tail -c 10000000 "$work/before.reg") <(tail -c 10000000 "$work/big.reg") &&
  echo "the last 10 MB are byte for byte the same" || echo "the last 10 MB differ"
