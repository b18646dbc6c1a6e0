# The module's resources as PE resources (included by resources/ on Windows):
# resgen, run natively, writes each resource's bytes to a file; a resource
# script names those files, and the resource compiler puts them in the module.
# The bytes are the ones the Linux module carries in its resource section,
# made by the same generator from the same table.
#
# The code property: '8664' alone. This file holds x86-64 code only; a 64-bit
# host looks for '8664', and a 32-bit host that found 'wx86' would try to load
# a module it cannot load. With one code property the list keeps its eight
# properties, as on Linux.
set(VLH_WINDOWS_ENTRY_POINT 8664 CACHE STRING "Code property of the Windows module: 8664 or both")
set_property(CACHE VLH_WINDOWS_ENTRY_POINT PROPERTY STRINGS 8664 both)

set(VLH_WINDOWS_RESOURCE_DIR ${CMAKE_CURRENT_BINARY_DIR}/windows-resources CACHE INTERNAL "")
set(VLH_WINDOWS_RESOURCE_SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/Honer.rc)
add_custom_command(
  OUTPUT ${VLH_WINDOWS_RESOURCE_SCRIPT}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VLH_WINDOWS_RESOURCE_DIR}
  COMMAND resgen --resource-dir ${VLH_WINDOWS_RESOURCE_DIR} --entry-point ${VLH_WINDOWS_ENTRY_POINT}
  COMMAND ${CMAKE_COMMAND} -DDIR=${VLH_WINDOWS_RESOURCE_DIR} -DOUTPUT=${VLH_WINDOWS_RESOURCE_SCRIPT}
          -P ${PROJECT_SOURCE_DIR}/windows/WriteResourceScript.cmake
  DEPENDS resgen ${PROJECT_SOURCE_DIR}/windows/WriteResourceScript.cmake
  COMMENT "Generating the module's PE resources"
  VERBATIM)
add_library(vlh_module_resources OBJECT ${VLH_WINDOWS_RESOURCE_SCRIPT})
