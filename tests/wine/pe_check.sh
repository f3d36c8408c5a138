#!/bin/bash
# The Windows executable as a clean Windows 10 or 11 loads it: a 64-bit GUI program (no console)
# with ASLR, high-entropy ASLR and DEP, relocations kept so that ASLR can move it, and only
# DLLs that ship with Windows imported.
#   pe_check.sh OBJDUMP alarmclock.exe
set -eu
headers=$("$1" -p "$2")
failed=0
fail() { echo "missing: $1" && failed=1; }
grep -q '^Magic.*(PE32+)' <<<"$headers" || fail "a 64-bit executable"
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "the GUI subsystem (no console)"
grep -q '^Entry 5 [0-9a-f]* 0*[1-9a-f]' <<<"$headers" || fail "base relocations"
flags=0x$(sed -n 's/^DllCharacteristics\s*//p' <<<"$headers")
for flag in 0x40:ASLR 0x20:high-entropy-ASLR 0x100:DEP; do
    ((flags & ${flag%%:*})) || fail "${flag#*:}"
done
for dll in $(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr A-Z a-z); do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | ole32.dll | oleaut32.dll | \
        oleacc.dll | msvcrt.dll | advapi32.dll | shell32.dll | shlwapi.dll | uxtheme.dll | \
        dwmapi.dll | imm32.dll | winmm.dll | version.dll | ucrtbase.dll | api-ms-win-crt-*) ;;
    *) fail "$dll ships with Windows" ;;
    esac
done
exit $failed
