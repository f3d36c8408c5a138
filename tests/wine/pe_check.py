# The Windows executable as a clean Windows 10 or 11 loads it: a 64-bit GUI program (no console)
# with ASLR, high-entropy ASLR and DEP, relocations kept so that ASLR can move it, and only
# DLLs that ship with Windows imported.
#   pe_check.py alarmclock.exe

import fnmatch
import struct
import sys

SHIPPED = ("kernel32", "user32", "gdi32", "comctl32", "comdlg32", "ole32", "oleaut32", "oleacc",
           "msvcrt", "advapi32", "shell32", "shlwapi", "uxtheme", "dwmapi", "imm32", "winmm",
           "version", "ucrtbase", "api-ms-win-crt-*", "api-ms-win-core-*")
DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT, GUI, RELOCS_STRIPPED = 0x40, 0x20, 0x100, 2, 1

image = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", image, 0x3C)[0]
machine, sections, optional_size, characteristics = struct.unpack_from("<HH12xHH", image, pe + 4)
optional = pe + 24
magic, = struct.unpack_from("<H", image, optional)
subsystem, dll_characteristics = struct.unpack_from("<HH", image, optional + 68)
directories = [struct.unpack_from("<II", image, optional + 112 + 8 * i) for i in range(16)]
table = [struct.unpack_from("<8xIIII", image, optional + optional_size + 40 * i) for i in range(sections)]


def at(rva):  # the file offset of a relative virtual address
    return next(raw + rva - va for size, va, raw_size, raw in table if va <= rva < va + max(size, raw_size))


def name(rva):
    return image[at(rva):image.index(b"\0", at(rva))].decode().lower()


imports, offset = [], at(directories[1][0])
while (descriptor := struct.unpack_from("<5I", image, offset))[3]:
    imports.append(name(descriptor[3]).removesuffix(".dll"))
    offset += 20
failures = [message for ok, message in (
    (machine == 0x8664 and magic == 0x20B, "a 64-bit executable"),
    (subsystem == GUI, f"the GUI subsystem (no console), not {subsystem}"),
    (dll_characteristics & DYNAMIC_BASE, "ASLR (DYNAMIC_BASE)"),
    (dll_characteristics & HIGH_ENTROPY_VA, "high-entropy ASLR (HIGH_ENTROPY_VA)"),
    (dll_characteristics & NX_COMPAT, "DEP (NX_COMPAT)"),
    (directories[5][1] and not characteristics & RELOCS_STRIPPED, "base relocations"),
    (imports, "an import table"),
) + tuple((any(fnmatch.fnmatch(dll, pattern) for pattern in SHIPPED), f"{dll}.dll ships with Windows")
          for dll in imports) if not ok]
print("imports:", ", ".join(imports))
for message in failures:
    print("missing:", message)
sys.exit(1 if failures else 0)
