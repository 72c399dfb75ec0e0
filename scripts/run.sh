#!/usr/bin/env bash
# Starts the demo where a display is; on a machine without one (no DISPLAY,
# or a display the demo cannot open), renders a short preview with the
# headless renderer instead, and says where it is.
set -euo pipefail
build=${1:-build}
no_display=3 # the demo's exit status when it cannot open a display
if [ -n "${DISPLAY:-}" ]; then
  status=0
  "$build/bin/tarrow" || status=$?
  [ "$status" -eq "$no_display" ] || exit "$status"
fi
# Each preview goes into a folder of its own, the first of out/preview-1,
# out/preview-2 ... not there yet: nothing already in out/ is replaced.
mkdir -p out
n=1
until mkdir "out/preview-$n" 2>/dev/null; do
  if [ ! -e "out/preview-$n" ]; then
    mkdir "out/preview-$n" # fails again, saying why
  fi
  n=$((n + 1))
done
preview=out/preview-$n
echo "No display here: rendering a preview instead (300 frames at 640x400) into $preview."
# Seed 3 starts over the lit city: the stills show it, not a dark street.
"$build/bin/tarrow-render" --seed 3 --frames 300 --size 640x400 --y4m "$preview/preview.y4m" \
  --png "$preview" --every 100
echo "Preview video: $preview/preview.y4m (play it with: mpv $preview/preview.y4m)"
echo "Stills: $preview/frame-000100.png $preview/frame-000200.png $preview/frame-000300.png"
