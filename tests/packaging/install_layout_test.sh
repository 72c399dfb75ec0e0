#!/usr/bin/env bash
# make install lays out, under the prefix, the programs in bin, the watcher
# in libexec/tarrow, the manual pages, the desktop entry with its metadata and
# icons, the completion and the licence, and nothing else; the installed
# programs run from there and print the project's version.
# Usage: install_layout_test.sh BUILD VERSION
set -euo pipefail
build=$1
version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /opt/tarrow >/dev/null
prefix=$root/opt/tarrow

expected=(
  bin/tarrow
  bin/tarrow-render
  libexec/tarrow/tarrow-watch
  share/applications/org.example.tarrow.desktop
  share/bash-completion/completions/tarrow
  share/bash-completion/completions/tarrow-render
  share/doc/tarrow/changelog.gz
  share/doc/tarrow/copyright
  share/man/man1/tarrow-render.1.gz
  share/man/man6/tarrow.6.gz
  share/metainfo/org.example.tarrow.metainfo.xml
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/org.example.tarrow.png")
done
diff -u --label expected --label installed <(printf '%s\n' "${expected[@]}" | sort) \
  <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)

for program in bin/tarrow bin/tarrow-render libexec/tarrow/tarrow-watch; do
  [ -x "$prefix/$program" ] || { echo "$program is not executable"; exit 1; }
done
for program in tarrow tarrow-render; do
  printed=$("$prefix/bin/$program" --version)
  [[ $printed =~ ^$program\ ${version//./\\.}( \(git [0-9a-f]+(-dirty)?\))?$ ]] ||
    { echo "$program --version printed '$printed', not version $version"; exit 1; }
done
