#!/usr/bin/env bash
# Builds the programs a user runs (the build's target programs: tarrow,
# tarrow-watch, tarrow-render) in a configured build folder, quietly: the
# build's output goes to BUILD/programs.log, shown where the build fails. A
# first build takes minutes, so on a terminal a line every half minute says
# how far it has got (the build's own percentage, from the log); elsewhere,
# as in CI's logs, only the first line and a failure's log are printed.
# Usage: scripts/build-programs.sh BUILD JOBS
set -euo pipefail
build=${1:?usage: scripts/build-programs.sh BUILD JOBS}
jobs=${2:?usage: scripts/build-programs.sh BUILD JOBS}
log=$build/programs.log
started="Building tarrow tarrow-watch tarrow-render in $build/bin"

# How far the build has got, from the log's last step: Makefiles print
# "[ 42%] Building ...", Ninja "[123/456] Building ...".
progress() {
  awk '/^\[ *[0-9]+%\]/ { sub(/^\[ */, ""); sub(/%\].*/, ""); done = $0 }
    /^\[[0-9]+\/[0-9]+\]/ { split(substr($0, 2), step, /[\/\]]/); done = int(step[1] * 100 / step[2]) }
    END { print (done == "" ? "starting" : done "% built") }' "$log"
}

# Minutes and seconds since the build started.
elapsed() {
  printf '%d:%02d' $((SECONDS / 60)) $((SECONDS % 60))
}

status=0
if [ ! -t 1 ]; then
  echo "$started"
  cmake --build "$build" -j "$jobs" --target programs >"$log" 2>&1 || status=$?
else
  echo "$started: a first build takes a few minutes (2 to 8 on 2 cores)"
  : >"$log"
  SECONDS=0
  # The reporter sleeps in a child of its own, which it ends when it is ended.
  (
    trap 'kill "$nap" 2>/dev/null; exit 0' TERM
    while :; do
      sleep 30 &
      nap=$!
      wait "$nap"
      echo "  $(progress) after $(elapsed)"
    done
  ) &
  reporter=$!
  trap 'kill "$reporter" 2>/dev/null || true' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  cmake --build "$build" -j "$jobs" --target programs >"$log" 2>&1 || status=$?
  kill "$reporter" 2>/dev/null || true
  [ $status -ne 0 ] || echo "Built in $(elapsed)"
fi
[ $status -eq 0 ] || { cat "$log"; exit $status; }
