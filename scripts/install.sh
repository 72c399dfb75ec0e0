#!/usr/bin/env bash
# make install and make uninstall.
#
# install puts what a build folder installs under PREFIX, below DESTDIR where
# given (taken against the current folder where relative), and adds to the
# list LIST the files it installs and the folders it makes, these with a
# trailing /: installing again, over the same place or elsewhere, keeps what
# the list already holds. The list is written before anything is installed,
# so that an install that fails half-way can still be removed.
#
# uninstall removes the listed files, then those of the listed folders that
# are left empty, deepest first, then the list: never a folder that was there
# before make install, nor one that holds something else.
#
# PREFIX and DESTDIR come in the environment, whole, as make hands them on:
# a folder's name may hold spaces, & or anything else but a newline.
# Usage: PREFIX=ABSOLUTE-FOLDER [DESTDIR=FOLDER] scripts/install.sh install BUILD LIST
#        scripts/install.sh uninstall LIST
set -euo pipefail

install_build() {
  local build=$1 list=$2 root='' path
  case ${PREFIX:-} in
  /*) ;;
  *)
    echo "PREFIX must be an absolute folder, not '${PREFIX:-}'" >&2
    exit 1
    ;;
  esac
  if [ -n "${DESTDIR:-}" ]; then
    root=$(realpath -ms -- "$DESTDIR")
    root=${root%/}
  fi

  # The same install into a scratch folder first says which files it puts
  # where, and which folders it needs: those missing now (DESTDIR's own among
  # them) are the ones it makes.
  scratch=$(mktemp -d) # global: the trap runs at the script's exit
  trap 'rm -rf "$scratch"' EXIT
  DESTDIR=$scratch cmake --install "$build" --prefix "$PREFIX" >/dev/null
  local entries=()
  path=$root
  while [ -n "$path" ] && [ ! -e "$path" ]; do
    entries+=("$path/")
    path=${path%/*}
  done
  while IFS= read -r -d '' path; do
    if [ -d "$scratch/$path" ]; then
      [ -e "$root/$path" ] || entries+=("$root/$path/")
    else
      entries+=("$root/$path")
    fi
  done < <(find "$scratch" -mindepth 1 -printf '%P\0')
  touch -- "$list"
  printf '%s\n' "${entries[@]}" | LC_ALL=C sort -u - "$list" >"$list.new"
  mv -- "$list.new" "$list"

  DESTDIR=$root cmake --install "$build" --prefix "$PREFIX" >/dev/null
  echo "Installed under $root$PREFIX; listed in $list"
}

uninstall_list() {
  local list=$1 path files=() folders=()
  [ -f "$list" ] || { echo "Nothing installed to remove: no $list" >&2; exit 1; }
  while IFS= read -r path; do
    case $path in
    */) folders+=("$path") ;;
    ?*) files+=("$path") ;;
    esac
  done <"$list"
  rm -f -- "${files[@]}"
  # A folder sorts after every folder it lies in: backwards, the deepest come
  # first.
  printf '%s\n' "${folders[@]}" | LC_ALL=C sort -r | while IFS= read -r path; do
    [ -z "$path" ] || [ ! -d "$path" ] || rmdir --ignore-fail-on-non-empty -- "$path"
  done
  rm -- "$list"
  echo "Removed what make install had installed"
}

case "${1:-} $#" in
"install 3") install_build "$2" "$3" ;;
"uninstall 2") uninstall_list "$2" ;;
*)
  echo "usage: scripts/install.sh install BUILD LIST | uninstall LIST" >&2
  exit 2
  ;;
esac
