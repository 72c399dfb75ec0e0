# Cross-building for Linux on s390x (64-bit, big-endian) with Debian's cross
# compiler, whose own C and C++ libraries the programs link statically
# (TARROW_STATE_ONLY), so that they run under qemu-user without a root of
# that CPU's libraries. The compiler also reads this machine's /usr/include
# (headers the same for every CPU, GL's among them) and links libraries of
# that CPU from its multiarch folder (their -dev packages), as pkg-config
# describes them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# pkg-config reads the CPU's own .pc files (its -dev packages, through multiarch).
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/s390x-linux-gnu/pkgconfig:/usr/share/pkgconfig)
