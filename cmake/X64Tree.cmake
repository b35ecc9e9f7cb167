# Builds an x86_64 Windows tree inside the i686 target tree. The program ships
# as i686; this tree proves that the framework and the skin engine are 64-bit
# clean: it builds only the framework, the engine and their Windows tests
# (QUIRN_ENGINE_ONLY) and runs them under 64-bit Wine in a prefix of their own.
# Its tests join this tree's CTest run with names ending in "_x64".
option(QUIRN_X64 "Build the framework, the skin engine and their Windows tests for x86_64 as well" ON)
if(NOT QUIRN_X64 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()
include(ExternalProject)

set(QUIRN_X64_DIR ${CMAKE_BINARY_DIR}/x64)
ExternalProject_Add(quirn_x64
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${QUIRN_X64_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-x86_64-w64-mingw32.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DQUIRN_ENGINE_ONLY=ON
             -DQUIRN_FRAMEWORK_ONLY=OFF  # trees configured before the engine joined had it on
             -DQUIRN_TESTS=ON
             -DQUIRN_TEST_SUFFIX=_x64
             # The form compiler and the other build tools come from this tree's host tree.
             -DQUIRN_HOST_BIN=${QUIRN_HOST_BIN}
             -DQUIRN_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix64
  DEPENDS ${QUIRN_HOST_TREE_TARGET}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

file(WRITE ${CMAKE_BINARY_DIR}/X64Tests.cmake
  "if(EXISTS \"${QUIRN_X64_DIR}/CTestTestfile.cmake\")\n  subdirs(\"${QUIRN_X64_DIR}\")\nendif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/X64Tests.cmake)
