#!/usr/bin/env bash
# Runs every fuzz target of the portable core for a bounded time each and
# prints what it did: executions, executions per second, the corpus it grew,
# and every input that broke a rule (kept as a file to replay).
#
#   scripts/fuzz.sh [SECONDS]      SECONDS per target, default 60
#   ORV_NATIVE_BUILD=DIR           build folder (default build/native)
#
# Seeds of our own come from tests/fuzz/corpus/<target> (only read); new
# inputs go to DIR/fuzz/corpus/<target>, inputs that broke a rule to
# DIR/fuzz/artifacts/<target>, the run's output to DIR/fuzz/logs/<target>.log.
# An input that broke a rule is mended in the code, then kept in
# tests/fuzz/regressions/<target>/ (replayed by the test command) and turned
# into a unit test. Exit status 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
case "$seconds" in ''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;; esac
build=${ORV_NATIVE_BUILD:-build/native}

scripts/install-deps.sh
cmake --preset native-sanitize -B "$build" >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
printf '%-14s %8s %12s %10s %8s %8s\n' target seconds executions exec/s corpus found
for program in "$build"/fuzz/fuzz_*; do
  [ -x "$program" ] || continue
  target=${program##*/fuzz_}
  corpus=$build/fuzz/corpus/$target
  artifacts=$build/fuzz/artifacts/$target
  log=$build/fuzz/logs/$target.log
  mkdir -p "$corpus" "$artifacts" "${log%/*}"
  before=$(find "$artifacts" -type f | wc -l)
  "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || true
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n1; }
  found=$(( $(find "$artifacts" -type f | wc -l) - before ))
  printf '%-14s %8s %12s %10s %8s %8s\n' "$target" "$seconds" "$(stat number_of_executed_units)" \
    "$(stat average_exec_per_sec)" "$(find "$corpus" -type f | wc -l)" "$found"
  if [ "$found" -gt 0 ]; then
    status=1
    find "$artifacts" -type f -newer "$program" | sed 's/^/    /'
    grep -m3 -E 'ERROR|broken:|runtime error' "$log" | sed 's/^/    /' || true
  fi
done
exit $status
