; The clock's installer for Windows (x64): per machine in a folder inside Program Files, a
; Start-menu entry 目覚まし時計 with the clock's icon, an entry in the list of installed programs,
; silent with /S, and an uninstaller (remove.exe, which uninstall.exe runs and waits for) that
; takes away everything that was put in place. A clock that runs is closed first (after asking,
; unless silent); where its file stays in use, neither changes anything. An install over an
; earlier one replaces it: in the same folder, or, in another, after the earlier one's
; uninstaller has run. The last page of an install that is not silent starts the clock again.
; Exit codes: 2 the program in use (or the earlier install could not be taken away), 3 a
; Windows too old, 4 a folder outside Program Files.
;   makensis -INPUTCHARSET UTF8 -DVERSION=10.0 -DFILE_VERSION=10.0.0.0 -DPROGRAM=alarmclock.exe
;            -DICON=alarmclock.ico -DSHELL_OPEN=shell_open.exe -DUNINSTALL=uninstall.exe
;            -DOUTFILE=alarmclock-10.0-setup.exe alarmclock.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin
; A program file that cannot be written ends the install, never skipped.
AllowSkipFiles off
; The files take the time they are installed at: the installer holds none of the build's.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include WinVer.nsh

!define NAME "目覚まし時計"
!define PUBLISHER "The Alarm Clock developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"
!define CLOCK_CLASS "AlarmClock.Clock" ; the clock window's class, as registered by the program
!define CLOCK_WAIT 60 ; quarter seconds for a closed clock to let go of its file
!define CSTR_EQUAL 2

Name "${NAME}"
OutFile "${OUTFILE}"
; No InstallDir: an empty $INSTDIR tells .onInit that no /D= was given.

Var Earlier ; the folder of an earlier install that this one moves away from, or ""

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "${NAME}を起動する(&R)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock
!insertmacro MUI_PAGE_FINISH
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

; $0 made its full path, "." and ".." resolved and no backslash at its end, or "".
Function FullPath
    Push $1
    System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
    ${If} $1 = 0
    ${OrIf} $1 >= ${NSIS_MAX_STRLEN}
        StrCpy $0 ""
    ${EndIf}
    ${Do}
        StrCpy $1 $0 1 -1
        ${IfThen} $1 != "\" ${|} ${ExitDo} ${|}
        StrCpy $0 $0 -1
    ${Loop}
    Pop $1
FunctionEnd

; $0, a folder, made its full path where it lies inside Program Files, else "". Only
; administrators may change what is there; a folder made elsewhere, under C:\ say, any user may
; change, and with it the program and the uninstaller that the next administrator runs.
Function ProgramFilesFolder
    Push $1
    Push $2
    StrCpy $1 $0
    StrCpy $0 $PROGRAMFILES64
    Call FullPath
    StrCpy $2 "$0\"
    StrCpy $0 $1
    Call FullPath
    StrLen $1 $2
    StrCpy $1 $0 $1
    System::Call 'kernel32::CompareStringOrdinal(w r1, i -1, w r2, i -1, i 1) i .r1'
    ${If} $1 <> ${CSTR_EQUAL}
    ${OrIf} $2 == "\" ; no Program Files to be inside
        StrCpy $0 ""
    ${EndIf}
    Pop $2
    Pop $1
FunctionEnd

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
    ; Without /D=, where the clock was installed before, if that lies inside Program Files.
    ${If} $INSTDIR == ""
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        Call ProgramFilesFolder
        StrCpy $INSTDIR $0
        ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES64\AlarmClock" ${|}
    ${EndIf}
    ${IfThen} ${Silent} ${|} Call CheckFolder ${|}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

; The folder to install to, inside Program Files, or else refused: with exit code 4 and
; nothing changed when silent, by staying on the folder page when not.
Function CheckFolder
    StrCpy $0 $INSTDIR
    Call ProgramFilesFolder
    ${If} $0 == ""
        MessageBox MB_OK|MB_ICONSTOP "次のフォルダーにはインストールできません。$\r$\n$INSTDIR$\r$\n\
${NAME}はすべてのユーザーのためにインストールされるため、管理者だけが変更できる \
$PROGRAMFILES64 の中のフォルダーを選んでください。" /SD IDOK
        ${If} ${Silent}
            SetErrorLevel 4
            Quit
        ${EndIf}
        Abort
    ${EndIf}
    StrCpy $INSTDIR $0
FunctionEnd

; $2: 1 where the program file is gone or may be written, which it may not while a clock runs
; it or another program holds it.
!macro FREE FILE
    StrCpy $2 1
    ${If} ${FileExists} "${FILE}"
        ClearErrors
        FileOpen $3 "${FILE}" a
        ${If} ${Errors}
            StrCpy $2 0
        ${Else}
            FileClose $3
        ${EndIf}
    ${EndIf}
!macroend

; Closes the clocks of this session and makes way for the program file, or else aborts having
; changed nothing. The clocks are found by their windows' class and closed through their close
; boxes, after asking unless silent; the file is then waited for, since a chime holds a clock
; for a few seconds before it reads the message. The installer waits until it can write the
; file (and the earlier install's, which its uninstaller deletes), the uninstaller until it has
; deleted it, its first change. A clock of another user's session, which no window of this one
; shows, or another program holding the file, makes them refuse.
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
            ${IfNot} ${FileExists} "$INSTDIR\alarmclock.exe"
                Return
            ${EndIf}
        !else
            !insertmacro FREE "$INSTDIR\alarmclock.exe"
            ${If} $2 = 1
            ${AndIf} $Earlier != ""
                !insertmacro FREE "$Earlier\alarmclock.exe"
            ${EndIf}
            ${IfThen} $2 = 1 ${|} Return ${|}
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

; Adds the size of the file to $0.
!macro ADD_SIZE FILE
    FileOpen $1 "${FILE}" r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $0 $0 + $2
!macroend

; An earlier install in another folder is taken away by its own uninstaller, waited for, before
; anything else changes: it would leave its files behind, and its uninstaller, run later, would
; take away this install's Start-menu entry and entry. One outside Program Files is left as it
; is: any user may have replaced its uninstaller, which is never run elevated.
Section
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    Call ProgramFilesFolder
    System::Call 'kernel32::CompareStringOrdinal(w r0, i -1, w "$INSTDIR", i -1, i 1) i .r1'
    ${IfThen} $1 <> ${CSTR_EQUAL} ${|} StrCpy $Earlier $0 ${|}
    Call CloseClock
    ${If} $Earlier != ""
    ${AndIf} ${FileExists} "$Earlier\uninstall.exe"
        ClearErrors
        ; _?= for an uninstaller of an earlier version, which is remove.exe's kind
        ExecWait '"$Earlier\uninstall.exe" /S _?=$Earlier' $0
        ${IfThen} ${Errors} ${|} StrCpy $0 -1 ${|}
        ; 3010: taken away, its last files when Windows next starts
        ${If} $0 <> 0
        ${AndIf} $0 <> 3010
            MessageBox MB_OK|MB_ICONSTOP "以前にインストールされた${NAME}を削除できないため、\
インストールできません。$\r$\n$Earlier" /SD IDOK
            Abort "インストールできませんでした。"
        ${EndIf}
        ; An uninstaller that ran where it lies may have had to leave itself behind.
        Delete "$Earlier\uninstall.exe"
        RMDir "$Earlier"
    ${EndIf}

    ; The program first: nothing else is written where it cannot be.
    SetOutPath "$INSTDIR"
    File "/oname=alarmclock.exe" "${PROGRAM}"
    File "/oname=uninstall.exe" "${UNINSTALL}"
    WriteUninstaller "$INSTDIR\remove.exe"
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
    ; In KiB, the installed files only: the folder may hold others.
    StrCpy $0 1023
    !insertmacro ADD_SIZE "$INSTDIR\alarmclock.exe"
    !insertmacro ADD_SIZE "$INSTDIR\uninstall.exe"
    !insertmacro ADD_SIZE "$INSTDIR\remove.exe"
    IntOp $0 $0 / 1024
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The finish page's check box: the clock started by the desktop's shell, and so as the user who
; is logged on, not elevated as the installer is.
Function StartClock
    InitPluginsDir
    File "/oname=$PLUGINSDIR\shell_open.exe" "${SHELL_OPEN}"
    ExecWait '"$PLUGINSDIR\shell_open.exe" "$INSTDIR\alarmclock.exe"' $0
    ${If} $0 <> 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "${NAME}を起動できませんでした。\
スタート メニューから起動してください。"
    ${EndIf}
FunctionEnd

; The program first (deleted by un.CloseClock): the Start-menu entry and the installed
; programs' entry stay as long as it does.
Section Uninstall
    Call un.CloseClock
    Delete "$SMPROGRAMS\${NAME}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Run where it lies by uninstall.exe, which takes both away when this ends; started from
    ; a copy of its own (remove.exe run by itself), it can take them away here.
    Delete "$INSTDIR\uninstall.exe"
    Delete "$INSTDIR\remove.exe"
    RMDir "$INSTDIR"
SectionEnd
