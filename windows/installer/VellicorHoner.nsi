; The Windows installer of Corvane Labs Vellicor Honer, made by makensis
; (Debian's nsis) in the Windows build (windows/Installer.cmake).
;
; It puts Honer.8li and vlh_help\Honer-Manual-123.pdf side by side into one
; of the host's plug-ins folders: by default the folder every recent host
; version reads, %CommonProgramFiles%\Adobe\Plug-Ins\CC; on its folder page
; the user may pick the Plug-ins folder of one installed host version (from
; HKLM\SOFTWARE\Adobe\Photoshop\<version>, its ApplicationPath) and then any
; folder at all. /S installs silently, /D=folder into that folder.
;
; The uninstaller ("Corvane Labs Vellicor Honer" in Add or Remove Programs)
; removes the two files, the folders this installation made and its own
; entry: nothing else, never the user's remembered choices under
; HKCU\Software\CorvaneLabs. An installed version, older or the same, is
; removed before installing, so there is one copy and one entry.
;
; The installer is a 32-bit program, so that a 32-bit Windows can start it
; and be told plainly that the plug-in needs a 64-bit one.
;
; Defines from the build: VLH_VERSION (the project's version), VLH_MODULE,
; VLH_MANUAL (the files to install), VLH_OUTFILE. For tests only: VLH_FAST
; (quicker compression).

Unicode true
!ifdef VLH_FAST
  SetCompressor zlib
!else
  SetCompressor /SOLID lzma
!endif
RequestExecutionLevel admin
ManifestDPIAware true

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include MUI2.nsh

!define PRODUCT_NAME "Corvane Labs Vellicor Honer"
!define PUBLISHER "Corvane Labs, LLC."
!define INFO_PAGE "https://www.example.com/corvane-labs/vellicor-honer/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneLabs.VellicorHoner"
!define HOSTS_KEY "SOFTWARE\Adobe\Photoshop"
!define SHARED_FOLDER "$COMMONFILES64\Adobe\Plug-Ins\CC"
!define UNINSTALLER_DIR "$PROGRAMFILES64\Corvane Labs\Vellicor Honer"
!define UNINSTALLER "Uninstall Vellicor Honer.exe"
!define MODULE_NAME "Honer.8li"
!define MANUAL_NAME "Honer-Manual-123.pdf"

Name "${PRODUCT_NAME} ${VLH_VERSION}"
OutFile "${VLH_OUTFILE}"
InstallDir "${SHARED_FOLDER}"
BrandingText "${PUBLISHER}"
ShowInstDetails show
ShowUninstDetails show

; The folders this installation made, deepest first, each followed by "|".
Var CreatedFolders
Var FolderPage

; ---------------------------------------------------------------- pages

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs the sharpening plug-in module Vellicor Honer ${VLH_VERSION} \
  (Honer.8li, for 64-bit hosts) and its user manual into a plug-ins folder of your photo-editing host.$\r$\n$\r$\n\
  Close the host before you go on; it finds the plug-in the next time it starts."
!insertmacro MUI_PAGE_WELCOME
Page custom FolderPageShow
!define MUI_DIRECTORYPAGE_TEXT_TOP "Honer.8li and its manual (the vlh_help folder) go into this folder. \
  To use another folder than the one you picked, choose it here."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Plug-ins folder"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VLH_VERSION}.0"
VIFileVersion "${VLH_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} ${VLH_VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VLH_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VLH_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) ${PUBLISHER}"

; ---------------------------------------------------------------- start

Function .onInit
  SetShellVarContext all
  SetRegView 64
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT_NAME} is a plug-in for 64-bit hosts and needs a 64-bit \
      Windows. This Windows is a 32-bit one: nothing was installed." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- the folder page

; The Plug-ins folder of the host version named on the stack (a subkey of
; HOSTS_KEY), or "" when it has no ApplicationPath or that folder is missing.
Function HostPluginsFolder
  Exch $R0
  Push $R1
  ReadRegStr $R0 HKLM "${HOSTS_KEY}\$R0" "ApplicationPath"
  StrCpy $R1 $R0 "" -1
  ${If} $R1 == "\"
    StrCpy $R0 $R0 -1
  ${EndIf}
  ${If} $R0 == ""
  ${OrIfNot} ${FileExists} "$R0\*.*"
    StrCpy $R0 ""
  ${Else}
    StrCpy $R0 "$R0\Plug-ins"
  ${EndIf}
  Pop $R1
  Exch $R0
FunctionEnd

; One radio button: text and folder on the stack (folder on top), at the
; height in $R9 (dialog units, moved on by one line).
Function AddFolderChoice
  Exch $R0 ; folder
  Exch
  Exch $R1 ; text
  Push $R2
  ${NSD_CreateRadioButton} 0 $R9u 100% 12u "$R1"
  Pop $R2
  nsDialogs::SetUserData $R2 "$R0"
  ${NSD_OnClick} $R2 FolderPicked
  ${If} $INSTDIR == $R0
    ${NSD_Check} $R2
  ${EndIf}
  IntOp $R9 $R9 + 14
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

Function FolderPicked
  Pop $0
  nsDialogs::GetUserData $0
  Pop $INSTDIR
FunctionEnd

Function FolderPageShow
  !insertmacro MUI_HEADER_TEXT "Plug-ins Folder" "Choose which versions of the host get the plug-in."
  nsDialogs::Create 1018
  Pop $FolderPage
  ${If} $FolderPage == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 24u "Every recent version of the host reads the shared plug-ins folder; \
    a version's own Plug-ins folder is read by that version only."
  Pop $0
  StrCpy $R9 30
  Push "All recent versions (shared): ${SHARED_FOLDER}"
  Push "${SHARED_FOLDER}"
  Call AddFolderChoice
  StrCpy $R8 0
  ${Do}
    EnumRegKey $R7 HKLM "${HOSTS_KEY}" $R8
    ${If} $R7 == ""
      ${ExitDo}
    ${EndIf}
    IntOp $R8 $R8 + 1
    Push $R7
    Call HostPluginsFolder
    Pop $R6
    ${If} $R6 != ""
      Push "Version $R7 only: $R6"
      Push $R6
      Call AddFolderChoice
    ${EndIf}
  ${Loop}
  nsDialogs::Show
FunctionEnd

; ---------------------------------------------------------------- install

; Notes the folder on the stack and each of its parents that does not exist
; yet, deepest first, in CreatedFolders.
Function NoteNewFolders
  Exch $R0
  Push $R1
  ${DoUntil} ${FileExists} "$R0\*.*"
    StrCpy $CreatedFolders "$CreatedFolders$R0|"
    ${GetParent} "$R0" $R1
    ${If} $R1 == ""
    ${OrIf} $R1 == $R0
      ${ExitDo}
    ${EndIf}
    StrCpy $R0 $R1
  ${Loop}
  Pop $R1
  Pop $R0
FunctionEnd

; An installed version, older or this one, is removed first by its own
; uninstaller, run in place so that we wait for it; then its uninstaller and
; the folder that held it go too.
Function RemovePrevious
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${If} $R0 == ""
    Return
  ${EndIf}
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  DetailPrint "Removing the installed version $R1 first"
  ; "C:\...\Uninstall Vellicor Honer.exe" without its quotes.
  StrCpy $R0 $R0 "" 1
  StrCpy $R0 $R0 -1
  ${GetParent} "$R0" $R2
  ${If} ${FileExists} "$R0"
    ClearErrors
    ExecWait '"$R0" /S _?=$R2' $R3
    ${If} ${Errors}
    ${OrIf} $R3 != 0
      MessageBox MB_OK|MB_ICONSTOP "The installed version $R1 could not be removed. Close the host \
        and run the installer again." /SD IDOK
      Abort
    ${EndIf}
    Delete "$R0"
    RMDir "$R2"
    ${GetParent} "$R2" $R2
    RMDir "$R2"
  ${Else}
    ; Its uninstaller is gone: its files go by hand.
    ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R2 != ""
      Delete "$R2\${MODULE_NAME}"
      Delete "$R2\vlh_help\${MANUAL_NAME}"
      RMDir "$R2\vlh_help"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
FunctionEnd

Section "Vellicor Honer" SectionMain
  SectionIn RO
  SetRegView 64
  Call RemovePrevious

  StrCpy $CreatedFolders ""
  Push "$INSTDIR\vlh_help"
  Call NoteNewFolders
  Push "${UNINSTALLER_DIR}"
  Call NoteNewFolders

  SetOutPath "$INSTDIR"
  File "/oname=${MODULE_NAME}" "${VLH_MODULE}"
  SetOutPath "$INSTDIR\vlh_help"
  File "/oname=${MANUAL_NAME}" "${VLH_MANUAL}"
  SetOutPath "${UNINSTALLER_DIR}"
  WriteUninstaller "${UNINSTALLER_DIR}\${UNINSTALLER}"
  SetOutPath "$TEMP"

  ; Add or Remove Programs.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VLH_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${UNINSTALLER_DIR}\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${UNINSTALLER_DIR}\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"${UNINSTALLER_DIR}\${UNINSTALLER}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${INFO_PAGE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\vlh_help\${MANUAL_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolders" "$CreatedFolders"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB: the module, the manual and the uninstaller.
  SectionGetSize ${SectionMain} $0
  ${GetSize} "${UNINSTALLER_DIR}" "/M=${UNINSTALLER} /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetRegView 64
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
    ${If} ${FileExists} "$R0\${MODULE_NAME}"
      ClearErrors
      Delete "$R0\${MODULE_NAME}"
      ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$R0\${MODULE_NAME} is in use. Close the host and uninstall \
          again." /SD IDOK
        SetErrorLevel 2
        Abort
      ${EndIf}
    ${EndIf}
    Delete "$R0\vlh_help\${MANUAL_NAME}"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"

  ; The folders the installation made, deepest first: each goes when empty.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "CreatedFolders"
  StrCpy $R2 ""
  StrCpy $R3 0
  ${Do}
    StrCpy $R4 $R1 1 $R3
    ${If} $R4 == ""
      ${ExitDo}
    ${EndIf}
    IntOp $R3 $R3 + 1
    ${If} $R4 == "|"
      RMDir "$R2"
      StrCpy $R2 ""
    ${Else}
      StrCpy $R2 "$R2$R4"
    ${EndIf}
  ${Loop}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
