#!/usr/bin/env bash
# Runs a command in the environment the browser build's Emscripten needs:
# a writable cache of its system libraries inside the build folder (the
# system's own is read-only and empty; the first build fills this one, which
# takes minutes), and Debian's JavaScript modules where the node on PATH is
# not Debian's and cannot find them (Emscripten's tools need acorn).
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
exec "$@"
