; The clock's installer for Windows (x64): per machine under Program Files, a Start-menu entry
; 目覚まし時計 with the clock's icon, an entry in the list of installed programs, silent with /S,
; and an uninstaller that takes away everything that was put in place.
;   makensis -INPUTCHARSET UTF8 -DVERSION=10.0 -DFILE_VERSION=10.0.0.0 -DPROGRAM=alarmclock.exe
;            -DICON=alarmclock.ico -DOUTFILE=alarmclock-10.0-setup.exe alarmclock.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinVer.nsh

!define NAME "目覚まし時計"
!define PUBLISHER "The Alarm Clock developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\AlarmClock"
; Where the clock was installed before, also with /D=: an install there replaces it.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${NAME} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "2026 ${PUBLISHER}"

; Every user's Start menu and the 64-bit registry, for the installer and the uninstaller alike.
; The program calls functions that Windows has from Windows 10 version 1607 (build 14393) on:
; an older Windows is told so here, rather than by the loader when the clock starts.
Function .onInit
    SetShellVarContext all
    SetRegView 64
    ${IfNot} ${AtLeastBuild} 14393
        MessageBox MB_OK|MB_ICONSTOP "${NAME}には Windows 10 バージョン 1607 以降が必要です。" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "/oname=alarmclock.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\alarmclock.exe" "" "$INSTDIR\alarmclock.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\alarmclock.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section Uninstall
    Delete "$SMPROGRAMS\${NAME}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\alarmclock.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
