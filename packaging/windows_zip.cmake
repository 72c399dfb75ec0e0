# The Windows zip: tarrow.exe and the screen saver tarrow.scr, stripped, beside
# README.txt and LICENSE.txt,
# both with the line endings every Windows editor reads. Its name says which
# Windows the demo is built for: tarrow-VERSION-win32.zip or -win64.zip.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TARROW_WINDOWS_BITS 32)
else()
  set(TARROW_WINDOWS_BITS 64)
endif()
install(TARGETS tarrow tarrow-saver RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/docs/windows-readme.txt README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME tarrow-${PROJECT_VERSION}-win${TARROW_WINDOWS_BITS})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
