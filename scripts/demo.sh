#!/usr/bin/env bash
# The main job, end to end: builds setup.exe and the sample package, installs
# the package silently into a fresh Wine prefix, shows what was installed
# (files, uninstall log, registry values, shortcuts), uninstalls it with the
# installed uninstaller and shows what is left, then restarts the prefix and
# shows that the queued deletion of the uninstaller's temporary copy ran.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

scripts/install-deps.sh
scripts/build.sh >/dev/null
# Wine's 32-bit side needs a kernel that runs 32-bit x86 programs; elsewhere
# the rest of the demo runs with it emulated.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1 && [ -z "${ORV_DEMO_EMULATED:-}" ]; then
  ORV_DEMO_EMULATED=1 exec scripts/with-emulated-i386.sh "$0" "$@"
fi

setup_exe=$top/build/bin/setup.exe
package=$top/build/sample-package
wine_root=$top/build/wine
demo=$top/build/demo
rm -rf "$demo"
mkdir -p "$demo"
drive_c=$demo/run/prefix/drive_c

step() { printf '\n== %s\n' "$*"; }
indent() { sed 's/^/   /'; }
# ANSI texts of the program (code page 1252, CR LF) for this terminal.
text() { iconv -f CP1252 -t UTF-8 "$@" | tr -d '\r'; }

# Runs a Windows program in the demo's own prefix, kept between steps.
in_prefix() { ORV_WINE_RUN_DIR="$demo/run" scripts/wine-run.sh --root "$wine_root" "$@" 2>/dev/null; }
# The 32-bit registry view, the one a 32-bit setup writes on 64-bit Windows.
# reg.exe writes in the OEM code page.
reg32() { in_prefix 'C:\windows\syswow64\reg.exe' "$@" >"$demo/reg.txt" 2>&1 && iconv -f CP850 -t UTF-8 "$demo/reg.txt" | tr -d '\r' | grep -v '^$' | indent; }

show_registry() {
  for key in 'HKLM\SOFTWARE\Tamberlin\Orvelle 6' \
             'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\OrvPix6.exe' \
             'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orvelle 6'; do
    reg32 query "$key" || echo "   $key: absent"
  done
}

show_shortcuts() {
  local found
  found=$(find "$drive_c" -name '*.lnk' -path '*Orvelle*' -o -name 'Orvelle 6.lnk' 2>/dev/null | sort -u)
  if [ -n "$found" ]; then sed "s|^$drive_c|C:|" <<<"$found" | indent; else echo "   (no shortcut of Orvelle 6)"; fi
}

step "setup.exe"
echo "   $setup_exe ($(stat -c %s "$setup_exe") bytes)"
i686-w64-mingw32-objdump -f "$setup_exe" | sed -n 's/^.*file format /   format: /p'
printf '   imports: '
i686-w64-mingw32-objdump -p "$setup_exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' '
echo
# What the file's properties show: read with GetFileVersionInfoA under Wine
# by the resources test, which prints each value it checks.
echo "   version resource (GetFileVersionInfoA):"
scripts/wine-run.sh --root "$wine_root" "$top/build/bin/resources_test.exe" \
  --gtest_filter='VersionResource.*' 2>/dev/null | grep '^   ' | text | indent
echo "   manifest: $(grep -o 'requestedExecutionLevel level="[^"]*"' "$top/src/resources/setup.manifest"), $(grep -c '<supportedOS' "$top/src/resources/setup.manifest") supported systems, dpiAwareness $(sed -n 's:.*<dpiAwareness[^>]*>\([^<]*\)<.*:\1:p' "$top/src/resources/setup.manifest")"

step "Sample package: $package"
ls -la "$package" | tail -n +2 | indent
echo "   Install script OrvUnInst.log:"
text "$package/OrvUnInst.log" | indent

step "Silent installation into a fresh Wine prefix: setup.exe -s"
in_prefix "$package/setup.exe" -s && echo "   exit status 0" || echo "   exit status $?"
installed=$(find "$drive_c" -maxdepth 2 -type d -name 'Orvelle 6' -path '*Program Files*' | head -n1)

step "What was installed"
if [ -n "$installed" ]; then
  echo "   Installed folder ${installed#$drive_c/} (under C:):"
  (cd "$installed" && find . -mindepth 1 | sort | sed 's|^\./||') | indent
  echo "   Uninstall log:"
  text "$installed/OrvUnInst.log" | indent
else
  echo "   (no installed folder)"
fi
echo "   Registry values (32-bit view):"
show_registry
echo "   Shortcuts:"
show_shortcuts

step "Silent uninstallation: the installed OrvUnInst.exe -s"
# The uninstaller hands over to a temporary copy and ends at once; the copy
# waits a second and removes the installation: wait for every process.
ORV_WINE_RUN_DIR="$demo/run" scripts/wine-run.sh --root "$wine_root" --wait-all \
  "C:\\Program Files (x86)\\Orvelle 6\\OrvUnInst.exe" -s 2>/dev/null && echo "   done" || echo "   exit status $?"

step "What is left"
# Looked at before Wine starts again: a cold start of the prefix is a restart,
# which carries out the queued deletions.
copies=$(find "$drive_c/users" -path '*/Temp/uni*.tmp' 2>/dev/null || true)
echo "   Temporary copy of the uninstaller, deleted at the next restart:"
if [ -n "$copies" ]; then sed "s|^$drive_c|C:|" <<<"$copies" | indent; else echo "   (none)"; fi
echo "   Pending restart operations (system.reg):"
grep -i 'PendingFileRenameOperations' "$demo/run/prefix/system.reg" | indent || echo "   (none)"
if [ -n "$installed" ] && [ -e "$installed" ]; then
  echo "   Installed folder still holds:"; (cd "$installed" && find . -mindepth 1 | sort) | indent
else
  echo "   Installed folder: gone"
fi
echo "   Shortcuts:"
show_shortcuts
echo "   Registry values (32-bit view):"
show_registry

step "After a restart of the prefix"
in_prefix wineboot.exe -r || true
left=$(find "$drive_c/users" -path '*/Temp/uni*.tmp' 2>/dev/null || true)
[ -z "$left" ] && echo "   the temporary copy is gone: nothing of Orvelle 6 is left" || { echo "   still there:"; indent <<<"$left"; }

step "The wizard, page by page (setup.exe without -s, on a virtual display)"
rm -rf "$top/build/screenshots"
scripts/wine-run.sh --root "$wine_root" --display "$top/build/bin/wizard_e2e_test.exe" \
  --gtest_filter=WizardEndToEnd.StateTableRowByRowThroughInstallationToFinish >"$demo/wizard.txt" 2>&1 \
  && echo "   walked through all five pages, installed, pressed Finish" || echo "   the walk-through failed: see $demo/wizard.txt"
# A walk that failed early may have saved none: nothing to list is no failure.
{ ls "$top/build/screenshots" 2>/dev/null || true; } | { grep -v '^dpi' || true; } | sed "s|^|   build/screenshots/|"

# The same walk on displays at 150 % and 200 % (Wine's LogPixels): dialog
# units follow the font, the picture is scaled to its place.
for dpi in 144 192; do
  step "The wizard at $dpi DPI"
  scripts/wine-run.sh --root "$wine_root" --display --dpi "$dpi" "$top/build/bin/wizard_e2e_test.exe" \
    --gtest_filter=WizardEndToEnd.StateTableRowByRowThroughInstallationToFinish >"$demo/wizard-$dpi.txt" 2>&1 \
    && echo "   walked through all five pages at $dpi DPI" || echo "   the walk-through failed: see $demo/wizard-$dpi.txt"
  { ls "$top/build/screenshots/dpi$dpi" 2>/dev/null || true; } | sed "s|^|   build/screenshots/dpi$dpi/|"
done

echo
echo "The prefix of this run stays in $demo/run for inspection."
