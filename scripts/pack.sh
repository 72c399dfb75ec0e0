#!/usr/bin/env bash
# Makes the package a build folder is configured for, from the programs built
# there (CPack: the Debian package on Linux, the zip on Windows), and copies
# it into dist/.
# Usage: scripts/pack.sh BUILD
set -euo pipefail
build=${1:?usage: scripts/pack.sh BUILD}
log=$build/pack.log
rm -f "$build"/*.deb "$build"/*.zip
(cd "$build" && cpack) >"$log" 2>&1 || { cat "$log"; exit 1; }
mkdir -p dist
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log" | while read -r package; do
  cp "$package" dist/
  echo "Packed dist/$(basename "$package")"
done
