; The Windows installer of Tamberline, made by scripts/windows-build.sh:
;   makensis -DVERSION=8.09 -DSOURCE=<the unpacked ZIP's folder> -DICON=<tamberline.ico>
;            -DFILES=<list of the files to remove> -DOUTFILE=<setup.exe> tamberline.nsi
; Installs into Program Files, adds a Start-menu entry and opens .TMB settings
; files with the program; the uninstaller takes back exactly what it placed.
; The program's own folder "C:\VEL Tamberline II" (settings, reports, backups)
; belongs to the user and stays.
; A 64-bit installer for the 64-bit program (it runs under wine64 as well).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "VEL Tamberline II"
!define PUBLISHER "VEL"
!define EXE "tamberline.exe"
!define PROGID "Tamberline.Settings"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tamberline"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tamberline"
InstallDirRegKey HKLM "Software\Tamberline" "InstallDir"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows."
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Install"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*"
    File "/oname=tamberline.ico" "${ICON}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\tamberline.ico"

    ; .TMB settings files open in the program.
    WriteRegStr HKLM "Software\Classes\.TMB" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Tamberline II Data File"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tamberline.ico"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "Software\Tamberline" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tamberline.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ; The association only while it is still ours.
    ReadRegStr $0 HKLM "Software\Classes\.TMB" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegKey HKLM "Software\Classes\.TMB"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    ; The files placed, one by one (a folder the user chose keeps whatever else is in it).
    !include "${FILES}"
    Delete "$INSTDIR\tamberline.ico"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Tamberline"
SectionEnd
