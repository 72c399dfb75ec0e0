#!/usr/bin/env bash
# The Windows zip holds tarrow.exe without debug sections, README.txt, and
# LICENSE.txt (the licence), both texts with Windows line endings, and
# nothing else.
# Usage: windows_zip_test.sh ZIP LICENSE
set -euo pipefail
zip=$1
licence=$2
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
cd "$unpacked"
cmake -E tar xf "$zip"

names=$(find . -type f | sed 's|^\./||' | sort | paste -sd ' ')
[ "$names" = "LICENSE.txt README.txt tarrow.exe" ] || { echo "the zip holds: $names"; exit 1; }
if x86_64-w64-mingw32-objdump --section-headers tarrow.exe | grep -q '\.debug'; then
  echo "tarrow.exe keeps debug sections"
  exit 1
fi
for text in README.txt LICENSE.txt; do
  if grep -qv $'\r$' "$text"; then
    echo "$text has lines without a CR LF ending"
    exit 1
  fi
done
tr -d '\r' <LICENSE.txt | diff -u --label LICENSE.txt - "$licence"
