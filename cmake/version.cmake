# The version the programs print with --version: the project's, followed by
# the source revision where the sources are a git checkout, read at every
# build so that a program never names a revision it was not built from.
# tarrow_print_version(target) gives a target TARROW_VERSION, a string such as
# "1.0.0 (git abc1234)", through a header written by revision.cmake.
set(TARROW_VERSION_HEADER ${CMAKE_BINARY_DIR}/generated/tarrow_version.h)
add_custom_target(tarrow_revision
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DVERSION=${PROJECT_VERSION}
          -DHEADER=${TARROW_VERSION_HEADER} -P ${CMAKE_CURRENT_LIST_DIR}/revision.cmake
  BYPRODUCTS ${TARROW_VERSION_HEADER}
  VERBATIM)

function(tarrow_print_version target)
  add_dependencies(${target} tarrow_revision)
  target_compile_options(${target} PRIVATE "SHELL:-include ${TARROW_VERSION_HEADER}")
endfunction()
