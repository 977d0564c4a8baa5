#!/usr/bin/env bash
# The portable core natively (clang, AddressSanitizer, UndefinedBehaviorSanitizer):
# configures and builds the preset native-sanitize, then runs its CTest tests:
# the portable unit tests (under code pages 1252 and 932), the replay of every
# input kept in tests/fuzz/regressions, and a short run of every fuzz target
# (ORV_FUZZ_SMOKE_SECONDS each, default 5).
#   ORV_NATIVE_BUILD=DIR  build folder (default build/native)
# Extra arguments go to ctest, for example -L native_test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ORV_NATIVE_BUILD:-build/native}
smoke=${ORV_FUZZ_SMOKE_SECONDS:-5}

cmake --preset native-sanitize -B "$build" -DORV_FUZZ_SMOKE_SECONDS="$smoke" >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2 "$@"
