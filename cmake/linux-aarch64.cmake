# Cross-building for Linux on 64-bit ARM (aarch64) with Debian's cross
# compiler. The programs that only state the scene (TARROW_STATE_ONLY) link
# the compiler's own C and C++ libraries statically, so that they run under
# qemu-user without a root of that CPU's libraries. The whole build (the
# Debian package for arm64, make deb ARCH=arm64) links the window system's and
# GL's libraries of that CPU, installed beside this machine's by multiarch
# (their -dev packages of that architecture): they are found in the CPU's
# multiarch folders under this machine's root, /usr/lib/aarch64-linux-gnu
# (libraries and their CMake configurations), and the headers, the same for
# every CPU, in this machine's /usr/include.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# The compiler's own root first, then this machine's, searched in the
# multiarch folders of the CPU the compiler names (CMAKE_LIBRARY_ARCHITECTURE).
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config reads the CPU's own .pc files (its -dev packages, through multiarch).
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
