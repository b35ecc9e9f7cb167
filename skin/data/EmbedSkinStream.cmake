# cmake -DPACKAGE=<skin.skn> -DTEMPLATE=<form.frm.in> -DOUTPUT=<form.frm> -P EmbedSkinStream.cmake
#
# Writes a text form with a skin package embedded: every "@SKINSTREAM@" of
# the template becomes the SkinStream binary value of a skin data component
# (the package's length as 4 bytes, little-endian, then its bytes), spelled
# in the text form's hexadecimal braces.
cmake_minimum_required(VERSION 3.20)
foreach(var PACKAGE TEMPLATE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedSkinStream.cmake: ${var} is not set")
  endif()
endforeach()

file(SIZE ${PACKAGE} size)
file(READ ${PACKAGE} hex HEX)
string(TOUPPER "${hex}" hex)

# The length prefix, little-endian.
set(prefix "")
set(rest ${size})
foreach(i RANGE 3)
  math(EXPR byte "${rest} % 256")
  math(EXPR rest "${rest} / 256")
  math(EXPR hi "${byte} / 16")
  math(EXPR lo "${byte} % 16")
  string(SUBSTRING "0123456789ABCDEF" ${hi} 1 hi_digit)
  string(SUBSTRING "0123456789ABCDEF" ${lo} 1 lo_digit)
  string(APPEND prefix "${hi_digit}${lo_digit}")
endforeach()
set(hex "${prefix}${hex}")

# 64 hexadecimal digits (32 bytes) a line, indented as in the form.
string(LENGTH "${hex}" length)
set(value "{")
set(pos 0)
while(pos LESS length)
  string(SUBSTRING "${hex}" ${pos} 64 chunk)
  string(APPEND value "\n    ${chunk}")
  math(EXPR pos "${pos} + 64")
endwhile()
string(APPEND value "}")

file(READ ${TEMPLATE} text)
string(REPLACE "@SKINSTREAM@" "${value}" text "${text}")
file(WRITE ${OUTPUT}.tmp "${text}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
