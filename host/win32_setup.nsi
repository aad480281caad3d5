; The Windows setup program: aquarium.scr into the 64-bit system folder, where
; the screen saver settings find it, and its uninstaller with README.txt in
; Program Files, registered under Apps & features.
;
; Built by `cmake --build --preset windows --target package` (cmake/win32_setup.cmake):
;   makensis -DVERSION=1.2.3 -DSTAGE=<folder with aquarium.scr and README.txt>
;            -DPUBLISHER=<name> -DOUTFILE=<setup .exe> win32_setup.nsi
;
; Command line of the setup program:
;   /S            install silently; the current screen saver stays as it was
;   /S /CURRENT   install silently and make Aquarium the current screen saver
;   /D=FOLDER     where the uninstaller and README.txt go (last on the line)
; and of the uninstaller: /S removes everything silently.
; Exit status 0 when done, 1 when cancelled, 2 when aborted on an error.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Aquarium"
!define DESKTOP_KEY "Control Panel\Desktop"
; A 64-bit installer sees the real system folder: nothing is redirected.
!define SAVER "$SYSDIR\aquarium.scr"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "Aquarium"
Caption "Aquarium ${VERSION} Setup"
BrandingText "Aquarium ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Aquarium"
; A second install goes where the first one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation

!define MUI_ICON "${__FILEDIR__}/../data/aquarium.ico"
!define MUI_UNICON "${__FILEDIR__}/../data/aquarium.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Aquarium"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Aquarium screen saver setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
!pragma warning disable 9100  ; no LegalCopyright key: there is no line to give

; Puts DEST.new, just written, in the place of DEST: DEST is never a partly
; written file. On failure neither is left and setup stops.
!macro PutInPlace DEST
  Delete "${DEST}"
  Rename "${DEST}.new" "${DEST}"
  ${If} ${Errors}
    Delete "${DEST}.new"
    MessageBox MB_ICONSTOP "Could not write ${DEST}." /SD IDOK
    Abort
  ${EndIf}
!macroend

Section "Aquarium screen saver" SectionSaver
  SectionIn RO
  ClearErrors
  File "/oname=${SAVER}.new" "${STAGE}/aquarium.scr"
  !insertmacro PutInPlace "${SAVER}"
  CreateDirectory "$INSTDIR"
  File "/oname=$INSTDIR\README.txt.new" "${STAGE}/README.txt"
  !insertmacro PutInPlace "$INSTDIR\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe.new"
  !insertmacro PutInPlace "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Aquarium screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "${SAVER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  ; What the installed files take, in KB rounded up.
  ${GetSize} "$INSTDIR" "/S=0B /G=0" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=aquarium.scr /S=0B /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section "Make Aquarium the current screen saver" SectionCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE "${SAVER}"
  ; Windows keeps "screen saver on" in memory: set it through the system,
  ; which also saves it (ScreenSaveActive=1) and tells running programs.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
SectionEnd

Function .onInit
  ; Silent setup changes the user's screen saver only when asked to.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CURRENT" $1
  ${If} ${Silent}
  ${AndIf} ${Errors}
    SectionSetFlags ${SectionCurrent} 0
  ${EndIf}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section Uninstall
  ; Windows has no SCRNSAVE.EXE value while no screen saver is chosen.
  ; Names compare without case.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  ${If} $0 == "${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  ${EndIf}

  ; A running saver keeps its file until the next restart.
  Delete /REBOOTOK "${SAVER}"
  Delete "$INSTDIR\README.txt"
  ; This is a copy of uninstall.exe in the temporary folder, started by
  ; uninstall.exe, which cannot be deleted until it has ended: wait for that
  ; up to 20 s, then leave it to the next restart.
  StrCpy $1 200
  ${Do}
    Delete "$INSTDIR\uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
    ${OrIf} $1 = 0
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 - 1
  ${Loop}
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
