# GoogleTest and GoogleMock from Debian's googletest source package, built
# with the tree's own compiler (so the Windows tests get a MinGW build).
set(QUIRN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${QUIRN_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found at ${QUIRN_GTEST_SOURCE} (apt-get install googletest)")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUIRN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)

# The CTest resource locks of the Wine desktops. Each Wine prefix (the i686 tree's, the x86_64 tree's) has
# one desktop, shared by every program that runs in it; each desktop has an X server of its own
# (tools/wine-env.sh), so the two never fight over one pointer.
set(QUIRN_DESKTOP_LOCK quirn_desktop${QUIRN_TEST_SUFFIX})
set(QUIRN_ALL_DESKTOP_LOCKS quirn_desktop quirn_desktop_x64)

# quirn_add_test(name SOURCES ... LIBS ... [OWN_MAIN] [WMAIN] [DESKTOP] [INPUT] [TIMEOUT s] [ENV k=v ...]):
# one test program, one CTest entry (per-test discovery would start Wine once
# per case). OWN_MAIN: the sources define main; WMAIN: they define wmain. In the
# host tree the program and the portable libraries it links run under ASan and UBSan.
# DESKTOP: the program shows top-level windows (and may read back what they show on the screen): it
#   holds its desktop's lock, so no other such program covers its windows, reads its pixels or takes the
#   foreground while it runs. Programs without it run beside everything; a window one of them shows fails
#   its test (tests/support/DesktopGuard.cpp).
# INPUT: the program sends real mouse and keyboard input (SendInput), which goes to whatever window is in
#   front: it holds every desktop's lock (implies DESKTOP), so that no other windowed program shares the
#   machine while it waits on the system's answers to its input.
function(quirn_add_test name)
  cmake_parse_arguments(T "OWN_MAIN;WMAIN;DESKTOP;INPUT" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  quirn_project_options(${name})
  # Host tests run the portable code under the sanitizers (cmake/Instrumented.cmake).
  quirn_instrumented(libs ${T_LIBS})
  target_link_libraries(${name} PRIVATE ${libs} GTest::gmock GTest::gtest)
  if(QUIRN_INSTRUMENT)
    target_compile_options(${name} PRIVATE ${QUIRN_SANITIZED_COMPILE_FLAGS})
    target_link_options(${name} PRIVATE ${QUIRN_SANITIZER_FLAGS})
  endif()
  if(NOT T_OWN_MAIN AND NOT T_WMAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(QUIRN_WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    if(T_WMAIN)
      target_link_options(${name} PRIVATE -municode)
    endif()
    target_link_libraries(${name} PRIVATE quirn_desktop_guard)
  endif()
  # QUIRN_TEST_SUFFIX tells apart the CTest entries of a second target tree.
  set(test_name ${name}${QUIRN_TEST_SUFFIX})
  add_test(NAME ${test_name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${test_name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_INPUT)
    set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK "${QUIRN_ALL_DESKTOP_LOCKS}")
    list(APPEND T_ENV QUIRN_TEST_DESKTOP=1)
  elseif(T_DESKTOP)
    set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK ${QUIRN_DESKTOP_LOCK})
    list(APPEND T_ENV QUIRN_TEST_DESKTOP=1)
  endif()
  if(T_ENV)
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()
