# Shared part of the MinGW-w64 toolchain files. The posix thread model is
# required: the win32 model lacks std::mutex, which GoogleTest needs.
foreach(candidate ${QUIRN_MINGW_TRIPLET}-g++-posix ${QUIRN_MINGW_TRIPLET}-g++)
  find_program(QUIRN_MINGW_CXX ${candidate})
  if(QUIRN_MINGW_CXX)
    break()
  endif()
endforeach()
string(REGEX REPLACE "g\\+\\+(-posix)?$" "gcc\\1" QUIRN_MINGW_CC "${QUIRN_MINGW_CXX}")
set(CMAKE_C_COMPILER ${QUIRN_MINGW_CC})
set(CMAKE_CXX_COMPILER ${QUIRN_MINGW_CXX})
set(CMAKE_RC_COMPILER ${QUIRN_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUIRN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained exe: no libgcc/libstdc++/winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
