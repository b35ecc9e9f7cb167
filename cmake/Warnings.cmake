# quirn_project_options(target): warnings as errors for the project's own code,
# Unicode windows on the Windows side.
function(quirn_project_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(QUIRN_WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()
