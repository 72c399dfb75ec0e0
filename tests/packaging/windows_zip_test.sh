#!/usr/bin/env bash
# The Windows zip holds tarrow.exe and tarrow.scr built for its architecture
# (win32: i386, win64: x86-64) without debug sections, README.txt naming that Windows, and
# LICENSE.txt (the licence), both texts with Windows line endings, and
# nothing else.
# Usage: windows_zip_test.sh ZIP win32|win64 LICENSE
set -euo pipefail
zip=$1
architecture=$2
licence=$3
case $architecture in
win32) objdump=i686-w64-mingw32-objdump format=pei-i386 bits=32 ;;
win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 bits=64 ;;
*) echo "no architecture '$architecture' (win32, win64)"; exit 2 ;;
esac
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
cd "$unpacked"
cmake -E tar xf "$zip"

names=$(find . -type f | sed 's|^\./||' | sort | paste -sd ' ')
[ "$names" = "LICENSE.txt README.txt tarrow.exe tarrow.scr" ] || {
  echo "the zip holds: $names"
  exit 1
}
for program in tarrow.exe tarrow.scr; do
  found=$($objdump --file-headers $program 2>&1 | sed -n 's/.*file format //p' || true)
  [ "$found" = "$format" ] || { echo "$program is not $format: $found"; exit 1; }
  if $objdump --section-headers $program | grep -q '\.debug'; then
    echo "$program keeps debug sections"
    exit 1
  fi
done
grep -q "for $bits-bit Windows" README.txt || { echo "README.txt is not the $bits-bit one"; exit 1; }
for text in README.txt LICENSE.txt; do
  if grep -qv $'\r$' "$text"; then
    echo "$text has lines without a CR LF ending"
    exit 1
  fi
done
tr -d '\r' <LICENSE.txt | diff -u --label LICENSE.txt - "$licence"
