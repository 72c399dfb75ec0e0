#!/usr/bin/env bash
# make install lays out, under the prefix, the programs in bin, the watcher
# in libexec/tarrow, the manual pages, the desktop entry with its metadata and
# icons, the completion and the licence, and nothing else, below DESTDIR
# where given, with a space and & in the prefix's name or DESTDIR's; the
# installed programs run from there and print the project's version. A second
# install adds to the first's list, and one make uninstall removes both: their
# files and the folders they made, but not a folder that was there before. A
# relative PREFIX is refused.
# Usage: install_layout_test.sh SOURCE BUILD VERSION
set -euo pipefail
source=$1
build=$2
version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
list=$root/installed-files.txt

# The Makefile's targets on the tree already built (-o programs: not
# configured or built again), with a list of their own and nothing handed
# down from a make that runs the tests.
make_() {
  env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u PREFIX -u DESTDIR \
    make --no-print-directory -C "$source" -o programs BUILD="$build" MANIFEST="$list" "$@"
}

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
  share/xscreensaver/config/tarrow.xml
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/org.example.tarrow.png")
done

# A home whose bin folder is there, empty, before anything is installed.
home="$root/home & away"
mkdir -p "$home/.local/bin"
before=$(cd "$root" && find . | sort)

# Usage: check_install WHERE MAKE-ARGUMENT...: make install with the
# arguments lays out the files under WHERE, and says so.
check_install() {
  local where=$1 printed
  shift
  printed=$(make_ install "$@")
  [ "$printed" = "Installed under $where; listed in $list" ] ||
    { echo "make install $* printed: $printed"; exit 1; }
  diff -u --label expected --label "installed under $where" \
    <(printf '%s\n' "${expected[@]}" | sort) <(cd "$where" && find . ! -type d | sed 's|^\./||' | sort)
}
check_install "$root/stage one&two/opt/tarrow" PREFIX=/opt/tarrow "DESTDIR=$root/stage one&two"
check_install "$home/.local" "PREFIX=$home/.local"

prefix=$home/.local
for program in bin/tarrow bin/tarrow-render libexec/tarrow/tarrow-watch; do
  [ -x "$prefix/$program" ] || { echo "$program is not executable"; exit 1; }
done
for program in tarrow tarrow-render; do
  printed=$("$prefix/bin/$program" --version)
  [[ $printed =~ ^$program\ ${version//./\\.}( \(git [0-9a-f]+(-dirty)?\))?$ ]] ||
    { echo "$program --version printed '$printed', not version $version"; exit 1; }
done

make_ uninstall >/dev/null
diff -u --label "before make install" --label "after make uninstall" \
  <(echo "$before") <(cd "$root" && find . | sort)

if refused=$(make_ install PREFIX=rel "DESTDIR=$root/refused" 2>&1); then
  echo "make install PREFIX=rel installed under $root/refused"
  exit 1
fi
[[ $refused == *"PREFIX must be an absolute folder, not 'rel'"* ]] ||
  { echo "make install PREFIX=rel printed: $refused"; exit 1; }
