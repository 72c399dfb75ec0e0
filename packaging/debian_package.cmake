# The Debian package, tarrow_VERSION_ARCH.deb, of what make install lays out
# (make deb configures for the prefix /usr). Its dependencies are the
# libraries dpkg-shlibdeps finds in the programs, and what they load at run
# time, which it cannot see: EGL (the loader and Mesa's vendor library) and
# Mesa's drivers, among them the software renderer used where there is no
# GPU. The install holds its copyright file (the licence) and its changelog
# where Debian looks for them, in the documentation folder.
set(TARROW_MAINTAINER "tarrow developers <tarrow@example.org>")

# The copyright file: the notice and terms of LICENSE, the terms in its
# layout (each line indented by one space, an empty line as " .").
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)\n\n(.*)" notice "${licence}")
set(TARROW_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " TARROW_LICENSE_TERMS " ${terms}")
configure_file(debian/copyright.in copyright @ONLY)

configure_file(debian/changelog.in changelog @ONLY)
execute_process(COMMAND gzip -9nf changelog WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARROW_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl1, libegl-mesa0, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Cross-built, the package is of the architecture the compiler builds for (not
# this machine's), and dpkg-shlibdeps looks the programs' libraries up among
# that architecture's packages, as DEB_HOST_ARCH names it while cpack runs.
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env CC=${CMAKE_CXX_COMPILER}
                          dpkg-architecture -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  file(CONFIGURE OUTPUT cpack_host_arch.cmake
       CONTENT "set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})\n")
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_host_arch.cmake)
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "real-time OpenGL demo of a dark city under wandering lights")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A dark city of 2400 lit blocks under eight wandering coloured spotlights,
with glowing floor tiles, drifting clouds and 801 movers that wander the
block grid, seen from a camera that travels in straight legs. It runs full
screen at 1680x1050, or in a window, and gives the desktop its display mode
back however it ends.
.
tarrow-render draws the same scene without a display, frame-exact, to PNG
images, YUV4MPEG2 video and JSON state dumps, and measures frame times.")
