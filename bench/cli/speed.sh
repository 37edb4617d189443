#!/usr/bin/env bash
# Every speed target in one run, each beside its baseline measured in the same run:
#  - tickforge-cli on 3650 days of 10000 ticks (36.5 million ticks) against the bare
#    one-day tick loop of tickforge_bench, both timed as whole processes, with peak memory;
#  - MakeHistory per tick against the bare loop in the Google Benchmark, at 180 x 1000
#    and at 3650 x 10000;
#  - a batch of 8 such histories with --jobs 2 against --jobs 1, with their files compared;
#  - the desktop program's GO and Abort (bench/gui), when its benchmark is built.
# Usage: bench/cli/speed.sh [build folder] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
repetitions="${2:-3}"
cli="$build/src/cli/tickforge-cli"
bench="$build/bench/tickforge_bench"
gui_bench="$build/bench/gui/tickforge_gui_bench"
for program in "$cli" "$bench"; do
  [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Prints the best elapsed seconds and the largest peak resident size (KiB) of the runs.
measure() {
  local best="" peak=0
  for _ in $(seq "$repetitions"); do
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    read -r seconds kib <"$work/time"
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best="$seconds"; fi
    if [ "$kib" -gt "$peak" ]; then peak="$kib"; fi
  done
  echo "$best $peak"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "== whole processes, 3650 days x 10000 ticks (best of $repetitions)"
# One iteration of the bare loop: its first iteration already outlasts the minimum time.
read -r bare_s bare_kib < <(measure "$bench" --benchmark_filter='^BareTickLoop/3650/10000$' --benchmark_min_time=0.001)
read -r cli_s cli_kib < <(measure "$cli" --rng-seed 1 --price 3000 --days 3650 --ticks-per-day 10000 -o /dev/null --quiet)
echo "bare one-day tick loop : ${bare_s} s, peak ${bare_kib} KiB"
echo "tickforge-cli          : ${cli_s} s, peak ${cli_kib} KiB"
echo "ratio                  : $(ratio "$cli_s" "$bare_s") (target <= 1.5); peak $((cli_kib / 1024)) MiB (target <= 64)"

echo "== MakeHistory per tick against the bare loop (Google Benchmark, CPU time)"
"$bench" --benchmark_filter='^(BareTickLoop|MakeHistoryTicks)/' --benchmark_format=csv 2>/dev/null >"$work/bench.csv"
# The counter is seconds per tick, the last column of each row.
per_tick() { grep "^\"$1\"" "$work/bench.csv" | awk -F, '{ print $NF * 1e9 }'; }
for size in 180/1000 3650/10000; do
  bare="$(per_tick "BareTickLoop/$size")"
  make="$(per_tick "MakeHistoryTicks/$size")"
  printf "%-11s: bare %.2f ns/tick, MakeHistory %.2f ns/tick, ratio %s (target <= 1.4)\n" \
    "$size" "$bare" "$make" "$(ratio "$make" "$bare")"
done

echo "== a batch of 8 members, 3650 days x 10000 ticks, fixed price (best of $repetitions)"
batch=(--rng-seed 1 --price 3000 --days 3650 --ticks-per-day 10000 --start 2024-01-01 --count 8 --quiet)
read -r one_s _ < <(measure "$cli" "${batch[@]}" --jobs 1 -o "$work/one.csv")
read -r two_s _ < <(measure "$cli" "${batch[@]}" --jobs 2 -o "$work/two.csv")
same="differ"
cmp -s "$work/one.csv" "$work/two.csv" && same="identical"
echo "--jobs 1 : ${one_s} s"
echo "--jobs 2 : ${two_s} s, speed-up $(ratio "$one_s" "$two_s") (target >= 1.7 on 2 free cores), files $same"
echo "           (cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg))"

if [ -x "$gui_bench" ]; then
  echo "== desktop program (offscreen)"
  "$gui_bench" 2>/dev/null
fi
