# Runs the Windows programs of a cross build under Wine: CTest starts every
# test program through tools/wine-run with the tree's own Wine prefix, a
# 64-bit one for an x86_64 tree.
set(QUIRN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of this build tree")
if(CMAKE_CROSSCOMPILING)
  set(wine_arch "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(wine_arch --win64)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run ${wine_arch} --prefix ${QUIRN_WINEPREFIX})
endif()
