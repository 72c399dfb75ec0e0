#!/usr/bin/env bash
# Runs a command in the environment the browser build's Emscripten needs:
# a writable cache of its system libraries inside the build folder (the
# system's own is read-only and empty; the first build fills this one), and
# Debian's JavaScript modules where the node on PATH is not Debian's and
# cannot find them (Emscripten's tools need acorn).
#
# Emscripten compiles each system library the first time a link needs it,
# saying one line a library and nothing while the library compiles, which is
# minutes for libc. On a terminal, a line says so when a library starts and
# every minute while it compiles. Elsewhere (a CI log) the command's output
# goes to BUILD_FOLDER/web-env.log, and is shown only when the command fails.
# Usage: scripts/web-env.sh BUILD_FOLDER COMMAND [ARGUMENT...]
set -euo pipefail
build=$1
shift
mkdir -p "$build"
export EM_CACHE
EM_CACHE="$(cd "$build" && pwd)/emscripten-cache"
export EM_FROZEN_CACHE= # the cache is ours to fill
if ! node -e "require('acorn')" >/dev/null 2>&1; then
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi

# What the cache is compiling, on standard error, until killed: Emscripten
# compiles a library's files into build/NAME in its cache, and removes the
# folder when the library is made.
report_libraries() {
  local libraries="$EM_CACHE/sysroot/lib/wasm32-emscripten"
  local first=0 said=0 last='' name files done
  while sleep 5; do
    name=$(ls -t "$EM_CACHE/build" 2>/dev/null | head -n 1) || true
    [[ -n $name ]] || continue
    ((first > 0)) || first=$SECONDS
    if [[ $name != "$last" ]] || ((SECONDS - said >= 60)); then
      files=$(find "$EM_CACHE/build/$name" -name '*.o' 2>/dev/null | wc -l) || true
      done=$(find "$libraries" -name '*.a' 2>/dev/null | wc -l) || true
      echo "web-env: Emscripten is compiling its system library $name ($files files so far;" \
        "$done made, $(((SECONDS - first) / 60)) min since the first started)" >&2
      last=$name
      said=$SECONDS
    fi
  done
}

if [[ -t 2 ]]; then
  report_libraries &
  reporter=$!
  trap 'kill "$reporter" 2>/dev/null || true' EXIT
  "$@"
else
  log="$build/web-env.log"
  "$@" >"$log" 2>&1 || {
    status=$?
    cat "$log" >&2
    echo "web-env: '$*' failed; its output is above and in $log" >&2
    exit "$status"
  }
fi
