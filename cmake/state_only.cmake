# The configuration that builds only what states the scene (TARROW_STATE_ONLY),
# for a CPU whose window system and GL libraries this machine need not have:
# the programs are linked statically, with the cross compiler's own libraries.

add_link_options(-static)

add_subdirectory(platform)
add_subdirectory(options)
add_subdirectory(framework)
add_subdirectory(scene)
add_subdirectory(headless)
add_subdirectory(tools/tarrow-state)

# The renderer's file formats, checked from known bytes, where the CPU's
# libdeflate is installed (its -dev package of that architecture).
option(TARROW_CODEC_CHECK "Build the file formats' check (needs libdeflate for the CPU)" OFF)
if(TARROW_CODEC_CHECK)
  add_subdirectory(codecs)
  add_subdirectory(tests/cross)
endif()
