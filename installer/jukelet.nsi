; Jukelet's setup program. installer/CMakeLists.txt builds it and passes, as absolute paths
; or plain values: ARCH (x86 | amd64), OUTFILE, JUKELET_EXE, ICONS_DIR, APP_ICON, VERSION,
; COMPANY, COPYRIGHT, PLUGIN_DIR (where the JukeletSetup plug-in was built), BUTTONS_NSH (the
; buttons, made from the program's list).
; The 32-bit release is an ANSI installer: Unicode ones do not run on Windows 95, 98 or ME.
!if ${ARCH} == amd64
  Unicode true
  Target amd64-unicode
!else
  Unicode false
  Target x86-ansi
!endif
!addplugindir "${PLUGIN_DIR}"
ManifestDPIAware true
SetCompressor /SOLID lzma
; Program Files and the machine's Add/Remove Programs list need an administrator.
RequestExecutionLevel admin
; A file that cannot be written stops the install: under /S, NSIS would otherwise answer its
; own write-error box with Ignore and go on to register files that are not there.
AllowSkipFiles off

; Exit codes, which are all a silent roll-out has to go by. 0, 1 (cancelled by the user)
; and 2 (stopped) are NSIS's own; the README lists them all.
!define EXIT_FAILED 2
!define EXIT_UNUSABLE_FOLDER 3
!define EXIT_OTHER_COPY_KEPT 4
; The uninstaller's.
!define EXIT_FILES_IN_USE 3

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

; The toolbar buttons, from the program's own list (src/toolbar/ButtonList.h):
; ForEachButton DO inserts DO with the extension key, shortcut name, switch and icon name
; of each.
!include "${BUTTONS_NSH}"

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

!macro RemoveButtonKeys ID LINK SWITCH ICON
  DeleteRegKey HKCU "${EXTENSIONS_KEY}\${ID}"
  ; Without the rights to HKLM this only sets the error flag; the uninstall goes on.
  DeleteRegKey HKLM "${EXTENSIONS_KEY}\${ID}"
!macroend

!macro RemoveButtonFiles ID LINK SWITCH ICON
  Delete "$INSTDIR\Links\${LINK}.lnk"
  Delete "$INSTDIR\Icons\${ICON}_default.ico"
  Delete "$INSTDIR\Icons\${ICON}_hot.ico"
!macroend

; Windows opens no file whose path is longer than MAX_PATH less its NUL: 259 characters.
!macro KeepLongestName NAME
  StrLen $R1 "${NAME}"
  ${If} $R1 > $R0
    StrCpy $R0 $R1
  ${EndIf}
!macroend

!macro MeasureButton ID LINK SWITCH ICON
  !insertmacro KeepLongestName "Icons\${ICON}_default.ico"
  !insertmacro KeepLongestName "Icons\${ICON}_hot.ico"
  !insertmacro KeepLongestName "Links\${LINK}.lnk"
!macroend

; Folders are compared, and measured, as NSIS writes $INSTDIR: without closing backslashes
; or blanks. The uninstaller's copy, for one, is handed its folder with a backslash. Uses $R9.
!macro TrimFolder VAR
  ${Do}
    StrCpy $R9 ${VAR} 1 -1
    ${If} $R9 != "\"
    ${AndIf} $R9 != " "
      ${ExitDo}
    ${EndIf}
    StrCpy ${VAR} ${VAR} -1
  ${Loop}
!macroend

!macro StopOnError MESSAGE
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
    Abort
  ${EndIf}
!macroend

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define MUI_ICON "${APP_ICON}"
!define MUI_UNICON "${APP_ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Jukelet ${VERSION}, which drives Winamp from seven buttons on Internet Explorer's toolbar.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
; Install stays enabled whatever the folder, so that one setup cannot use is refused with
; the reason rather than with a greyed-out button.
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
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

; Sets the error flag when a file setup puts into $INSTDIR would have too long a path, and
; $R0 to the longest folder path that leaves room for them all.
Function CheckFolderLength
  StrCpy $R0 0
  !insertmacro KeepLongestName "Jukelet.exe"
  !insertmacro KeepLongestName "Uninstall.exe"
  !insertmacro ForEachButton MeasureButton
  ; 259, less the backslash before the name.
  IntOp $R0 258 - $R0
  StrCpy $R1 $INSTDIR
  !insertmacro TrimFolder $R1
  StrLen $R1 $R1
  ClearErrors
  ${If} $R1 > $R0
    SetErrors
  ${EndIf}
FunctionEnd

; Sets $R0 to the folder of a copy of Jukelet installed elsewhere than $INSTDIR, or to "".
; There is one Add/Remove entry: a second copy would take it and leave the first with no
; way to remove it.
Function FindOtherCopy
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro TrimFolder $R0
  StrCpy $R1 $INSTDIR
  !insertmacro TrimFolder $R1
  ${If} $R0 == $R1
  ${OrIf} $R0 == ""
  ${OrIfNot} ${FileExists} "$R0\Uninstall.exe"
    StrCpy $R0 ""
  ${EndIf}
FunctionEnd

Function RemoveOtherCopy
  Call FindOtherCopy
  ${If} $R0 == ""
    Return
  ${EndIf}
  DetailPrint "Removing Jukelet from $R0"
  ClearErrors
  ExecWait '"$R0\Uninstall.exe" /S _?=$R0' $R1
  ${If} ${Errors}
  ${OrIf} $R1 <> 0
    MessageBox MB_OK|MB_ICONSTOP "Setup could not remove Jukelet from $R0.$\r$\n$\r$\nClose Jukelet if it is running, then run setup again." /SD IDOK
    SetErrorLevel ${EXIT_OTHER_COPY_KEPT}
    Abort
  ${EndIf}
  ; Run where it lies, an uninstaller cannot remove itself.
  Delete "$R0\Uninstall.exe"
  RMDir "$R0"
FunctionEnd

Function .onInit
  SetShellVarContext all
  ; Before this runs, NSIS puts its default in place of a /D= folder it cannot use (a drive
  ; root, a file, a drive that is not there), and it cuts " /D=" and the folder off
  ; $CMDLINE: what was asked follows $CMDLINE in the whole command line.
  JukeletSetup::CommandLine
  StrLen $1 $CMDLINE
  StrCpy $2 $0 4 $1
  ${If} $2 S== " /D="
    IntOp $1 $1 + 4
    StrCpy $0 $0 "" $1
    !insertmacro TrimFolder $0
    StrCpy $1 $INSTDIR
    !insertmacro TrimFolder $1
    ${If} $0 != $1
      ${If} ${Silent}
        SetErrorLevel ${EXIT_UNUSABLE_FOLDER}
        Abort
      ${EndIf}
      ; The Directory page shows it, and says what is wrong with it.
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}
    Call CheckFolderLength
    ${If} ${Errors}
      SetErrorLevel ${EXIT_UNUSABLE_FOLDER}
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

; Also what the folder browser's OK asks.
Function .onVerifyInstDir
  Call CheckFolderLength
  ${If} ${Errors}
    Abort
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  GetInstDirError $R0
  ${If} $R0 = 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "Setup cannot install Jukelet into this folder:$\r$\n$INSTDIR$\r$\n$\r$\nChoose a folder on a drive that is there: not the drive itself, and not a file."
    Abort
  ${ElseIf} $R0 = 2
    MessageBox MB_OK|MB_ICONEXCLAMATION "There is not enough free space for Jukelet on the drive of $INSTDIR."
    Abort
  ${EndIf}
  Call CheckFolderLength
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "This folder's path is too long for Jukelet's files:$\r$\n$INSTDIR$\r$\n$\r$\nChoose a folder whose path has at most $R0 characters."
    Abort
  ${EndIf}
  Call FindOtherCopy
  ${If} $R0 != ""
  ${AndIfNot} ${Cmd} `MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Jukelet is installed in $R0.$\r$\n$\r$\nSetup will remove that copy, then install Jukelet into $INSTDIR." IDOK`
    Abort
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Jukelet" SecJukelet
  ; Until the last entry is written, an end is a failure.
  SetErrorLevel ${EXIT_FAILED}
  Call RemoveOtherCopy

  SetOutPath "$INSTDIR"
  File "/oname=Jukelet.exe" "${JUKELET_EXE}"

  SetOutPath "$INSTDIR\Icons"
  !insertmacro ForEachButton PutIcons

  ClearErrors
  CreateDirectory "$INSTDIR\Links"
  SetOutPath "$INSTDIR"
  !insertmacro ForEachButton PutLink
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  !insertmacro StopOnError "Setup could not write the shortcuts or the uninstaller into $INSTDIR."

  ; Registered last: a failed install leaves nothing that points at files not written.
  CreateShortCut "$SMPROGRAMS\Jukelet.lnk" "$INSTDIR\Jukelet.exe"
  !insertmacro StopOnError "Setup could not write the shortcut $SMPROGRAMS\Jukelet.lnk."
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
  !insertmacro StopOnError "Setup could not add Jukelet to the list of installed programs."
  SetErrorLevel 0
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
  ; Windows keeps a running program's file. Nothing else goes while Jukelet.exe stays, and
  ; the entry stays while any file of ours does, so that the uninstall can be run again.
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Jukelet.exe"
    ${IfNot} ${Errors}
      !insertmacro ForEachButton RemoveButtonFiles
      ${IfNot} ${Errors}
        ${ExitDo}
      ${EndIf}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Jukelet is running from $INSTDIR, or another program is using one of its files.$\r$\n$\r$\nClose it, then click Retry." /SD IDCANCEL IDRETRY`
      SetErrorLevel ${EXIT_FILES_IN_USE}
      Abort
    ${EndIf}
  ${Loop}

  !insertmacro ForEachButton RemoveButtonKeys
  Call un.RemoveMachineButtonsFromBothViews
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${COMPANY_KEY}"

  ; Run where it lies (_?=), it cannot remove itself: whoever ran it does.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR\Links"
  RMDir "$INSTDIR\Icons"
  RMDir "$INSTDIR"

  ; The latest install wrote the entry and the Start-menu shortcut together: they are this
  ; copy's only when the entry names this folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro TrimFolder $0
  StrCpy $1 $INSTDIR
  !insertmacro TrimFolder $1
  ${If} $0 == $1
    Delete "$SMPROGRAMS\Jukelet.lnk"
    ; Last, so that its absence means the uninstall has finished.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
