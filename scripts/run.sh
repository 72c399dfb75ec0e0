#!/usr/bin/env bash
# Starts the demo where a display is.
set -euo pipefail
build=${1:-build}
exec "$build/bin/tarrow"
