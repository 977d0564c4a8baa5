#!/usr/bin/env bash
# Configures and builds setup.exe and the test programs into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86
