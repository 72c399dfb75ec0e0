# The Windows zip: tarrow.exe, stripped, beside README.txt and LICENSE.txt,
# both with the line endings every Windows editor reads.
install(TARGETS tarrow RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/docs/windows-readme.txt README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME tarrow-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
