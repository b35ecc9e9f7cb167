# quirn_host_tool(var name): the path of a build-time tool for custom commands.
function(quirn_host_tool var name)
  if(CMAKE_CROSSCOMPILING)
    set(${var} ${QUIRN_HOST_BIN}/${name} PARENT_SCOPE)
  else()
    set(${var} $<TARGET_FILE:${name}> PARENT_SCOPE)
  endif()
endfunction()
