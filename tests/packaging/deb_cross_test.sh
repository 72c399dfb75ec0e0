#!/usr/bin/env bash
# A cross-built Debian package (arm64) checked where its programs cannot run
# natively: lintian finds no errors (its warnings are shown); it holds the
# same files, with the same modes and owners, as this machine's package; every
# ELF file in it is built for its CPU; and its tarrow-render, run under
# qemu-user with this machine's libraries of that architecture (multiarch),
# states the scene after 600 and 6088 frames byte for byte as this machine's
# package's tarrow-render does.
# Usage: deb_cross_test.sh PACKAGE NATIVE_PACKAGE
set -euo pipefail
deb=$(realpath "${1:?usage: deb_cross_test.sh PACKAGE NATIVE_PACKAGE}")
native=$(realpath "${2:?usage: deb_cross_test.sh PACKAGE NATIVE_PACKAGE}")
arch=$(dpkg-deb --field "$deb" Architecture)
case $arch in
arm64) cpu=aarch64 elf='ARM aarch64' ;;
*)
  echo "deb_cross_test.sh: no checks for packages of $arch" >&2
  exit 2
  ;;
esac
work=$(mktemp -d "$(dirname "$deb")/deb-cross-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/lint_package.sh" "$deb"

# Mode, owner and path (and a link's target) of every entry; not sizes, dates.
listing() { dpkg-deb --contents "$1" | awk '{ $3 = $4 = $5 = ""; print }'; }
if ! diff -u <(listing "$native") <(listing "$deb") >"$work/files.diff"; then
  echo "$(basename "$deb") and $(basename "$native") hold different files:"
  cat "$work/files.diff"
  exit 1
fi
echo "the same $(listing "$deb" | wc -l) entries as $(basename "$native")"

dpkg-deb --extract "$deb" "$work/files"
dpkg-deb --extract "$native" "$work/native"
elves=0
while IFS= read -r -d '' path; do
  kind=$(file -b "$path")
  [[ $kind == ELF* ]] || continue
  elves=$((elves + 1))
  if [[ $kind != *"$elf"* ]]; then
    echo "${path#"$work/files"} is not built for $cpu: $kind"
    exit 1
  fi
done < <(find "$work/files" -type f -print0)
[ "$elves" -gt 0 ] || { echo "no programs in $(basename "$deb")"; exit 1; }
echo "its $elves ELF files: $elf"

# The programs' interpreter and libraries are this machine's of that
# architecture, in their multiarch folders, which qemu-user finds where the
# program names them. After 600 frames, and after 6088, where a build that
# fuses multiply-adds (as GCC does on ARM unless told not to) is known to
# differ.
for frames in 600 6088; do
  state=(--logic-only --frames "$frames" --seed 1 --dump-state -)
  "$work/native/usr/bin/tarrow-render" "${state[@]}" >"$work/native.json" 2>"$work/native.log" ||
    { cat "$work/native.log"; exit 1; }
  "qemu-$cpu-static" "$work/files/usr/bin/tarrow-render" "${state[@]}" >"$work/cross.json" \
    2>"$work/cross.log" || { cat "$work/cross.log"; exit 1; }
  if ! cmp "$work/native.json" "$work/cross.json"; then
    echo "tarrow-render ${state[*]} differs under qemu-$cpu-static"
    exit 1
  fi
  echo "tarrow-render ${state[*]} under qemu-$cpu-static: the same" \
    "$(wc -c <"$work/cross.json") bytes as $(basename "$native")'s"
done
