# The installed layout, by the GNU conventions under the prefix: the programs
# in bin, the watcher among the helper programs in libexec/tarrow (the demo
# starts it; nobody types its name), the manual pages, the desktop entry with
# its AppStream metadata and icons, the completion of both programs' options,
# the X saver daemon's description of the demo as a display mode, and the
# licence.
include(GNUInstallDirs)

# The desktop's name for the demo: its entry, metadata and icon.
set(TARROW_APP_ID org.example.tarrow)

# The programs installed, as one target (make run, make install and make deb
# build it): one build, whose progress counts the steps of all three.
add_custom_target(programs)
add_dependencies(programs tarrow tarrow-render tarrow-watch)

install(TARGETS tarrow tarrow-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tarrow-watch RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tarrow)
# The demo finds its watcher beside itself (the build's folder), else there,
# relative to its own folder, so that every prefix works.
file(RELATIVE_PATH watcher_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/tarrow)
target_compile_definitions(platform PRIVATE TARROW_WATCHER_FROM_BIN="${watcher_from_bin}")

# Manual pages, with the version and the watcher's place filled in and
# compressed as man reads them everywhere.
set(TARROW_WATCHER ${CMAKE_INSTALL_FULL_LIBEXECDIR}/tarrow/tarrow-watch)
foreach(page tarrow.6 tarrow-render.1)
  configure_file(man/${page} man/${page} @ONLY)
  execute_process(COMMAND gzip -9nf man/${page} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCH "[0-9]$" section ${page})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

install(FILES desktop/${TARROW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(desktop/${TARROW_APP_ID}.metainfo.xml ${TARROW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${TARROW_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Where the saver daemon's settings read the descriptions of display modes
# (the daemon's own among them, under /usr).
install(FILES xscreensaver/tarrow.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

# One completion for both programs, loaded by whichever is completed first.
foreach(program tarrow tarrow-render)
  install(FILES bash-completion/tarrow-options RENAME ${program}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endforeach()
