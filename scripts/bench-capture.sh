#!/usr/bin/env bash
# What recording costs on top of drawing: for each size and output, the
# recording run and the same run with --bench alone (which draws and reads
# back every frame) are run one after the other, PAIRS times, and the median
# of the pairs' wall-time ratios is printed as a table. Alternating the two
# keeps a machine's slow spells from favouring either.
# Usage: scripts/bench-capture.sh [PAIRS, at least 7] [build folder]
set -euo pipefail

pairs=${1:-7}
build=${2:-build}
render="$build/bin/tarrow-render"
if ! [[ "$pairs" =~ ^[0-9]+$ ]] || [ "$pairs" -lt 7 ]; then
  echo "bench-capture: PAIRS must be a whole number of at least 7, not '$pairs'" >&2
  exit 2
fi
if [ ! -x "$render" ]; then
  echo "bench-capture: no $render; run make build first" >&2
  exit 2
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Seconds the command takes, as a decimal.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v end="$end" -v start="$start" 'BEGIN { print end - start }'
}

median() {
  sort -g | awk '{ values[NR] = $1 } END {
    if (NR % 2) { print values[(NR + 1) / 2] } else { print (values[NR / 2] + values[NR / 2 + 1]) / 2 } }'
}

echo "| Run | Size | Frames | Median wall time relative to --bench alone | Pairs |"
echo "|---|---|---|---|---|"
for setting in "640x400 60" "1680x1050 10"; do
  read -r size frames <<<"$setting"
  common=(--seed 1 --size "$size" --frames "$frames" --bench)
  for output in png y4m; do
    ratios=()
    for _ in $(seq 1 "$pairs"); do
      rm -rf "$scratch/out"
      if [ "$output" = png ]; then
        recording=$(seconds "$render" "${common[@]}" --png "$scratch/out")
      else
        recording=$(seconds "$render" "${common[@]}" --y4m "$scratch/out")
      fi
      alone=$(seconds "$render" "${common[@]}")
      ratios+=("$(awk -v a="$recording" -v b="$alone" 'BEGIN { print a / b }')")
    done
    ratio=$(printf '%s\n' "${ratios[@]}" | median)
    printf '| `--%s` | %s | %s | %.3f | %s |\n' "$output" "$size" "$frames" "$ratio" "$pairs"
  done
done
