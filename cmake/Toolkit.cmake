# The window toolkit: wxWidgets for the module's dialogs (target vlh_wx), GTK
# and X11 for hosting it and for the host's main window (PkgConfig::VLH_GTK).
# Included by every folder that needs them; the targets are made once.
include_guard(GLOBAL)

if(WIN32)
  # The Windows toolkit draws with the system's own windows: no GTK, no X11.
  # An empty target keeps the link lines the same. VLH_WX_CONFIG names the
  # wx-config of the Windows build (scripts/build-wx-mingw).
  add_library(PkgConfig::VLH_GTK INTERFACE IMPORTED GLOBAL)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(VLH_GTK REQUIRED IMPORTED_TARGET GLOBAL gtk+-3.0 x11)
endif()

find_program(VLH_WX_CONFIG NAMES wx-config REQUIRED)
execute_process(COMMAND ${VLH_WX_CONFIG} --cxxflags
                OUTPUT_VARIABLE wx_cxxflags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${VLH_WX_CONFIG} --libs core,base
                OUTPUT_VARIABLE wx_libs OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(wx_cxxflags UNIX_COMMAND "${wx_cxxflags}")
separate_arguments(wx_libs UNIX_COMMAND "${wx_libs}")

add_library(vlh_wx INTERFACE)
# The toolkit's headers are included as system headers: their own warnings
# are not ours to fix.
foreach(flag IN LISTS wx_cxxflags)
  if(flag MATCHES "^-I(.+)")
    target_include_directories(vlh_wx SYSTEM INTERFACE ${CMAKE_MATCH_1})
  elseif(flag MATCHES "^-D(.+)")
    target_compile_definitions(vlh_wx INTERFACE ${CMAKE_MATCH_1})
  else()
    target_compile_options(vlh_wx INTERFACE ${flag})
  endif()
endforeach()
target_link_libraries(vlh_wx INTERFACE ${wx_libs})
