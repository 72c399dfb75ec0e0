#!/usr/bin/env bash
# Packs the Windows build with a short text on keys and what to expect.
# Usage: scripts/pack-windows.sh TARROW_EXE ZIP
set -euo pipefail
exe=${1:?usage: scripts/pack-windows.sh TARROW_EXE ZIP}
zip=${2:?usage: scripts/pack-windows.sh TARROW_EXE ZIP}
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp "$exe" "$staging/tarrow.exe"
cp "$(dirname "$0")/../docs/windows-readme.txt" "$staging/README.txt"
mkdir -p "$(dirname "$zip")"
rm -f "$zip.partial"
(cd "$staging" && cmake -E tar cf "$OLDPWD/$zip.partial" --format=zip tarrow.exe README.txt)
mv "$zip.partial" "$zip"
echo "Packed $zip"
