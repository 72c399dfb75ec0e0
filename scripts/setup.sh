#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need;
# with the argument "windows", also those of the Windows build and its tests
# (MinGW-w64, Wine).
# As root it installs what is missing; otherwise it prints the command to run.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-mesa0 libgl1-mesa-dri libx11-dev libxrandr-dev
  libgtest-dev libbenchmark-dev libpng-dev libdeflate-dev
  xvfb xauth xserver-xorg-core xserver-xorg-video-dummy openbox xdotool wmctrl x11-utils
  x11-xserver-utils xrestop apitrace python3-jsonschema ffmpeg
)
if [ "${1:-}" = windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64 x11-apps)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
