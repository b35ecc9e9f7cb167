# Instrumented twins of the portable libraries (host tree built with clang).
#
# The host tests and the fuzzers run the portable code under AddressSanitizer and
# UndefinedBehaviorSanitizer; the fuzzers also need coverage instrumentation in it. Each portable library
# therefore gets one twin, compiled once from the same sources with both sanitizers, any finding fatal,
# and (with QUIRN_FUZZ) libFuzzer's coverage instrumentation (-fsanitize=fuzzer-no-link). The host tests
# and every fuzzer link the twins; the tools and benchmarks keep the plain, optimised libraries.
# quirn_instrumented(out_var lib...) names the twins of libs (other items pass through unchanged).

set(QUIRN_INSTRUMENT OFF)
if(NOT QUIRN_WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(QUIRN_INSTRUMENT ON)
endif()
set(QUIRN_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# Instrumented code is compiled at -O1 with line tables only: reports still name file and line, and the
# sanitizers' code is not worth -O2's compile time.
set(QUIRN_SANITIZED_COMPILE_FLAGS ${QUIRN_SANITIZER_FLAGS} -O1 -gline-tables-only)
set(QUIRN_INSTRUMENT_FLAGS ${QUIRN_SANITIZED_COMPILE_FLAGS})
if(QUIRN_FUZZ)
  list(APPEND QUIRN_INSTRUMENT_FLAGS -fsanitize=fuzzer-no-link)
endif()

# Sources of the twins that are left without comparison tracing: tracing every comparison of the LZH
# encoder's match search takes most of each fuzz run and finds nothing edge coverage would not.
set(QUIRN_INSTRUMENT_NO_TRACE_CMP ${PROJECT_SOURCE_DIR}/skin/data/LzhEncoder.cpp)

function(quirn_instrumented_twin lib)
  set(twin ${lib}_instrumented)
  if(TARGET ${twin})
    return()
  endif()
  get_target_property(source_dir ${lib} SOURCE_DIR)
  get_target_property(sources ${lib} SOURCES)
  set(absolute_sources "")
  foreach(source ${sources})
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${source_dir})
    list(APPEND absolute_sources ${source})
  endforeach()
  add_library(${twin} STATIC ${absolute_sources})
  foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES COMPILE_DEFINITIONS
                   INTERFACE_COMPILE_DEFINITIONS COMPILE_OPTIONS)
    get_target_property(value ${lib} ${property})
    if(value)
      set_property(TARGET ${twin} PROPERTY ${property} ${value})
    endif()
  endforeach()
  target_compile_options(${twin} PRIVATE ${QUIRN_INSTRUMENT_FLAGS})
  foreach(source ${QUIRN_INSTRUMENT_NO_TRACE_CMP})
    if(source IN_LIST absolute_sources AND QUIRN_FUZZ)
      set_property(SOURCE ${source} TARGET_DIRECTORY ${twin} APPEND PROPERTY COMPILE_OPTIONS
                   -fno-sanitize-coverage=trace-cmp)
    endif()
  endforeach()
  get_target_property(dependencies ${lib} LINK_LIBRARIES)
  if(dependencies)
    quirn_instrumented(twin_dependencies ${dependencies})
    target_link_libraries(${twin} PUBLIC ${twin_dependencies})
  endif()
endfunction()

function(quirn_instrumented out_var)
  set(result "")
  foreach(item ${ARGN})
    if(QUIRN_INSTRUMENT AND TARGET ${item})
      get_target_property(type ${item} TYPE)
      get_target_property(imported ${item} IMPORTED)
      get_target_property(aliased ${item} ALIASED_TARGET)
      get_target_property(source_dir ${item} SOURCE_DIR)
      string(FIND "${source_dir}/" "${PROJECT_SOURCE_DIR}/" at)
      # The project's own static libraries (not GoogleTest's).
      if(type STREQUAL "STATIC_LIBRARY" AND NOT imported AND NOT aliased AND at EQUAL 0)
        quirn_instrumented_twin(${item})
        set(item ${item}_instrumented)
      endif()
    endif()
    list(APPEND result ${item})
  endforeach()
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()
