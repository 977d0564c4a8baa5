#!/usr/bin/env bash
# setup.exe is a 32-bit GUI program that needs no DLL beside it: it imports
# only system libraries.
set -euo pipefail
exe=$1
objdump=i686-w64-mingw32-objdump
header=$("$objdump" -f "$exe")
private=$("$objdump" -p "$exe")
grep -q 'file format pei-i386' <<<"$header" || { echo "not PE32 i386"; exit 1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$private" || { echo "not a GUI program"; exit 1; }
bad=$(sed -n 's/^\s*DLL Name: //p' <<<"$private" | grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|msvcrt|shlwapi)\.dll$' || true)
[ -z "$bad" ] || { echo "imports non-system DLLs: $bad"; exit 1; }
echo "setup.exe: PE32 i386 GUI, system imports only"
