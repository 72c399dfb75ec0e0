#!/usr/bin/env bash
# Measures how many frames a second the demo shows under Xvfb, counted by its
# buffer swaps in apitrace traces, not by anything the program reports.
#
#   scripts/measure-fps.sh [DEMO ARGUMENTS...]
#   scripts/measure-fps.sh --windowed            # the demo as it runs by default
#   scripts/measure-fps.sh --windowed --fps 3    # paced
#
# The demo runs twice with the same arguments, each time traced and ended by
# SIGTERM after a set wall time: once for SHORT_SECONDS (5), once for that
# plus MEASURE_SECONDS (20). The frames the longer run drew more, over the
# seconds it ran longer, are the rate: start-up (context, scene, first frame)
# is the same in both and drops out. BUILD names the build folder (build).
# Prints "N.NN frames a second (F frames over S s)".
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD:-build}
measure=${MEASURE_SECONDS:-20}
short=${SHORT_SECONDS:-5}
demo=$(realpath "$build/bin/tarrow")
for tool in Xvfb apitrace; do
  command -v "$tool" >/dev/null || { echo "measure-fps: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done
[ -x "$demo" ] || { echo "measure-fps: no demo at $demo (make build)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A screen of the demo's own full-screen size, on a display Xvfb picks.
Xvfb -displayfd 3 -screen 0 1680x1050x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 600); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "measure-fps: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "measure-fps: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

# Buffer swaps of the demo run for $1 seconds of wall time.
swaps() {
  local trace="$work/run-$1.trace"
  apitrace trace --api egl -o "$trace" "$demo" "${@:2}" >"$work/run-$1.log" 2>&1 &
  local tracer=$!
  sleep "$1"
  # apitrace runs the demo as its child; SIGTERM ends the demo cleanly and
  # the trace is complete when the tracer returns.
  pkill -TERM -P "$tracer" -x tarrow || true
  wait "$tracer" || true
  apitrace dump --color=never --grep=SwapBuffers "$trace" | grep -c 'SwapBuffers('
}

first=$(swaps "$short" "$@")
second=$(swaps "$((short + measure))" "$@")
frames=$((second - first))
awk -v f="$frames" -v s="$measure" 'BEGIN { printf "%.2f frames a second (%d frames over %d s)\n", f / s, f, s }'
