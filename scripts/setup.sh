#!/usr/bin/env bash
# Installs the Debian packages of the groups named (run when none is):
#   run      building and running the programs: compiler, CMake, SDL2, Mesa
#   test     the test suite: run's, and the libraries, X servers and tools the
#            tests use
#   windows  the Windows build and its tests: MinGW-w64, Wine
#   web      the browser build and its tests: test's, Emscripten, Chromium,
#            and npm where no node package manager is there
#   wayland  test's, the compositors of today's desktops and what the tests
#            ask of them (buses, XWayland's tools, reading the screen back)
#   deb      the Debian package and its checks: run's, Debian's packaging
#            tools, lintian, mmdebstrap, the desktop entry's validators
#   deb-ARCH the Debian package for another architecture (arm64), cross-built:
#            deb's, the cross compiler, the libraries the programs link for
#            that architecture (its -dev packages, side by side with this
#            machine's by multiarch), and qemu-user to run its programs
#   cross    the state program on other CPUs and systems: test's, the cross
#            compilers for ARM, 32-bit x86 and s390x, qemu-user, MinGW-w64,
#            Wine, and s390x's libdeflate
#   farm     recording on a batch system, and its test's one-machine cluster:
#            run's, Slurm's controller, node daemon and commands, MUNGE, pgrep
# Packages of another architecture (name:arch) have it added to dpkg first.
# As root it installs what is missing, waiting for another package manager
# to finish first; otherwise it prints the command to run as root.
set -euo pipefail

run=(
  build-essential cmake pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-mesa0 libgl1-mesa-dri libx11-dev libxrandr-dev
  libdeflate-dev nlohmann-json3-dev
)
test=(
  "${run[@]}" libgtest-dev libbenchmark-dev libpng-dev
  xvfb xauth xserver-xorg-core xserver-xorg-video-dummy openbox xdotool wmctrl x11-utils
  x11-xserver-utils xrestop apitrace python3-jsonschema ffmpeg xscreensaver
)
deb=("${run[@]}" dpkg-dev file lintian mmdebstrap desktop-file-utils appstream)
# Wine for both builds: its 32-bit side draws through 32-bit Mesa and Xlib,
# which wine32 only recommends, and its GL calls are traced by apitrace's
# 32-bit tracer.
windows=(cmake g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev g++-mingw-w64-i686-posix
  mingw-w64-i686-dev wine wine64 wine32:i386 libgl1:i386 libglx-mesa0:i386
  libgl1-mesa-dri:i386 libxrandr2:i386 libxrender1:i386 libxxf86vm1:i386 libxcursor1:i386
  libxi6:i386 libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 apitrace-tracers:i386
  x11-apps)

packages=()
for group in "${@:-run}"; do
  case $group in
  run) packages+=("${run[@]}") ;;
  test) packages+=("${test[@]}") ;;
  windows) packages+=("${windows[@]}") ;;
  cross)
    packages+=("${test[@]}" "${windows[@]}" g++-aarch64-linux-gnu g++-i686-linux-gnu
      g++-s390x-linux-gnu qemu-user-static libdeflate-dev:s390x)
    ;;
  web)
    packages+=("${test[@]}" emscripten chromium)
    command -v npm >/dev/null || packages+=(npm)
    ;;
  wayland)
    packages+=("${test[@]}" mutter gnome-shell kwin-wayland xwayland dbus dbus-bin libglib2.0-bin
      python3-dbus x11-apps libdecor-0-plugin-1-cairo)
    ;;
  deb) packages+=("${deb[@]}") ;;
  farm) packages+=("${run[@]}" slurm-wlm munge procps) ;;
  deb-?*)
    arch=${group#deb-}
    if ! gnu_type=$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null); then
      echo "setup.sh: no architecture '$arch' for group '$group'" >&2
      exit 2
    fi
    # The kernel's headers, under the C library's, named for the version
    # both architectures must share (below).
    packages+=("${deb[@]}" "g++-$gnu_type" qemu-user-static "linux-libc-dev:$arch")
    for package in libsdl2-dev libgl-dev libglu1-mesa-dev libx11-dev libxrandr-dev libdeflate-dev; do
      packages+=("$package:$arch")
    done
    ;;
  *)
    echo "setup.sh: no group '$group' (run, test, windows, web, wayland, deb, deb-ARCH, cross, farm)" >&2
    exit 2
    ;;
  esac
done

missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
  else
    echo "Missing packages. Install them by running this line as root:" >&2
    echo "  apt-get install ${missing[*]}" >&2
  fi
  exit 1
fi

# apt-get waits for dpkg's lock itself (DPkg::Lock::Timeout), but not for the
# package lists' lock or the download folder's: those are tried again while
# another package manager holds them.
wait_s=600
apt_get() {
  local log waited=0
  log=$(mktemp)
  until apt-get -o DPkg::Lock::Timeout=$wait_s -qq "$@" >"$log" 2>&1; do
    if ! grep -q 'Could not get lock' "$log" || [ $waited -ge $wait_s ]; then
      cat "$log" >&2
      rm -f "$log"
      return 1
    fi
    [ $waited -gt 0 ] || echo "Waiting for another package manager to finish"
    sleep 5
    waited=$((waited + 5))
  done
  rm -f "$log"
}

# Architectures the packages name that dpkg does not know yet.
for package in "${missing[@]}"; do
  arch=${package#*:}
  if [ "$arch" != "$package" ] && [ "$arch" != "$(dpkg --print-architecture)" ] &&
    ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    dpkg --add-architecture "$arch"
  fi
done

# Packages are taken from the release's own suites (whose point releases
# carry the security fixes) in preference to the security suite: a library
# installed for two architectures must have one version for both, and mirrors
# of the security suite may lack or lag in other architectures' lists, which
# would leave such a library installable for this machine's only. Chromium,
# a program of this machine's architecture alone that Debian keeps current
# through the security suite only, still takes the newest.
preferences=$(mktemp)
trap 'rm -f "$preferences"' EXIT
cat >"$preferences" <<'PINS'
Package: *
Pin: release l=Debian-Security
Pin-Priority: 100

Package: chromium*
Pin: release l=Debian-Security
Pin-Priority: 500
PINS

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A list that could not be fetched (another architecture's, on a mirror
# between syncs) is no reason to stop: what cannot be installed is told next.
apt_get update || echo "Some package lists could not be fetched; installing from the rest"

# The kernel's headers for another architecture must be the very version of
# this machine's (the package is installed once per architecture, its files
# shared), and this machine's may come from a suite that other architectures'
# lists lack (the security suite). Both are installed at the newest version
# that both architectures' lists hold: headers, which an older point release
# of the same kernel serves as well (a downgrade where this machine's is newer).
install=()
for package in "${missing[@]}"; do
  if [[ $package != linux-libc-dev:* ]]; then
    install+=("$package")
    continue
  fi
  arch=${package#*:}
  native_versions=$(apt-cache madison linux-libc-dev | awk '{ print $3 }')
  shared=$(apt-cache madison "$package" | awk '{ print $3 }' | grep -Fxm1 "$native_versions" || true)
  if [ -z "$shared" ]; then
    echo "setup.sh: no version of linux-libc-dev is listed for both $(dpkg --print-architecture) and $arch" >&2
    exit 1
  fi
  install+=("linux-libc-dev=$shared" "$package=$shared" --allow-downgrades)
done
apt_get -o Dir::Etc::Preferences="$preferences" install -y --no-install-recommends "${install[@]}"
