# quirn_project_options(target): warnings as errors for the project's own code,
# Unicode windows on the Windows side.
function(quirn_project_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports a false -Wrestrict on inlined std::string assignment from
    # a string_view (a known compiler fault); it is not a finding in our code.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(QUIRN_WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()
