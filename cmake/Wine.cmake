# Runs the Windows programs of a cross build under Wine: CTest starts every
# test program through tools/wine-run with the tree's own Wine prefix.
set(QUIRN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of this build tree")
if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${QUIRN_WINEPREFIX})
endif()
