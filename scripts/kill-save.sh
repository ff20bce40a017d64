#!/usr/bin/env bash
# Kills the editor's save at random moments and checks what is left, as a
# power cut or a killed program would leave it.
#
#   scripts/kill-save.sh [--wine] [--runs N] [--rules N] [--addresses N] [--probe EXE] [--tool EXE] [--seed N]
#
# --wine runs the Windows build of the probe and of velkor-rules under Wine on
# the worktree's prefix, on the real (Wine) registry; the wineserver holds
# every write the killed process made.
#
# savekill-probe runs the store's own save and appends every registry write to
# a journal the moment it is made; a SIGKILL therefore leaves exactly the
# writes that had happened. A scratch identity first gets RULES rules and
# ADDRESSES blocked senders (one complete save). Then, RUNS times, the probe
# rewrites every rule and the whole list with a new generation and is killed
# at a random moment of its save; `velkor-rules list` on the registry as the
# kill left it must show every rule complete and of one generation (old or
# new), and the list whole and of one generation.
# One line per run; the exit code is the number of broken runs.
set -uo pipefail
cd "$(dirname "$0")/.."

runs=12 rules=200 addresses=10000 seed=$$ wine=0
probe=build/native/tests/rulestore/savekill-probe
tool=build/native/tools/velkor-rules/velkor-rules
if [ "${1:-}" = --wine ]; then
  shift
  wine=1
  source scripts/env.sh
  probe=$VELKOR_WIN_BUILD/bin/savekill-probe.exe
  tool=$VELKOR_WIN_BUILD/bin/velkor-rules.exe
fi
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --rules) rules=$2; shift 2 ;;
    --addresses) addresses=$2; shift 2 ;;
    --probe) probe=$2; shift 2 ;;
    --tool) tool=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 64 ;;
  esac
done
RANDOM=$seed
identity='{5A7EC111-0000-4000-8000-00000000C0DE}'
work=$(mktemp -d)
journal=$work/journal
if [ $wine -eq 1 ]; then
  journal=-
  wineserver -p 2>/dev/null
  wine reg delete "HKCU\\Identities\\$identity" /f >/dev/null 2>&1
  trap 'rm -rf "$work"; wine reg delete "HKCU\\Identities\\$identity" /f >/dev/null 2>&1' EXIT
  run_probe() { exec wine "$probe" - "$@"; }  # exec: $! is the process to kill
  list_now() { wine "$tool" list 2>/dev/null; }
  compact() { :; }
else
  trap 'rm -rf "$work"' EXIT
  run_probe() { exec "$probe" "$journal" "$@"; }
  list_now() { "$probe" --dump "$journal" "$work/now.reg" && "$tool" list "$work/now.reg"; }
  compact() { "$probe" --compact "$journal"; }
fi

start_save() {  # runs the probe for generation $1; returns once it says "saving"
  rm -f "$work/out"
  run_probe "$identity" "$rules" "$addresses" "$1" > "$work/out" 2>/dev/null &
  probe_pid=$!
  for _ in $(seq 2000); do grep -q saving "$work/out" 2>/dev/null && return 0; sleep 0.01; done
  return 1
}
# Generation 1 makes the identity; generation 2, a save that replaces all of
# it, gives the length of the window the kills are spread over.
for gen in 1 2; do
  start_save "$gen" || { echo "the probe did not start" >&2; exit 70; }
  t0=$(date +%s.%N)
  wait "$probe_pid"
  full=$(echo "$(date +%s.%N) - $t0" | bc)
  grep -q '^saved' "$work/out" || { echo "save $gen failed: $(cat "$work/out")" >&2; exit 70; }
  compact
done
printf 'rules=%s addresses=%s: a complete save takes %.2f s\n' "$rules" "$addresses" "$full"

check() {  # prints the verdict on the registry as the kill left it
  list_now | iconv -f cp932 -t utf-8 | python3 -c '
import re, sys
identity, rules, addresses = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
names, words, blocked = {}, {}, []
for line in sys.stdin:
    f = line.rstrip("\r\n").split("\t")
    if f[0] == "rule" and f[1] == identity: names[f[2]] = f[6]
    elif f[0] == "word" and f[1] in names: words.setdefault(f[1], []).append(f[3])
    elif f[0] == "blocked" and f[1] == identity: blocked.append(f[2])
bad = []
for key, name in names.items():
    m = re.fullmatch(r"rule (\d+) gen (\d+)", name)
    if not m or words.get(key) != ["g%s-%s-a" % (m[2], m[1]), "g%s-%s-b" % (m[2], m[1])]:
        bad.append("rule %s mixed (%s / %s)" % (key, name, words.get(key)))
if rules and len(names) != rules: bad.append("%d of %d rules" % (len(names), rules))
gens = {a.split("-")[0] for a in blocked}
if addresses and (len(blocked) != addresses or len(gens) != 1):
    bad.append("%d of %d addresses, generations %s" % (len(blocked), addresses, sorted(gens)))
print("ok" if not bad else "BROKEN: " + "; ".join(bad))
rulegens = sorted({n.split(" gen ")[-1] for n in names.values()})
print("rules %d of generations %s, addresses %d of generations %s" % (len(names), rulegens, len(blocked), sorted(gens)), file=sys.stderr)
' "$identity" "$rules" "$addresses"
}

broken=0
for run in $(seq "$runs"); do
  gen=$((run + 2))
  start_save "$gen" || { echo "run $run: the probe did not start"; broken=$((broken + 1)); continue; }
  # A random moment of the save: 0-100 % of a complete save's time.
  delay=$(echo "scale=3; $full * $((RANDOM % 1000)) / 1000" | bc)
  sleep "$delay"
  kill -9 "$probe_pid" 2>/dev/null
  wait "$probe_pid" 2>/dev/null
  finished=$(grep -c '^saved' "$work/out")
  verdict=$(check 2>"$work/counts")
  [ "$verdict" = ok ] || broken=$((broken + 1))
  compact
  printf 'run %2d: killed after %5.2f s%s: %s (%s)\n' "$run" "$delay" \
    "$([ "$finished" -gt 0 ] && echo ' (save had finished)')" "$verdict" "$(cat "$work/counts")"
done
echo "$broken of $runs runs left a broken rule or list"
exit "$broken"
