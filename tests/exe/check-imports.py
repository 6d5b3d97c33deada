#!/usr/bin/env python3
"""Fails unless the .exe imports DLLs of Windows itself and nothing else.

    check-imports.py OBJDUMP PROGRAM.exe

A DLL beside the program (the compiler's runtime, a library built with it) would be missing
on the user's machine, so every imported DLL must be one that every Windows has.
"""

import re
import subprocess
import sys

SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll",
}


def imported_dlls(dump):
    return re.findall(r"^\s*DLL Name:\s*(\S+)\s*$", dump, re.MULTILINE)


def main():
    objdump, program = sys.argv[1], sys.argv[2]
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    if "The Import Tables" not in dump:
        print(f"{program}: no import table found in objdump's output", file=sys.stderr)
        return 1
    dlls = imported_dlls(dump)
    if not dlls:
        print(f"{program}: the import table names no DLL", file=sys.stderr)
        return 1
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    print(f"{program} imports: {', '.join(dlls)}")
    if foreign:
        print(f"not part of Windows: {', '.join(foreign)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
