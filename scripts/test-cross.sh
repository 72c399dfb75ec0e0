#!/usr/bin/env bash
# The scene's state on other CPUs and systems against this machine's, byte for
# byte: tarrow-state built for 64-bit ARM, 32-bit x86, s390x (big-endian) and
# 32- and 64-bit Windows, run under qemu-user, natively and under Wine, for
# seeds 1, 5 and 2013: every frame's state hash, the states at frames 0, 60,
# 2244, 6088 and the last (100 000 frames, 10 000 under qemu), the glow
# image and the degree tables; on s390x also the PNG and YUV4MPEG2 writers from known bytes. A
# mismatch names the first differing frame and field. Last, a negative
# control: the ARM build with fused multiply-adds allowed must be found to
# differ.
# Usage: scripts/test-cross.sh NATIVE_BUILD CROSS_BUILD [CMAKE_FLAGS...]
#   NATIVE_BUILD holds bin/tarrow-state and bin/codec_check for this machine;
#   the cross builds are made in CROSS_BUILD/<target>.
set -euo pipefail
native=$(realpath "${1:?usage: test-cross.sh NATIVE_BUILD CROSS_BUILD [CMAKE_FLAGS...]}")
mkdir -p "${2:?usage: test-cross.sh NATIVE_BUILD CROSS_BUILD [CMAKE_FLAGS...]}"
cross=$(realpath "$2")
shift 2
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
seeds=(1 5 2013)
sampled=(60 2244 6088)
full=100000 # frames at native speed
emulated=10000 # frames under qemu

# Configures and builds one target's programs, quietly (the log where it fails).
build() {
  local name=$1 toolchain=$2
  shift 2
  local folder=$cross/$name log=$cross/$name.log
  if ! { cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTARROW_BENCH=OFF "$@" &&
    cmake --build "$folder" -j "$jobs" --target tarrow-state $(
      [[ " $* " == *" -DTARROW_CODEC_CHECK=ON "* ]] && echo codec_check); } >"$log" 2>&1; then
    cat "$log"
    echo "test-cross: building for $name failed"
    exit 1
  fi
}

# The command that runs a target's program.
runner() {
  case $1 in
  aarch64*) echo "qemu-aarch64-static $cross/$1/bin/$2" ;;
  s390x) echo "qemu-s390x-static $cross/$1/bin/$2" ;;
  i686) echo "$cross/$1/bin/$2" ;;
  win*) echo "wine $cross/$1/bin/$2.exe" ;;
  native) echo "$native/bin/$2" ;;
  esac
}

frames_of() { case $1 in aarch64* | s390x) echo $emulated ;; *) echo $full ;; esac; }

# Runs the state program of a target for every seed into CROSS_BUILD/runs.
run_target() {
  local target=$1 frames
  frames=$(frames_of "$target")
  local at=("${sampled[@]}")
  [ "$target" = native ] && at+=($emulated)
  mkdir -p "$cross/runs/$target"
  for seed in "${seeds[@]}"; do
    local out=$cross/runs/$target/$seed
    rm -rf "$out" "$out-0"
    $(runner "$target" tarrow-state) --seed "$seed" --frames 0 --out "$out-0"
    $(runner "$target" tarrow-state) --seed "$seed" --frames "$frames" \
      --at "$(IFS=,; echo "${at[*]}")" --out "$out"
  done
}

# Compares a target's runs with this machine's; prints each mismatch, naming
# the first frame whose state differs and its first differing field. Fails
# where anything differs.
compare_target() {
  local target=$1 frames differs=0
  frames=$(frames_of "$target")
  for seed in "${seeds[@]}"; do
    local mine=$cross/runs/native/$seed theirs=$cross/runs/$target/$seed
    for file in glow.rgba degrees.f32 "../$seed-0/state-0.json" state-{60,2244,6088,$frames}.json; do
      if ! cmp -s "$mine/$file" "$theirs/$file"; then
        echo "$target seed $seed: $(basename "$file") differs"
        differs=1
      fi
    done
    local first
    first=$(cmp <(head -n $((frames + 1)) "$mine/hashes.txt") "$theirs/hashes.txt" 2>&1 |
      sed -n 's/.* line \([0-9]*\)$/\1/p' || true)
    if [ -n "$first" ]; then
      local frame=$((first - 1))
      $(runner native tarrow-state) --seed "$seed" --frames $frame >"$cross/expected.json"
      $(runner "$target" tarrow-state) --seed "$seed" --frames $frame >"$cross/actual.json"
      echo "$target seed $seed: first differs after frame $frame:" \
        "$(scripts/compare-states.py "$cross/expected.json" "$cross/actual.json" || true)"
      differs=1
    fi
  done
  return $differs
}

echo "Building tarrow-state for aarch64, i686, s390x, win32 and win64"
build aarch64 linux-aarch64 -DTARROW_STATE_ONLY=ON "$@"
build aarch64-contracted linux-aarch64 -DTARROW_STATE_ONLY=ON -DTARROW_FP_CONTRACT=fast "$@"
build i686 linux-i686 -DTARROW_STATE_ONLY=ON "$@"
build s390x linux-s390x -DTARROW_STATE_ONLY=ON -DTARROW_CODEC_CHECK=ON "$@"
build win32 mingw-w64-i686 "$@"
build win64 mingw-w64-x86_64 "$@"
file "$cross"/aarch64/bin/tarrow-state | grep -q 'ARM aarch64' || { echo "not an aarch64 build"; exit 1; }
file "$cross"/s390x/bin/tarrow-state | grep -q 'MSB.*S/390' || { echo "not an s390x build"; exit 1; }
file "$cross"/i686/bin/tarrow-state | grep -q '32-bit.*80386' || { echo "not an i686 build"; exit 1; }

export WINEPREFIX=$cross/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
scripts/wine-template.sh "$WINEPREFIX" >/dev/null

targets=(aarch64 i686 s390x win32 win64 aarch64-contracted)
echo "Running seeds ${seeds[*]}: $full frames natively, $emulated under qemu"
pids=()
for target in native "${targets[@]}"; do
  run_target "$target" >"$cross/$target.run.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then
    target=(native "${targets[@]}")
    echo "test-cross: ${target[$i]}'s runs failed:"
    cat "$cross/${target[$i]}.run.log"
    failed=1
  fi
done
[ $failed = 0 ] || exit 1

for target in aarch64 i686 s390x win32 win64; do
  if compare_target "$target"; then
    echo "$target: the same states, frame hashes, glow image and degree tables as x86-64"
  else
    failed=1
  fi
done

# The file formats on the big-endian CPU, from the same glow bytes.
mkdir -p "$cross/codecs/native" "$cross/codecs/s390x"
glow=$cross/runs/native/1/glow.rgba
"$native/bin/codec_check" "$glow" "$cross/codecs/native"
$(runner s390x codec_check) "$glow" "$cross/codecs/s390x"
"$native/bin/tarrow-render" --seed 1 --frames 0 --logic-only \
  --dump-texture "$cross/codecs/texture.png" 2>/dev/null
for file in glow.png frame.png frame.y4m; do
  if ! cmp "$cross/codecs/native/$file" "$cross/codecs/s390x/$file"; then
    echo "s390x: $file differs"
    failed=1
  fi
done
cmp "$cross/codecs/texture.png" "$cross/codecs/native/glow.png" ||
  { echo "codec_check's glow.png is not the renderer's texture dump"; failed=1; }
[ $failed = 1 ] || echo "s390x: the same PNG and YUV4MPEG2 bytes as x86-64"

# The negative control: with contraction the check must find a difference.
if compare_target aarch64-contracted >"$cross/control.log"; then
  echo "test-cross: the ARM build with fused multiply-adds was not found to differ"
  failed=1
else
  echo "aarch64 with -ffp-contract=fast found to differ, as it must:"
  sed 's/^/  /' "$cross/control.log"
fi
exit $failed
