# Builds the host tree (native compiler) inside a cross-built target tree.
# The host tree gives the build-time tools and runs the portable tests and
# fuzzers; its tests are included in this tree's CTest run.
# A tree built by another target tree (the x86_64 one) is given that tree's
# host tools in QUIRN_HOST_BIN and builds no host tree of its own.
if(QUIRN_HOST_BIN)
  set(QUIRN_HOST_TREE_TARGET "")
  return()
endif()
include(ExternalProject)

find_program(QUIRN_HOST_CLANGXX clang++)
find_program(QUIRN_HOST_CLANG clang)
set(host_args -DQUIRN_WIN32=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRN_TESTS=${QUIRN_TESTS})
if(QUIRN_HOST_CLANGXX AND QUIRN_HOST_CLANG)
  # clang gives the host tree libFuzzer and the sanitizers.
  list(APPEND host_args -DCMAKE_CXX_COMPILER=${QUIRN_HOST_CLANGXX} -DCMAKE_C_COMPILER=${QUIRN_HOST_CLANG}
                        -DQUIRN_FUZZ=ON)
endif()

set(QUIRN_HOST_DIR ${CMAKE_BINARY_DIR}/host)
ExternalProject_Add(quirn_host
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${QUIRN_HOST_DIR}
  CMAKE_ARGS ${host_args}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
set(QUIRN_HOST_BIN ${QUIRN_HOST_DIR}/tools)
set(QUIRN_HOST_TREE_TARGET quirn_host)

# The host tree's tests run in this tree's CTest run.
file(WRITE ${CMAKE_BINARY_DIR}/HostTests.cmake
  "if(EXISTS \"${QUIRN_HOST_DIR}/CTestTestfile.cmake\")\n  subdirs(\"${QUIRN_HOST_DIR}\")\nendif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/HostTests.cmake)
