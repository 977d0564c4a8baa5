#!/usr/bin/env bash
# The main job, end to end: builds setup.exe, makes the sample package,
# installs it silently into a fresh Wine prefix, shows what was installed
# (files, uninstall log, registry values, shortcuts), uninstalls it and shows
# what is left. Steps whose parts are not built yet say so.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

scripts/install-deps.sh
scripts/build.sh >/dev/null

setup_exe=$top/build/bin/setup.exe
wine_root=$top/build/wine
demo=$top/build/demo
rm -rf "$demo"
mkdir -p "$demo"

step() { printf '\n== %s\n' "$*"; }
not_built() { printf '   [not built yet] %s\n' "$*"; }

# Runs a Windows program in the demo's own prefix (kept between steps).
in_prefix() { ORV_WINE_RUN_DIR="$demo/run" scripts/wine-run.sh --root "$wine_root" "$@" 2>/dev/null; }

step "setup.exe"
echo "   $setup_exe ($(stat -c %s "$setup_exe") bytes)"
i686-w64-mingw32-objdump -f "$setup_exe" | sed -n 's/^.*file format /   format: /p'
printf '   DLLs it imports: '
i686-w64-mingw32-objdump -p "$setup_exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' '
echo

step "Sample package"
not_built "the sample package (application stand-in, install script) comes with the install driver"

step "Silent installation into a fresh Wine prefix: setup.exe -s"
mkdir -p "$demo/package"
cp "$setup_exe" "$demo/package/setup.exe"
in_prefix "$demo/package/setup.exe" -s || true
echo "   setup.exe ran and ended; the prefix is $demo/run/prefix"
not_built "the install driver and the installation procedure: nothing is installed yet"

step "What was installed"
not_built "files, uninstall log, registry values and shortcuts appear once the installation procedure exists"
echo "   Registry key HKLM\\SOFTWARE\\Tamberlin\\Orvelle 6:"
in_prefix reg query 'HKLM\SOFTWARE\Tamberlin\Orvelle 6' >"$demo/reg.txt" 2>&1 \
  && iconv -f CP1252 -t UTF-8 "$demo/reg.txt" | sed 's/^/     /' || echo "     (absent)"

step "Silent uninstallation: OrvUnInst.exe -s"
not_built "the self-removal copy and the uninstall procedure"

step "What is left"
not_built "shown once installation and removal exist"
echo
echo "The prefix of this run stays in $demo/run for inspection."
