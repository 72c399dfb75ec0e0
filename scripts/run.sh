#!/usr/bin/env bash
# Starts the demo where a display is; on a machine without one, renders a
# short preview with the headless renderer instead, and says where it is.
set -euo pipefail
build=${1:-build}
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/tarrow"
fi
echo "No display here: rendering a preview instead (300 frames at 640x400)."
mkdir -p out
"$build/bin/tarrow-render" --frames 300 --size 640x400 --y4m out/preview.y4m --png out --every 100 \
  --overwrite
echo "Preview video: out/preview.y4m (play it with: mpv out/preview.y4m)"
echo "Stills: out/frame-000100.png out/frame-000200.png out/frame-000300.png"
