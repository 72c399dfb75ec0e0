# Writes HEADER, defining TARROW_VERSION as VERSION with the git revision of
# SOURCE_DIR where it is a checkout: "1.0.0 (git abc1234)", or
# "1.0.0 (git abc1234-dirty)" with changes not yet committed. The header is
# rewritten only when that changes, so an unchanged revision rebuilds nothing.
# Run at build time: cmake -DSOURCE_DIR=… -DVERSION=… -DHEADER=… -P revision.cmake
set(version "${VERSION}")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --always --dirty --abbrev=7
                          --exclude=*
                  OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(NOT failed AND revision)
    string(APPEND version " (git ${revision})")
  endif()
endif()
file(CONFIGURE OUTPUT "${HEADER}"
     CONTENT "#define TARROW_VERSION \"${version}\"\n" @ONLY)
