; The clock's installer for Windows (x64): per machine under Program Files, a Start-menu entry
; 目覚まし時計 with the clock's icon, an entry in the list of installed programs, silent with /S,
; and an uninstaller that takes away everything that was put in place. A clock that runs is
; closed first (after asking, unless silent); where its file stays in use, neither changes
; anything. An install over an earlier one goes to the same folder and replaces it.
;   makensis -INPUTCHARSET UTF8 -DVERSION=10.0 -DFILE_VERSION=10.0.0.0 -DPROGRAM=alarmclock.exe
;            -DICON=alarmclock.ico -DOUTFILE=alarmclock-10.0-setup.exe alarmclock.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin
; A program file that cannot be written ends the install, never skipped.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include WinVer.nsh

!define NAME "目覚まし時計"
!define PUBLISHER "The Alarm Clock developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"
!define CLOCK_CLASS "AlarmClock.Clock" ; the clock window's class, as registered by the program
!define CLOCK_WAIT 60 ; quarter seconds for a closed clock to let go of its file

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

; Closes the clocks of this session and makes way for the program file, or else aborts having
; changed nothing. The clocks are found by their windows' class and closed through their close
; boxes, after asking unless silent; the file is then waited for, since a chime holds a clock
; for a few seconds before it reads the message. The installer waits until it can write the
; file, the uninstaller until it has deleted it, its first change. A clock of another user's
; session, which no window of this one shows, or another program holding the file, makes them
; refuse.
!macro CLOSE_CLOCK UN DOING
Function ${UN}CloseClock
    FindWindow $0 "${CLOCK_CLASS}"
    ${If} $0 <> 0
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${NAME}が起動しています。$\r$\n[OK] を押すと、\
${NAME}を終了して${DOING}を続けます。" /SD IDOK IDOK +2
        Abort "${DOING}は取り消されました。"
        StrCpy $1 0
        ${Do}
            FindWindow $1 "${CLOCK_CLASS}" "" 0 $1
            ${IfThen} $1 = 0 ${|} ${ExitDo} ${|}
            System::Call "user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)"
        ${Loop}
    ${EndIf}
    ${For} $1 0 ${CLOCK_WAIT}
        !if "${UN}" == "un."
            Delete "$INSTDIR\alarmclock.exe"
        !endif
        ${IfNot} ${FileExists} "$INSTDIR\alarmclock.exe"
            Return
        ${EndIf}
        !if "${UN}" == ""
            ClearErrors
            FileOpen $2 "$INSTDIR\alarmclock.exe" a ; not while a clock runs it or another program holds it
            ${IfNot} ${Errors}
                FileClose $2
                Return
            ${EndIf}
        !endif
        ${IfThen} $0 = 0 ${|} ${ExitFor} ${|} ; no clock was closed: nothing to wait for
        Sleep 250
    ${Next}
    MessageBox MB_OK|MB_ICONSTOP "${NAME}のプログラムが使用中のため、${DOING}できません。$\r$\n\
$INSTDIR\alarmclock.exe$\r$\n${NAME}を (ほかのユーザーが起動したものも) 終了してから、\
もう一度実行してください。" /SD IDOK
    Abort "${DOING}できませんでした。"
FunctionEnd
!macroend
!insertmacro CLOSE_CLOCK "" "インストール"
!insertmacro CLOSE_CLOCK "un." "アンインストール"

; The program first: nothing else is written where it cannot be.
Section
    Call CloseClock
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

; The program first (deleted by un.CloseClock): the Start-menu entry and the installed
; programs' entry stay as long as it does.
Section Uninstall
    Call un.CloseClock
    Delete "$SMPROGRAMS\${NAME}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
