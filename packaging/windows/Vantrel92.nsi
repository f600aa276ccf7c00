; The Windows installer of Vantrel 92, built by scripts/windows-packages.sh:
;   makensis -DARCH=win32|win64 -DVERSION=x.y.z.w -DSOURCE=folder -DOUTFILE=file Vantrel92.nsi
; It installs the programs and their files into Program Files, adds a
; Start-menu folder with the program, the program on its simulated
; calculator and the uninstaller, and an entry with its size in the list of
; installed programs. It writes nothing to the program's
; settings key: the program makes that on its first run.
Unicode true
!include "FileFunc.nsh"
!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel 92"

Name "Vantrel 92"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Vantrel 92"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Vantrel 92"
VIAddVersionKey "CompanyName" "Corvessan"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Vantrel 92 installer"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
!if "${ARCH}" == "win64"
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
!if "${ARCH}" == "win64"
  SetRegView 64
!endif
FunctionEnd

Section "Vantrel 92"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\vantrel92.exe"
  File "${SOURCE}\vantrel92-cli.exe"
  File "${SOURCE}\English.dll"
  File "${SOURCE}\Italiano.dll"
  File "${SOURCE}\Vantrel92.avi"
  File "${SOURCE}\ReadMe.txt"
  File "${SOURCE}\vantrel92-usb.inf"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; All users' Start menu, as the program is installed for all of them.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Vantrel 92"
  CreateShortcut "$SMPROGRAMS\Vantrel 92\Vantrel 92.lnk" "$INSTDIR\vantrel92.exe"
  ; The port driver loads only where Windows takes it unsigned: this one
  ; works everywhere, without a calculator.
  CreateShortcut "$SMPROGRAMS\Vantrel 92\Vantrel 92 (simulated calculator).lnk" "$INSTDIR\vantrel92.exe" \
    "--simulate"
  CreateShortcut "$SMPROGRAMS\Vantrel 92\Uninstall Vantrel 92.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vantrel 92"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvessan"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantrel92.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  ; The size the list of installed programs shows, in KiB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\vantrel92.exe"
  Delete "$INSTDIR\vantrel92-cli.exe"
  Delete "$INSTDIR\English.dll"
  Delete "$INSTDIR\Italiano.dll"
  Delete "$INSTDIR\Vantrel92.avi"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\vantrel92-usb.inf"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vantrel 92\Vantrel 92.lnk"
  Delete "$SMPROGRAMS\Vantrel 92\Vantrel 92 (simulated calculator).lnk"
  Delete "$SMPROGRAMS\Vantrel 92\Uninstall Vantrel 92.lnk"
  RMDir "$SMPROGRAMS\Vantrel 92"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The settings key stays: it is the user's, not the installer's.
SectionEnd
