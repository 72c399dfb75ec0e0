#!/usr/bin/env bash
# Makes the Wine prefix that the Windows tests copy, once: a 64-bit prefix
# made by wineboot without the Mono and Gecko installers' prompts.
# Usage: scripts/wine-template.sh FOLDER
set -euo pipefail
folder=${1:?usage: scripts/wine-template.sh FOLDER}
if [ -f "$folder/system.reg" ]; then
  exit 0
fi
rm -rf "$folder.partial"
export WINEPREFIX="$folder.partial" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineboot -i
wineserver -w
mv "$folder.partial" "$folder"
echo "Wine prefix template made in $folder"
