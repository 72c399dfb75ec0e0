#!/usr/bin/env bash
# Makes the Wine prefix that the Windows tests copy, once: a 64-bit prefix
# made by wineboot without the Mono and Gecko installers' prompts. With
# wine32 installed it runs 32-bit programs too, from its syswow64 folder; a
# template made before wine32 was there has none, and is made again.
# Usage: scripts/wine-template.sh FOLDER
set -euo pipefail
folder=${1:?usage: scripts/wine-template.sh FOLDER}
if [ -f "$folder/system.reg" ] && [ -f "$folder/drive_c/windows/syswow64/kernel32.dll" ]; then
  exit 0
fi
rm -rf "$folder" "$folder.partial"
export WINEPREFIX="$folder.partial" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineboot -i
wineserver -w
mv "$folder.partial" "$folder"
echo "Wine prefix template made in $folder"
