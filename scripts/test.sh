#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, and runs all test
# programs under Wine (each test in a fresh prefix) through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --preset windows-x86 "$@"
