# GoogleTest and GoogleMock from Debian's googletest source package, built
# with the tree's own compiler (so the Windows tests get a MinGW build).
set(QUIRN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${QUIRN_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found at ${QUIRN_GTEST_SOURCE} (apt-get install googletest)")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUIRN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)

# quirn_add_test(name SOURCES ... LIBS ... [OWN_MAIN] [WMAIN] [TIMEOUT s] [ENV k=v ...]):
# one test program, one CTest entry (per-test discovery would start Wine once
# per case). OWN_MAIN: the sources define main; WMAIN: they define wmain.
function(quirn_add_test name)
  cmake_parse_arguments(T "OWN_MAIN;WMAIN" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  quirn_project_options(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest)
  if(NOT T_OWN_MAIN AND NOT T_WMAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(QUIRN_WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    if(T_WMAIN)
      target_link_options(${name} PRIVATE -municode)
    endif()
  endif()
  # QUIRN_TEST_SUFFIX tells apart the CTest entries of a second target tree.
  set(test_name ${name}${QUIRN_TEST_SUFFIX})
  add_test(NAME ${test_name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${test_name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_ENV)
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()
