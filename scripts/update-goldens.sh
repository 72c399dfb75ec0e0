#!/usr/bin/env bash
# Re-makes the committed reference outputs after a reviewed, intended change
# to what the program draws or lays out:
#   tests/data/layout-seed1.json     the start-up layout (no frames, seed 1)
#   tests/data/golden/*.png          frames 1, 120 and 3000 of seed 7 at 320x200
#   tests/data/golden/renderer.txt   the GL renderer the frames were made on
#   tests/data/golden/frame-composition.txt
#                                    the frame composition's own GL calls, in
#                                    order, recorded with apitrace (seed 1)
# Run it on Debian 12's llvmpipe, the renderer the golden-frame test expects.
# The frames are drawn with llvmpipe held to SSE4.1 code, so that they come
# out the same on every x86-64 processor, whatever vector units it has.
set -euo pipefail
export GALLIUM_OVERRIDE_CPU_CAPS=sse4.1
cd "$(dirname "$0")/.."
build=${BUILD:-build}
make build BUILD="$build"
render="$build/bin/tarrow-render"
golden=tests/data/golden
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$render" --frames 0 --seed 1 --logic-only --dump-state tests/data/layout-seed1.json
"$render" --frames 120 --seed 7 --size 320x200 --png "$scratch/short" --every 1
"$render" --frames 3000 --seed 7 --size 320x200 --png "$scratch/long" --every 3000
mkdir -p "$golden"
cp "$scratch/short/frame-000001.png" "$scratch/short/frame-000120.png" "$golden/"
cp "$scratch/long/frame-003000.png" "$golden/"
"$render" --frames 1 --seed 1 --size 16x16 --bench | sed -n 's/^renderer *//p' >"$golden/renderer.txt"
TARROW_UPDATE_GOLDENS=1 "$build/bin/e2e_tests" --gtest_filter=GlStream.EveryPassSetsItsStateInOrder \
  >/dev/null
echo "Updated tests/data/layout-seed1.json and $golden/ (renderer: $(cat "$golden/renderer.txt"))"
