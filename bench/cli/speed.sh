#!/usr/bin/env bash
# tickforge-cli on 3650 days of 10000 ticks (36.5 million ticks) beside the bare tick
# loop of tickforge_bench for the same ticks, both timed as whole processes, with the
# peak memory of each. Usage: bench/cli/speed.sh [build folder] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
repetitions="${2:-3}"
cli="$build/src/cli/tickforge-cli"
bench="$build/bench/tickforge_bench"
for program in "$cli" "$bench"; do
  [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done

log="$(mktemp)"
trap 'rm -f "$log"' EXIT

# Prints the best elapsed seconds and the largest peak resident size (KiB) of the runs.
measure() {
  local best="" peak=0
  for _ in $(seq "$repetitions"); do
    /usr/bin/time -f "%e %M" -o "$log" "$@" >/dev/null 2>&1
    read -r seconds kib <"$log"
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best="$seconds"; fi
    if [ "$kib" -gt "$peak" ]; then peak="$kib"; fi
  done
  echo "$best $peak"
}

# One iteration of the bare loop: its first iteration already outlasts the minimum time.
read -r bare_s bare_kib < <(measure "$bench" --benchmark_filter='^BareTickLoop/3650/10000$' --benchmark_min_time=0.001)
read -r cli_s cli_kib < <(measure "$cli" --rng-seed 1 --price 3000 --days 3650 --ticks-per-day 10000 -o /dev/null --quiet)

ticks=36500000
echo "bare tick loop : ${bare_s} s, peak ${bare_kib} KiB"
echo "tickforge-cli  : ${cli_s} s, peak ${cli_kib} KiB"
awk -v c="$cli_s" -v b="$bare_s" 'BEGIN { printf "ratio          : %.2f (limit 2)\n", c / b }'
awk -v k="$cli_kib" -v t="$ticks" 'BEGIN { printf "cli bytes/tick : %.2f (the tick path takes 16)\n", k * 1024 / t }'
