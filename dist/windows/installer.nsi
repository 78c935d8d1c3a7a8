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

LicenseData "${STAGE}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running Brivane holds the mutex it names. Silent, the (un)installer stops with exit code 2;
; otherwise it asks the user to close it.
!macro StopWhileBrivaneRuns
  retry:
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Brivane.Running") p .r0'
  IntPtrCmp $0 0 free
  System::Call 'kernel32::CloseHandle(p r0)'
  IfSilent 0 +3
    SetErrorLevel 2
    Quit
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brivane is running. Close it, then choose Retry." IDRETRY retry
  Quit
  free:
!macroend

Function .onInit
  !insertmacro StopWhileBrivaneRuns
FunctionEnd

Function un.onInit
  !insertmacro StopWhileBrivaneRuns
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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
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
  Delete "$INSTDIR\uninstall.exe"
  ; Left when it still holds something of the user's, such as a Brivane.ini.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
