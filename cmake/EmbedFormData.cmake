# cmake -DTEMPLATE=<form.frm> -DOUTPUT=<form.frm>
#       -DEMBED_<NAME>=<counted|plain>:<file> [-DEMBED_<NAME2>=...] -P EmbedFormData.cmake
#
# Writes a text form with files embedded as binary property values: every
# "@NAME@" of the template becomes the bytes of the file given by EMBED_NAME,
# spelled in the text form's hexadecimal braces. "counted" puts the file's
# length (4 bytes, little-endian) before its bytes, as a skin data component's
# SkinStream holds its package; "plain" gives the bytes alone, as a picture's
# Data holds its .ico or .bmp file. A placeholder missing from the template, or
# one left in it without a value, stops the build.
cmake_minimum_required(VERSION 3.20)
foreach(var TEMPLATE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedFormData.cmake: ${var} is not set")
  endif()
endforeach()

set(hex_digits "0123456789ABCDEF")
# Bytes written on one line of the braces (two hexadecimal digits each).
set(bytes_per_line 32)
math(EXPR digits_per_line "${bytes_per_line} * 2")

# The four bytes of a 32-bit little-endian count, in hexadecimal.
function(little_endian_hex count out_var)
  set(result "")
  set(rest ${count})
  foreach(i RANGE 3)
    math(EXPR byte "${rest} % 256")
    math(EXPR rest "${rest} / 256")
    math(EXPR hi "${byte} / 16")
    math(EXPR lo "${byte} % 16")
    string(SUBSTRING "${hex_digits}" ${hi} 1 hi_digit)
    string(SUBSTRING "${hex_digits}" ${lo} 1 lo_digit)
    string(APPEND result "${hi_digit}${lo_digit}")
  endforeach()
  set(${out_var} "${result}" PARENT_SCOPE)
endfunction()

# The binary value of a file, in braces, indented as a property of the form.
function(binary_value kind file out_var)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "EmbedFormData.cmake: ${file} does not exist")
  endif()
  file(READ "${file}" hex HEX)
  string(TOUPPER "${hex}" hex)
  if(kind STREQUAL "counted")
    file(SIZE "${file}" size)
    little_endian_hex(${size} prefix)
    set(hex "${prefix}${hex}")
  elseif(NOT kind STREQUAL "plain")
    message(FATAL_ERROR "EmbedFormData.cmake: unknown kind '${kind}' (counted or plain)")
  endif()
  string(LENGTH "${hex}" length)
  set(value "{")
  set(pos 0)
  while(pos LESS length)
    string(SUBSTRING "${hex}" ${pos} ${digits_per_line} chunk)
    string(APPEND value "\n    ${chunk}")
    math(EXPR pos "${pos} + ${digits_per_line}")
  endwhile()
  string(APPEND value "}")
  set(${out_var} "${value}" PARENT_SCOPE)
endfunction()

file(READ "${TEMPLATE}" text)
get_cmake_property(variables VARIABLES)
foreach(var IN LISTS variables)
  if(NOT var MATCHES "^EMBED_([A-Z0-9_]+)$")
    continue()
  endif()
  set(placeholder "@${CMAKE_MATCH_1}@")
  if(NOT "${${var}}" MATCHES "^([a-z]+):(.+)$")
    message(FATAL_ERROR "EmbedFormData.cmake: ${var} must be counted:<file> or plain:<file>")
  endif()
  set(kind "${CMAKE_MATCH_1}")
  set(file "${CMAKE_MATCH_2}")
  string(FIND "${text}" "${placeholder}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "EmbedFormData.cmake: ${TEMPLATE} has no ${placeholder}")
  endif()
  binary_value(${kind} "${file}" value)
  string(REPLACE "${placeholder}" "${value}" text "${text}")
endforeach()
if(text MATCHES "@[A-Z][A-Z0-9_]*@")
  message(FATAL_ERROR "EmbedFormData.cmake: ${TEMPLATE} leaves ${CMAKE_MATCH_0} without a value")
endif()

file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
