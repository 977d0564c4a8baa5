#!/usr/bin/env bash
# The libraries setup.exe imports are all pinned by the system to its own
# folder (KnownDLLs), so the loader never takes one lying beside the program;
# version.dll, which is not, is delay-loaded and does not stand in the import
# table.
set -euo pipefail
exe=$1
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
known='^(advapi32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32)\.dll$'
bad=$(grep -vE "$known" <<<"$imports" || true)
[ -z "$bad" ] || { echo "imports libraries a planted copy could replace: $bad"; exit 1; }
grep -aq 'VERSION\.dll' "$exe" || { echo "version.dll is not delay-loaded"; exit 1; }
echo "setup.exe imports only KnownDLLs; version.dll is delay-loaded"
