#!/usr/bin/env bash
# Makes the desktop icon from the scene itself: frame 500 of seed 3, a look
# along the lit city's streets, drawn square and scaled down to each size of
# the icon theme (packaging/icons/hicolor). The icons are committed; run this
# again only to change the picture. It is drawn on llvmpipe held to SSE4.1
# code, so that it comes out the same on every x86-64 machine.
# Usage: scripts/make-icons.sh [BUILD]   (tarrow-render built in BUILD, default build)
set -euo pipefail
cd "$(dirname "$0")/.."
render=${1:-build}/bin/tarrow-render
seed=3
frame=500
icons=packaging/icons/hicolor
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

GALLIUM_OVERRIDE_CPU_CAPS=sse4.1 "$render" --seed "$seed" --from "$frame" --frames "$frame" \
  --size 512x512 --png "$scratch" >/dev/null
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  ffmpeg -loglevel error -y -i "$scratch/frame-$(printf %06d "$frame").png" \
    -vf "scale=$size:$size:flags=lanczos" "$icons/${size}x${size}/apps/org.example.tarrow.png"
done
echo "Icons: $icons"
