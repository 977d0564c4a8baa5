#!/usr/bin/env bash
# Zero-residue soak: 25 cycles (or the number given) of silent installation,
# re-installation over it and silent removal of the sample package in ONE
# Wine prefix, alternating all users and the current user (the latter through
# the wizard), with and without the desktop and autostart shortcuts. After
# every cycle the whole registry (HKLM and HKU, 64- and 32-bit views) and the
# whole drive C: are compared with their state before the first cycle; the
# only differences allowed are the queued deletions of the temporary
# uninstaller copies and those copies. Prints one line per cycle.
#
#   scripts/soak.sh [CYCLES] [BUILD_DIR]     (defaults: 25, build)
set -eu
cycles=${1:-25}
build=${2:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
[ -x "$build/bin/zero_residue_test.exe" ] || cmake --build "$build" --target zero_residue_test setup sample_package recorder
ORV_SOAK_CYCLES=$cycles exec scripts/wine-run.sh --root "$build/wine" --display \
  "$build/bin/zero_residue_test.exe" --gtest_filter='ZeroResidue.InstallReinstall*'
