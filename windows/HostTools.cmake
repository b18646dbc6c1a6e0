# The build-time generators run on the build machine, so a cross build takes
# them from a native build of this repository (VLH_HOST_TOOLS: its build
# folder; scripts/build-windows makes it). Each becomes an imported program
# of the same name, so the rules that run them read as in a native build.
set(VLH_HOST_TOOLS "" CACHE PATH "Native build folder that holds tools/resgen/resgen and tools/recipec/recipec")
foreach(tool resgen recipec)
  set(location ${VLH_HOST_TOOLS}/tools/${tool}/${tool})
  if(NOT EXISTS ${location})
    message(FATAL_ERROR "The Windows build runs the native ${tool}; build it first (scripts/build-windows does) "
                        "and name its build folder with -DVLH_HOST_TOOLS=... (not found: ${location})")
  endif()
  add_executable(${tool} IMPORTED GLOBAL)
  set_target_properties(${tool} PROPERTIES IMPORTED_LOCATION ${location})
endforeach()
