#!/usr/bin/env bash
# Runs the whole suite of the current build N times, as `make test` does
# (ctest -j $(nproc), without the Windows build's tests), and prints per test how often it failed and its slowest
# run, worst first: a test that fails now and then shows up here.
# Usage: scripts/repeat-tests.sh N [build folder, default build] [LABEL]
# With LABEL, only the tests of that label run (windows, wayland, e2e ...).
set -euo pipefail

runs=${1:?usage: scripts/repeat-tests.sh N [build folder]}
build=${2:-build}
select=(-LE windows)
[ -z "${3:-}" ] || select=(-L "$3")
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "repeat-tests: N must be a whole number above 0, not '$runs'" >&2
  exit 2
fi
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "repeat-tests: no build in '$build'; run make build first" >&2
  exit 2
fi

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
start=$SECONDS
failedRuns=0
for run in $(seq 1 "$runs"); do
  if (cd "$build" && ctest -j "$(nproc)" "${select[@]}" >"$logs/run-$run.log" 2>&1); then
    echo "run $run of $runs: passed"
  else
    failedRuns=$((failedRuns + 1))
    echo "run $run of $runs: FAILED"
  fi
done

# ctest's result lines: "12/167 Test #12: Suite.Name .....   Passed    1.03 sec".
cat "$logs"/run-*.log | awk -v runs="$runs" '
  /Test +#[0-9]+: / {
    name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ .*/, "", name)
    seconds = $(NF - 1) + 0
    passed = ($0 ~ / Passed +[0-9.]+ sec$/ || $0 ~ /Not Run|Skipped/)
    seen[name]++
    if (!passed) failed[name]++
    if (seconds > slowest[name]) slowest[name] = seconds
  }
  END {
    for (name in seen) {
      printf "%d\t%.2f\t%s\t%d\n", failed[name] + 0, slowest[name], name, seen[name]
    }
  }' | sort -t$'\t' -k1,1nr -k2,2nr | awk -F'\t' -v runs="$runs" '
  BEGIN { printf "%-8s %-10s %s\n", "failed", "slowest s", "test" }
  {
    note = ($4 < runs) ? sprintf("  (ran %d times)", $4) : ""
    printf "%-8s %-10s %s%s\n", $1 "/" runs, $2, $3, note
  }'
echo "$runs runs in $((SECONDS - start)) s; $failedRuns with a failure"
[ "$failedRuns" -eq 0 ]
