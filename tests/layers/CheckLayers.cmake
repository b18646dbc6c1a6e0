# The module's floors, checked from its sources (cmake -DROOT=<tree> -P):
#
#   3  plugin/                              entry point, dispatch, run driver
#   2  catalogue/ chooser/ about/           what a run offers, asks and remembers
#   1  actionsets/                          reading and playing stored Sets
#   0  hostapi/ platform/ resources/        host access, the system, embedded data
#
# A module file includes headers of its own folder and of lower floors only,
# never of a folder beside or above it, nor of the host, the tools or the
# tests; a module folder's libraries link only libraries of lower floors. The
# host and the tools (host/, tools/, windows/ but its tests) reach the module
# only through the host interface declarations, the four-character codes and
# the action-set reader. Tests, fuzz targets and benchmarks may reach anything.
# Every breach is named; any breach fails.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckLayers.cmake")
endif()

set(floor_hostapi 0)
set(floor_platform 0)
set(floor_resources 0)
set(floor_actionsets 1)
set(floor_catalogue 2)
set(floor_chooser 2)
set(floor_about 2)
set(floor_plugin 3)
set(module_folders hostapi platform resources actionsets catalogue chooser about plugin)
set(host_folders host tools windows)
set(host_may_include hostapi/HostInterface.h hostapi/FourCharCode.h actionsets/ActionSet.h)
set(host_may_link vlh_hostinterface vlh_actionset_reader)

set(breaches "")

# The top folder of a path relative to ROOT, or "" for windows/tests and
# anything outside the module, the host and the tools.
function(area_of path out)
  string(REGEX MATCH "^[^/]+" top "${path}")
  if(path MATCHES "^windows/tests/")
    set(top "")
  endif()
  if(NOT top IN_LIST module_folders AND NOT top IN_LIST host_folders)
    set(top "")
  endif()
  set(${out} "${top}" PARENT_SCOPE)
endfunction()

# Whether `from` (a folder of the module or the host) may use `to` (the
# folder or file reached).
function(may_reach from to file out)
  set(ok TRUE)
  if(to STREQUAL from)
  elseif(from IN_LIST module_folders)
    if(NOT to IN_LIST module_folders OR NOT floor_${to} LESS floor_${from})
      set(ok FALSE)
    endif()
  elseif(to IN_LIST module_folders AND NOT to STREQUAL "resources" AND NOT file IN_LIST host_may_include)
    set(ok FALSE)
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

# Includes.
set(sources "")
set(lists "")
foreach(folder ${module_folders} ${host_folders})
  file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  list(APPEND sources ${found})
  file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${folder}/CMakeLists.txt)
  list(APPEND lists ${found})
endforeach()
foreach(source ${sources})
  area_of("${source}" from)
  if(from STREQUAL "")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      continue() # beside the including file
    endif()
    string(REGEX MATCH "^[^/]+" to "${header}")
    if(to STREQUAL "..")
      list(APPEND breaches "${source}: includes ${header} by a relative path")
      continue()
    endif()
    if(NOT EXISTS ${ROOT}/${header})
      continue() # a library's own header, not ours
    endif()
    may_reach(${from} ${to} ${header} ok)
    if(NOT ok)
      list(APPEND breaches "${source}: includes ${header}")
    endif()
  endforeach()
endforeach()

# Links: which folder defines each library, then who links what.
foreach(list_file ${lists})
  get_filename_component(folder ${list_file} DIRECTORY)
  area_of("${folder}/" area)
  if(area STREQUAL "")
    continue()
  endif()
  file(READ ${ROOT}/${list_file} text)
  string(REGEX MATCHALL "add_library\\([A-Za-z0-9_]+" defined "${text}")
  foreach(entry ${defined})
    string(REPLACE "add_library(" "" library "${entry}")
    set(folder_of_${library} ${area})
  endforeach()
  set(text_of_${list_file} "${text}")
  list(APPEND checked_lists ${list_file})
endforeach()
foreach(list_file ${checked_lists})
  get_filename_component(folder ${list_file} DIRECTORY)
  area_of("${folder}/" from)
  string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" links "${text_of_${list_file}}")
  foreach(link ${links})
    string(REGEX REPLACE "^target_link_libraries\\([ \t\n]*([A-Za-z0-9_]+).*$" "\\1" target "${link}")
    string(REGEX MATCHALL "vlh_[A-Za-z0-9_]+" libraries "${link}")
    list(REMOVE_ITEM libraries ${target})
    foreach(library ${libraries})
      if(NOT DEFINED folder_of_${library})
        continue() # an interface target of the build, such as vlh_wx
      endif()
      set(to ${folder_of_${library}})
      if(from IN_LIST module_folders)
        may_reach(${from} ${to} "" ok)
      else()
        set(ok TRUE)
        if(to IN_LIST module_folders AND NOT to STREQUAL "resources" AND NOT library IN_LIST host_may_link)
          set(ok FALSE)
        endif()
      endif()
      if(NOT ok)
        list(APPEND breaches "${list_file}: links ${library} (${to}/)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(breaches)
  list(SORT breaches)
  list(JOIN breaches "\n  " text)
  message(FATAL_ERROR "The module's floors are breached:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "The module's floors hold (${count} sources)")
