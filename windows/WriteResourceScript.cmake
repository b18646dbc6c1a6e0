# cmake -DDIR=dir -DOUTPUT=file.rc -P WriteResourceScript.cmake
# Writes the resource script of the Windows module from the files resgen
# --resource-dir wrote, one per resource (<type>_<id>.bin): the property lists
# and terminologies as resources of their own named type, the version record
# as the system's version resource (type 16), all in US English (1033).
file(GLOB resources RELATIVE ${DIR} ${DIR}/*.bin)
list(SORT resources)
set(script "// Generated from the files resgen wrote; do not edit.\nLANGUAGE 0x09, 0x01\n")
foreach(file IN LISTS resources)
  if(NOT file MATCHES "^([A-Z]+)_([0-9]+)\\.bin$")
    message(FATAL_ERROR "unexpected resource file ${file}")
  endif()
  set(type ${CMAKE_MATCH_1})
  set(id ${CMAKE_MATCH_2})
  if(type STREQUAL "VERS")
    set(type 16)
  endif()
  string(APPEND script "${id} ${type} \"${DIR}/${file}\"\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "${script}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
