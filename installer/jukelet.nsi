; Jukelet's setup program. installer/CMakeLists.txt builds it and passes, as absolute paths
; or plain values: ARCH (x86 | amd64), OUTFILE, JUKELET_EXE, ICONS_DIR, APP_ICON, VERSION,
; COMPANY, COPYRIGHT.
; The 32-bit release is an ANSI installer: Unicode ones do not run on Windows 95, 98 or ME.
!if ${ARCH} == amd64
  Unicode true
  Target amd64-unicode
!else
  Unicode false
  Target x86-ansi
!endif
ManifestDPIAware true
SetCompressor /SOLID lzma
; Program Files and the machine's Add/Remove Programs list need an administrator.
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Jukelet"
!define EXTENSIONS_KEY "Software\Microsoft\Internet Explorer\Extensions"
!define COMPANY_KEY "Software\${COMPANY}"
!define SETTINGS_KEY "${COMPANY_KEY}\Jukelet"

Name "Jukelet"
OutFile "${OUTFILE}"
!if ${ARCH} == amd64
  InstallDir "$PROGRAMFILES64\Jukelet"
!else
  InstallDir "$PROGRAMFILES\Jukelet"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${COMPANY}"

; The seven toolbar buttons, as the program's button catalogue names them:
; extension key, shortcut name, switch, icon name.
!macro ForEachButton DO
  !insertmacro ${DO} "{49C350E0-FF5F-11D4-B08F-909356C10100}" prev   /PREV   prev
  !insertmacro ${DO} "{34F16BC0-FF5F-11D4-B08F-909356C10100}" play   /PLAY   play
  !insertmacro ${DO} "{8D2B7B00-FF5F-11D4-B08F-909356C10100}" pause  /PAUSE  pause
  !insertmacro ${DO} "{3D5A6FA0-FF5F-11D4-B08F-909356C10100}" stop   /STOP   stop
  !insertmacro ${DO} "{59611E60-FF5F-11D4-B08F-909356C10100}" next   /NEXT   next
  !insertmacro ${DO} "{A144BE80-FF5F-11D4-B08F-909356C10100}" start  /START  start
  !insertmacro ${DO} "{86227B80-FF8F-11D4-B08F-90A456C10100}" minmax /MINMAX minimize
!macroend

!macro PutIcons ID LINK SWITCH ICON
  File "${ICONS_DIR}/${ICON}_default.ico"
  File "${ICONS_DIR}/${ICON}_hot.ico"
!macroend

; The working directory of a shortcut is $OUTDIR when it is made.
!macro PutLink ID LINK SWITCH ICON
  CreateShortCut "$INSTDIR\Links\${LINK}.lnk" "$INSTDIR\Jukelet.exe" "${SWITCH}"
!macroend

!macro RemoveMachineButton ID LINK SWITCH ICON
  DeleteRegKey HKLM "${EXTENSIONS_KEY}\${ID}"
!macroend

!macro RemoveButton ID LINK SWITCH ICON
  DeleteRegKey HKCU "${EXTENSIONS_KEY}\${ID}"
  ; Without the rights to HKLM this only sets the error flag; the uninstall goes on.
  DeleteRegKey HKLM "${EXTENSIONS_KEY}\${ID}"
  Delete "$INSTDIR\Links\${LINK}.lnk"
  Delete "$INSTDIR\Icons\${ICON}_default.ico"
  Delete "$INSTDIR\Icons\${ICON}_hot.ico"
!macroend

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define MUI_ICON "${APP_ICON}"
!define MUI_UNICON "${APP_ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Jukelet ${VERSION}, which drives Winamp from seven buttons on Internet Explorer's toolbar.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
; Not started from here: an elevated setup would open it as the administrator, whose
; toolbar is not necessarily the user's.
!define MUI_FINISHPAGE_TEXT "Jukelet is installed.$\r$\n$\r$\nOpen Jukelet from the Start menu to add its buttons to Internet Explorer's toolbar."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Jukelet"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Jukelet Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Jukelet" SecJukelet
  SetOutPath "$INSTDIR"
  File "/oname=Jukelet.exe" "${JUKELET_EXE}"

  SetOutPath "$INSTDIR\Icons"
  !insertmacro ForEachButton PutIcons

  CreateDirectory "$INSTDIR\Links"
  SetOutPath "$INSTDIR"
  !insertmacro ForEachButton PutLink
  CreateShortCut "$SMPROGRAMS\Jukelet.lnk" "$INSTDIR\Jukelet.exe"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Jukelet"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Jukelet.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecJukelet} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what setup put there and the keys the program wrote, one by one: the folder
; the user chose may hold other files, and the company key other programs' settings.
; 64-bit Windows keeps the machine's keys in a 64-bit and a 32-bit view, and the program
; writes its buttons to both. A 64-bit uninstaller always runs on 64-bit Windows.
!macro RemoveMachineButtonsFromBothViews
  SetRegView 64
  !insertmacro ForEachButton RemoveMachineButton
  SetRegView 32
  !insertmacro ForEachButton RemoveMachineButton
  SetRegView default
!macroend

Function un.RemoveMachineButtonsFromBothViews
!if ${ARCH} == amd64
  !insertmacro RemoveMachineButtonsFromBothViews
!else
  ${If} ${RunningX64}
    !insertmacro RemoveMachineButtonsFromBothViews
  ${EndIf}
!endif
FunctionEnd

Section "Uninstall"
  !insertmacro ForEachButton RemoveButton
  Call un.RemoveMachineButtonsFromBothViews
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${COMPANY_KEY}"

  Delete "$INSTDIR\Jukelet.exe"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\Jukelet.lnk"
  RMDir "$INSTDIR\Links"
  RMDir "$INSTDIR\Icons"
  RMDir "$INSTDIR"

  ; Last, so that its absence means the uninstall has finished.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
