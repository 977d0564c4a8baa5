#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, and runs all test
# programs under Wine (each test in a fresh prefix) through CTest; then the
# portable core natively with the sanitizers: its unit tests, the fuzz
# regressions and a short run of every fuzz target (scripts/native-test.sh).
# Fails when any of them fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
status=0
# Wine starts a 32-bit program through its 32-bit loader: on a kernel that
# cannot run 32-bit x86 programs, Wine's 32-bit side runs emulated.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  ctest --preset windows-x86 "$@" || status=$?
else
  echo "test.sh: this machine cannot run 32-bit x86 programs; Wine's 32-bit side runs through qemu-i386" >&2
  scripts/with-emulated-i386.sh ctest --preset windows-x86 "$@" || status=$?
fi
scripts/native-test.sh || status=$?
exit $status
