#!/usr/bin/env bash
# The Debian package checked as Debian checks packages, and installed as a
# user installs it: lintian finds no errors (its warnings are shown); the
# desktop entry and the AppStream metadata it installs validate; apt-get
# installs it in a clean Debian 12 root, made with mmdebstrap from Debian's own
# packages with man-db added, where tarrow prints its version, tarrow-render
# draws a frame on Mesa's software renderer without a display, and man shows
# tarrow-render's page. The root lives beside the package while the test runs
# and is removed after.
# Usage: deb_test.sh PACKAGE   (as root; TARROW_DEBIAN_MIRROR picks the mirror)
set -euo pipefail
deb=$(realpath "$1")
mirror=${TARROW_DEBIAN_MIRROR:-http://deb.debian.org/debian}
version=$(dpkg-deb --field "$deb" Version)
work=$(mktemp -d "$(dirname "$deb")/deb-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/lint_package.sh" "$deb"

dpkg-deb --extract "$deb" "$work/files"
desktop-file-validate "$work"/files/usr/share/applications/*.desktop
appstreamcli validate-tree --no-net "$work/files" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; exit 1; }
echo "desktop entry and AppStream metadata: valid"

echo "Installing it in a clean Debian 12 root (mmdebstrap, $mirror)"
cp "$deb" "$work/tarrow.deb"
cat >"$work/in-root.sh" <<CHECKS
set -e
apt-get install --yes -q /tmp/tarrow.deb >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; exit 1; }
echo "> \$(tarrow --version)"
tarrow --version | grep -q '^tarrow $version'
test -x /usr/libexec/tarrow/tarrow-watch
tarrow-render --frames 1 --bench >/tmp/bench.txt 2>&1 || { cat /tmp/bench.txt; exit 1; }
echo "> tarrow-render --frames 1 --bench: \$(grep -E '^(frames per second|renderer)' /tmp/bench.txt | tr -s ' ' | paste -sd ',')"
MANWIDTH=80 man tarrow-render | grep -q '^NAME'
echo "> man tarrow-render: \$(MANWIDTH=80 man tarrow-render | sed -n '4s/^ *//p')"
CHECKS
# The hooks run in the root with /proc, /sys and /dev mounted; mmdebstrap
# gives each the root's path as $1.
# shellcheck disable=SC2016
TMPDIR=$work mmdebstrap --quiet --variant=apt --include=man-db \
  --customize-hook="copy-in $work/tarrow.deb $work/in-root.sh /tmp" \
  --customize-hook='chroot "$1" sh /tmp/in-root.sh' \
  bookworm /dev/null "$mirror" >"$work/root.log" 2>&1 ||
  { cat "$work/root.log"; exit 1; }
sed -n 's/^> /  /p' "$work/root.log"
