; The Windows installer: a per-user install that needs no administrator, with a
; Start-menu entry, the .zod file type opening in the program, an entry in
; "Apps & features" and an uninstaller that takes away everything it put there
; and everything the program wrote (its settings and its lock folder). Neither
; the installer nor the uninstaller touches anything while the program runs;
; the installer first removes an earlier install, wherever it went.
;
; makensis -DVERSION=1.15 -DSTAGE=<folder of the files> -DFILES=<their uninstall
;          list> -DICONS=<folder of the .ico files> -DOUTFILE=<installer> installer.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Quorrin Australian Astrology"
!define PROGRAM "australian-astrology"
!define PROGID "Quorrin.AustralianAstrology.Reading"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorrinAustralianAstrology"
!define SETTINGS_KEY "Software\Quorrin\${PROGRAM}"
!define SHCNE_ASSOCCHANGED 0x08000000
; The running program holds this file open for writing all through its run.
!define LOCK_FILE "$LOCALAPPDATA\${PROGRAM}\${PROGRAM}.lock"
; Given to an earlier install's uninstaller, which then keeps what the program
; wrote for the user.
!define KEEP_USER_DATA "/KEEPUSERDATA"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Quorrin"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "The Quorrin Australian Astrology authors"

!define MUI_ICON "${ICONS}\${PROGRAM}.ico"
!define MUI_UNICON "${ICONS}\${PROGRAM}.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed, and the program keeps its own
; open while it runs: with the program running, the installer and the
; uninstaller ask for it to be closed before they change anything. Silent, or
; when the user declines, they end with status 2 and have changed nothing.
!macro WAIT_FOR_PROGRAM_TO_CLOSE UN CAPTION
Function ${UN}waitForProgramToClose
  Push $0
  Push $1
  Push $2
  Push $3
  retry:
    ; Opened to read, sharing reading only: refused with a sharing violation
    ; (32) while any process has the lock open for writing.
    System::Call 'kernel32::CreateFileW(w "${LOCK_FILE}", i 0x80000000, i 1, p 0, i 3, i 0, p 0) p.r0 ?e'
    Pop $1
    ${If} $0 P<> -1
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 = 32
      ${IfNot} ${Silent}
        ; Retry and Cancel, a warning, system-modal and topmost: above the
        ; program's closing screen, itself topmost. NSIS's MessageBox has no
        ; system-modal box, without which Wine keeps a box below it.
        StrCpy $2 "${PRODUCT} is running.$\n$\nClose it (File > Exit, then Exit on its last screen) and choose Retry. Cancel leaves everything as it is."
        StrCpy $3 "${CAPTION}"
        System::Call 'user32::MessageBoxW(p $HWNDPARENT, w r2, w r3, i 0x51035) i.r1'
        StrCmp $1 4 retry
      ${EndIf}
      SetErrorLevel 2
      Quit
    ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAM_TO_CLOSE "" "$(^SetupCaption)"
!insertmacro WAIT_FOR_PROGRAM_TO_CLOSE "un." "$(^UninstallCaption)"

; An install elsewhere would be left behind, and its uninstaller would take
; this one's Start-menu entry, file type and "Apps & features" entry with it.
Function removeEarlierInstall
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\uninstall.exe"
    Return
  ${EndIf}
  ; Run in place (_?=) so that it can be waited for; it cannot remove itself then.
  ExecWait '"$0\uninstall.exe" /S ${KEEP_USER_DATA} _?=$0' $1
  ${If} $1 != 0
    MessageBox MB_OK|MB_ICONSTOP|MB_TOPMOST "The earlier install in $0 could not be removed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Delete "$0\uninstall.exe"
  RMDir "$0"
FunctionEnd

Function .onInit
  Call waitForProgramToClose
FunctionEnd

Function un.onInit
  Call un.waitForProgramToClose
FunctionEnd

Section "Install"
  SetShellVarContext current
  ; Again: the program may have been started since the installer was.
  Call waitForProgramToClose
  Call removeEarlierInstall
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  File "${ICONS}\application-x-quorrin-zod.ico"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}.exe"

  ; A saved reading opens in the program when double-clicked.
  WriteRegStr HKCU "Software\Classes\.zod" "" "${PROGID}"
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Saved Australian astrology reading"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\application-x-quorrin-zod.ico"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\${PROGRAM}.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorrin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.waitForProgramToClose
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ReadRegStr $0 HKCU "Software\Classes\.zod" ""
  StrCmp $0 "${PROGID}" 0 +2
    DeleteRegKey HKCU "Software\Classes\.zod"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

  ; What the program wrote: its one setting, and its folder with the lock and
  ; the file dialogs' state. A reinstall keeps them.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "${KEEP_USER_DATA}" $1
  ${If} ${Errors}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quorrin"
    RMDir /r "$LOCALAPPDATA\${PROGRAM}"
  ${EndIf}

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Only what was installed: the folder goes once it is empty.
  !include "${FILES}"
  Delete "$INSTDIR\application-x-quorrin-zod.ico"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
