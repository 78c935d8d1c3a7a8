; Brivane's installer: a per-user install, no administrator rights, with a Start-menu shortcut
; and an uninstaller listed under the user's Apps & features. makensis is given VERSION, STAGE
; (the folder of files to install), ICON (the program's icon) and OUTFILE. The uninstaller removes
; the program's files, never the user's settings or songs. Neither changes anything while a
; Brivane runs: its files could not all be replaced or removed.
Unicode true
!include "FileFunc.nsh"
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Brivane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivane"

Name "${PRODUCT} ${VERSION}"
Icon "${ICON}"
UninstallIcon "${ICON}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Brivane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "MIT License"

; Laid out by Windows at the screen's own dots per inch, with a folder page text short enough
; for its label at 96 and at 144.
ManifestDPIAware true
DirText "Brivane will be installed in this folder. To choose another, click Browse."
LicenseData "${STAGE}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running Brivane holds the mutex it names. Silent, the (un)installer stops with exit code 2
; and says why in Brivane-setup.log in the user's temporary folder; otherwise it asks the user
; to close it.
!macro StopWhileBrivaneRuns
  retry:
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Brivane.Running") p .r0'
  IntPtrCmp $0 0 free
  System::Call 'kernel32::CloseHandle(p r0)'
  IfSilent 0 ask
    FileOpen $1 "$TEMP\Brivane-setup.log" a
    FileSeek $1 0 END
    FileWrite $1 "Brivane is running: nothing was changed. Close it, then run $EXEFILE again.$\r$\n"
    FileClose $1
    SetErrorLevel 2
    Quit
  ask:
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brivane is running. Close it, then choose Retry." IDRETRY retry
  Quit
  free:
!macroend

Function .onInit
  !insertmacro StopWhileBrivaneRuns
FunctionEnd

; The registry's uninstall lines run the uninstaller in place (_?=), so that its exit code is
; its own: it looks for a running Brivane there, then hands the removal to a copy of itself in
; the temporary folder, since a program cannot remove its own file while it runs.
Function un.onInit
  !insertmacro StopWhileBrivaneRuns
  StrCmp $EXEDIR $INSTDIR 0 removing
    CopyFiles /SILENT "$EXEPATH" "$TEMP\Brivane-uninstall.exe"
    ; A Quit from here counts as a stop (exit code 2) unless told otherwise.
    SetErrorLevel 0
    IfSilent 0 +3
      Exec '"$TEMP\Brivane-uninstall.exe" /S _?=$INSTDIR'
      Quit
    Exec '"$TEMP\Brivane-uninstall.exe" _?=$INSTDIR'
    Quit
  removing:
FunctionEnd

Section "Brivane"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\brivane.exe"
  File "${STAGE}\brivane-cli.exe"
  File "${STAGE}\adplug-emulators.dll"
  File "${STAGE}\GENMIDI.op2"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  SetOutPath "$INSTDIR\licenses"
  File "${STAGE}\licenses\*.txt"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Brivane.lnk" "$INSTDIR\brivane.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Brivane developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brivane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Brivane.lnk"
  Delete "$INSTDIR\brivane.exe"
  Delete "$INSTDIR\brivane-cli.exe"
  Delete "$INSTDIR\adplug-emulators.dll"
  Delete "$INSTDIR\GENMIDI.op2"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\licenses\*.txt"
  RMDir "$INSTDIR\licenses"
  ; The uninstaller that started this copy may take a moment to end.
  StrCpy $0 0
  waitForUninstaller:
    Delete "$INSTDIR\uninstall.exe"
    IfFileExists "$INSTDIR\uninstall.exe" 0 +4
    IntOp $0 $0 + 1
    Sleep 100
    IntCmp $0 50 0 waitForUninstaller
  ; Left when it still holds something of the user's, such as a Brivane.ini.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
