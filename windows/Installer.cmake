# What a Windows user installs (included by windows/CMakeLists.txt):
#
#   VellicorHoner-<version>-win64-setup.exe   the installer (windows/installer/, makensis)
#   VellicorHoner-<version>-win64.zip         the same two files, for copying by hand
#
# both in the build folder. They hold Honer.8li without its debug
# information and the user manual the Linux build makes (VLH_MANUAL_PDF;
# scripts/build-windows hands it over) as vlh_help\Honer-Manual-123.pdf. The
# version is the project's, as in the module's version record.
set(VLH_MANUAL_PDF "" CACHE FILEPATH "The user manual (Honer-Manual-123.pdf) a Linux build made, for the installer")
if(NOT EXISTS "${VLH_MANUAL_PDF}")
  message(FATAL_ERROR "The installer needs the user manual a Linux build makes (target manual_pdf); "
                      "name it with -DVLH_MANUAL_PDF=... (scripts/build-windows does). Not found: '${VLH_MANUAL_PDF}'")
endif()
find_program(VLH_MAKENSIS makensis REQUIRED)
find_program(VLH_MINGW_STRIP NAMES ${VLH_MINGW_TRIPLET}-strip REQUIRED)

set(VLH_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files CACHE INTERNAL "")
set(shipped_module ${VLH_PACKAGE_FILES}/Honer.8li)
set(shipped_manual ${VLH_PACKAGE_FILES}/vlh_help/Honer-Manual-123.pdf)
add_custom_command(
  OUTPUT ${shipped_module}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VLH_PACKAGE_FILES}
  COMMAND ${VLH_MINGW_STRIP} --strip-all -o ${shipped_module} $<TARGET_FILE:Honer>
  DEPENDS Honer
  COMMENT "Taking the module without its symbols and debug information"
  VERBATIM)
add_custom_command(
  OUTPUT ${shipped_manual}
  COMMAND ${CMAKE_COMMAND} -E copy ${VLH_MANUAL_PDF} ${shipped_manual}
  DEPENDS ${VLH_MANUAL_PDF}
  VERBATIM)

set(nsis_script ${PROJECT_SOURCE_DIR}/windows/installer/VellicorHoner.nsi)
# makensis NAME OUTPUT [defines]: one installer from the script; warnings are
# errors.
function(vlh_installer name output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${VLH_MAKENSIS} -V2 -WX -NOCD -DVLH_MODULE=${shipped_module} -DVLH_MANUAL=${shipped_manual}
            -DVLH_OUTFILE=${output} ${ARGN} ${nsis_script}
    DEPENDS ${nsis_script} ${shipped_module} ${shipped_manual}
    COMMENT "Making ${name}"
    VERBATIM)
endfunction()

set(VLH_INSTALLER ${CMAKE_BINARY_DIR}/VellicorHoner-${PROJECT_VERSION}-win64-setup.exe CACHE INTERNAL "")
set(VLH_ZIP ${CMAKE_BINARY_DIR}/VellicorHoner-${PROJECT_VERSION}-win64.zip CACHE INTERNAL "")
vlh_installer("the installer" ${VLH_INSTALLER} -DVLH_VERSION=${PROJECT_VERSION})
# The zip: the files as the installer puts them, dated by the module.
add_custom_command(
  OUTPUT ${VLH_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VLH_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${VLH_PACKAGE_FILES}
          ${CMAKE_COMMAND} -E tar cf ${VLH_ZIP} --format=zip Honer.8li vlh_help/Honer-Manual-123.pdf
  DEPENDS ${shipped_module} ${shipped_manual}
  COMMENT "Making the zip of the plug-in and its manual"
  VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${VLH_INSTALLER} ${VLH_ZIP})
