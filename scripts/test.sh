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
ctest --preset windows-x86 "$@" || status=$?
scripts/native-test.sh || status=$?
exit $status
