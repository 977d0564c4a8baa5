#!/usr/bin/env bash
# The performance benchmark: setup.exe against a raw copy of the same files,
# re-installation and an upgrade against a raw copy over the installed files,
# the upgrade also against a raw safe replace (each file copied whole beside
# its target and renamed over it), the uninstall work against a raw delete,
# both against two peer installers on the same payload (NSIS 3, and an MSI
# package built with wixl, installed and removed by msiexec); the
# installation with the administrator's log against one without; scaling in
# files and in log lines; start-up time and the size of setup.exe.
# Everything runs in ONE fresh Wine prefix whose server stays up for the
# whole run, A and B alternating pass by pass, so that only ratios taken side
# by side are reported.
#
#   bench/run.sh [--runs N] [--build DIR] [--out DIR] [--smoke] [--payload SPEC]
#
# --runs N   timed passes per measurement after one warm-up pass (default 5)
# --build    the CMake build folder (default build/; configured if needed)
# --out      where the prefix, payloads and results go (default DIR/bench)
# --smoke    a tiny payload and one pass without warm-up: checks that every
#            step works
# --payload "FILES MEGABYTES SUBFOLDERS"  measure this payload only (repeatable)
# Writes OUT/results.md (the table) and OUT/samples.tsv (every sample).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=5 warmup=1 smoke=0 build="" out="" payloads=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --smoke) smoke=1; runs=1; warmup=0; shift ;;
    --payload) payloads+=("$2"); shift 2 ;;
    *) echo "usage: bench/run.sh [--runs N] [--build DIR] [--out DIR] [--smoke] [--payload SPEC]" >&2; exit 2 ;;
  esac
done
build=$(mkdir -p "${build:-$top/build}" && cd "${build:-$top/build}" && pwd)
out=${out:-$build/bench}
mkdir -p "$out" && out=$(cd "$out" && pwd)

say() { printf '== %s\n' "$*" >&2; }

# What the benchmark needs beyond the build's own tools: the peer installer's
# compiler. The smoke run does without it rather than install anything.
if [ "$smoke" = 0 ]; then
  "$top/scripts/install-deps.sh"
  sudo_cmd=(); [ "$(id -u)" = 0 ] || sudo_cmd=(sudo)
  for tool in makensis:nsis wixl:wixl; do
    command -v "${tool%%:*}" >/dev/null && continue
    say "installing ${tool#*:} (a peer installer's build tool)"
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${tool#*:}" >/dev/null
  done
  [ -f "$build/CMakeCache.txt" ] || (cd "$top" && cmake --preset windows-x86 -B "$build" >/dev/null)
  cmake --build "$build" --target bench_programs -j2 >/dev/null
fi
bin=$build/bin
for program in setup bench_time raw_copy raw_delete uninstall_work replay_lines startup_probe ask_only \
               OrvPix6-6.1.2.3; do
  [ -f "$bin/$program.exe" ] || { echo "bench: $bin/$program.exe is not built" >&2; exit 1; }
done
peer=1
command -v makensis >/dev/null || { peer=0; say "makensis not found: no NSIS peer in this run"; }
msi=1
command -v wixl >/dev/null || { msi=0; say "wixl not found: no MSI peer in this run"; }
# The MSI peer's largest payload: msiexec takes minutes per pass beyond it.
msi_most=2000

# --- One prefix for the whole run, its server kept alive --------------------
rm -rf "$out"
mkdir -p "$out"
run=$out/run
ORV_WINE_RUN_DIR=$run "$top/scripts/wine-run.sh" --root "$build/wine" cmd.exe /c exit >/dev/null 2>&1 || true
[ -d "$run/prefix/drive_c" ] || { echo "bench: no prefix made in $run" >&2; exit 1; }
export WINEPREFIX=$run/prefix HOME=$run/home WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export XDG_CONFIG_HOME=$run/home/.config XDG_DATA_HOME=$run/home/.local/share XDG_CACHE_HOME=$run/home/.cache
unset WINEARCH DISPLAY
wine_env=(LOCPATH="$build/wine/locale" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8)
drive_c=$WINEPREFIX/drive_c
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 1' INT TERM  # so that a stopped run still ends its Wine server and display
# A private display from the first program on: the prefix's desktop process
# takes the display of the first program that starts it and keeps it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$out/display")"
wineserver -p
w() { env "${wine_env[@]}" wine "$@" 2>/dev/null | tr -d '\r'; }

# Samples: metric, pass, value (milliseconds unless the metric says).
samples=$out/samples.tsv
: >"$samples"
record() { printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$samples"; }

# Times a Windows command from its process start to its end; prints ms.
# What earlier steps wrote is flushed first (outside the timing): otherwise
# a step pays for the write-back of the one before it, and A and B of a pass
# do not start from the same state.
timed() {
  local result
  sync
  # The last line is the timer's: the program's own output comes before it.
  result=$(w "$bin/bench_time.exe" "$@" | tail -n1)
  [ -n "$result" ] || { echo "bench: no timing for $*" >&2; exit 1; }
  echo "${result%% *}"
}

count_files() { if [ -d "$1" ]; then find "$1" -type f | wc -l; else echo 0; fi; }
expect_files() {  # FOLDER COUNT WHAT
  local found
  found=$(count_files "$1")
  [ "$found" = "$2" ] || { echo "bench: $3: $found files in $1, expected $2" >&2; exit 1; }
}
expect_gone() { [ ! -e "$1" ] || { echo "bench: $2: $1 is still there" >&2; exit 1; }; }
# FOLDER WHAT: every file of the next version is in FOLDER with its bytes,
# and no staging folder is left (only files of the first version that the
# next one lacks may be there besides).
expect_replaced() {
  local wrong
  wrong=$(diff -rq "$next_dir" "$1" | grep -vF "Only in $1" || true)
  [ -z "$wrong" ] || { echo "bench: $2: not the next version: $wrong" >&2; exit 1; }
  [ -z "$(find "$1" -name '~OrvSetup.staging')" ] || { echo "bench: $2: a staging folder is left" >&2; exit 1; }
}

# --- Payloads ---------------------------------------------------------------
if [ "$smoke" = 1 ]; then
  [ ${#payloads[@]} -gt 0 ] || payloads=("20 1 2")
  log_sizes=(100 200)
else
  [ ${#payloads[@]} -gt 0 ] || payloads=("200 20 4" "2000 200 4" "20000 200 8")
  log_sizes=(1000 10000 100000)
fi
program_files="$drive_c/Program Files (x86)"
[ -d "$program_files" ] || program_files="$drive_c/Program Files"
installed_win="C:\\${program_files#$drive_c/}\\Orvelle 6"
installed_win=${installed_win//\//\\}
installed="$program_files/Orvelle 6"

# The package's programs, copied into a payload folder.
add_programs() {  # DIR
  cp "$bin/setup.exe" "$1/setup.exe"
  cp "$bin/setup.exe" "$1/OrvUnInst.exe"
  cp "$bin/OrvPix6-6.1.2.3.exe" "$1/OrvPix6.exe"
}

make_package() {  # FILES MEGABYTES SUBFOLDERS -> folder name under C:\bench
  local files=$1 name=p$1
  local dir=$drive_c/bench/$name
  python3 "$top/bench/make_payload.py" package "$dir" "$@"
  add_programs "$dir"
  # The next version of the package: the same names, every payload file's
  # bytes changed (the programs stay the same).
  python3 "$top/bench/make_payload.py" package "$drive_c/bench/next$files" "$@" 1
  add_programs "$drive_c/bench/next$files"
  # The MSI holds the package folder's files as they are before the NSIS
  # peer's installer joins them; it lies outside the folder.
  if [ "$msi" = 1 ] && [ "$files" -le "$msi_most" ]; then
    mkdir -p "$drive_c/bench/msi"
    (cd "$drive_c/bench" && find "$name" -type f |
       wixl-heat --prefix "$name/" --directory-ref INSTALLDIR --component-group Payload --var var.SourceDir \
       >"msi/$name-files.wxs" &&
     wixl -D SourceDir="$name" -o "msi/$name.msi" "$top/bench/peer.wxs" "msi/$name-files.wxs")
  fi
  if [ "$peer" = 1 ]; then
    makensis -V1 -DPACKAGE="$dir" -DOUTFILE="$dir/peer-setup.exe" "$top/bench/peer.nsi" >/dev/null
  fi
}

# --- Installation and removal, A and B alternating ---------------------------
for payload in "${payloads[@]}"; do
  set -- $payload
  files=$1
  say "payload: $1 files, $2 MB, $3 sub-folders"
  make_package "$@"
  package="C:\\bench\\p$files"
  package_dir=$drive_c/bench/p$files
  next="C:\\bench\\next$files"
  next_dir=$drive_c/bench/next$files
  safe_dir=$drive_c/safe
  shipped=$(count_files "$package_dir")
  # The script's files, the two programs it names and the uninstall log.
  want_installed=$((files + 3))

  ours() {  # PASS
    local t
    t=$(timed "$package\\setup.exe" -s); expect_files "$installed" "$want_installed" "installation"
    [ "$1" -ge 1 ] && record "install_$files" "$1" "$t"
    t=$(timed "$package\\setup.exe" -s); expect_files "$installed" "$want_installed" "re-installation"
    [ "$1" -ge 1 ] && record "reinstall_$files" "$1" "$t"
    t=$(timed "$next\\setup.exe" -s); expect_files "$installed" "$want_installed" "upgrade"
    [ "$1" -ge 1 ] && record "upgrade_$files" "$1" "$t"
    t=$(timed "$bin/uninstall_work.exe" "$installed_win\\OrvUnInst.exe"); expect_gone "$installed" "uninstallation"
    [ "$1" -ge 1 ] && record "uninstall_$files" "$1" "$t"
    # The same installation with the administrator's log (a new file each time).
    rm -f "$drive_c/bench/setup.log"
    t=$(timed "$package\\setup.exe" -s -log 'C:\bench\setup.log')
    expect_files "$installed" "$want_installed" "installation with -log"
    [ -s "$drive_c/bench/setup.log" ] || { echo "bench: -log wrote nothing" >&2; exit 1; }
    [ "$1" -ge 1 ] && record "loginstall_$files" "$1" "$t"
    w "$bin/uninstall_work.exe" "$installed_win\\OrvUnInst.exe" >/dev/null; expect_gone "$installed" "uninstallation"
    return 0
  }
  raw() {  # PASS
    local t
    t=$(timed "$bin/raw_copy.exe" "$package" 'C:\raw'); expect_files "$drive_c/raw" "$shipped" "raw copy"
    [ "$1" -ge 1 ] && record "rawcopy_$files" "$1" "$t"
    t=$(timed "$bin/raw_copy.exe" "$package" 'C:\raw'); expect_files "$drive_c/raw" "$shipped" "raw copy over"
    [ "$1" -ge 1 ] && record "rawrecopy_$files" "$1" "$t"
    t=$(timed "$bin/raw_copy.exe" "$next" 'C:\raw'); expect_files "$drive_c/raw" "$shipped" "raw copy of the next version"
    [ "$1" -ge 1 ] && record "rawupgrade_$files" "$1" "$t"
    t=$(timed "$bin/raw_delete.exe" 'C:\raw'); expect_gone "$drive_c/raw" "raw delete"
    [ "$1" -ge 1 ] && record "rawdelete_$files" "$1" "$t"
    # The next version over a copy of the first (made outside the timing), each
    # file copied whole into a staging folder beside its target and renamed
    # over it: the raw loop that, like the upgrade, never leaves a cut file.
    rm -rf "$safe_dir"; cp -r "$package_dir" "$safe_dir"
    t=$(timed "$bin/raw_copy.exe" --safe-replace "$next" 'C:\safe')
    expect_files "$safe_dir" "$shipped" "raw safe replace"; expect_replaced "$safe_dir" "raw safe replace"
    [ "$1" -ge 1 ] && record "rawsafeupgrade_$files" "$1" "$t"
    rm -rf "$safe_dir"
    return 0
  }
  peer_run() {  # PASS
    [ "$peer" = 1 ] || return 0
    local t
    t=$(timed "$package\\peer-setup.exe" /S); expect_files "$drive_c/peer/orvelle" "$((shipped + 1))" "peer installation"
    [ "$1" -ge 1 ] && record "peerinstall_$files" "$1" "$t"
    # _?= (last, unquoted: hence a folder without blanks) runs the uninstaller
    # in place instead of from a temporary copy, so that its end is the work's
    # end. It cannot delete itself then.
    t=$(timed 'C:\peer\orvelle\peer-uninst.exe' /S '_?=C:\peer\orvelle')
    expect_files "$drive_c/peer/orvelle" 1 "peer removal"
    rm -rf "$drive_c/peer/orvelle"
    [ "$1" -ge 1 ] && record "peeruninstall_$files" "$1" "$t"
    return 0
  }
  msi_run() {  # PASS
    [ "$msi" = 1 ] && [ "$files" -le "$msi_most" ] || return 0
    local t msiexec='C:\windows\system32\msiexec.exe'
    t=$(timed "$msiexec" /qn /i "C:\\bench\\msi\\p$files.msi")
    # The package's files but the NSIS peer's installer, built after the MSI.
    expect_files "$drive_c/msipeer" "$((shipped - peer))" "MSI peer installation"
    [ "$1" -ge 1 ] && record "msiinstall_$files" "$1" "$t"
    t=$(timed "$msiexec" /qn /x "C:\\bench\\msi\\p$files.msi"); expect_gone "$drive_c/msipeer" "MSI peer removal"
    [ "$1" -ge 1 ] && record "msiuninstall_$files" "$1" "$t"
    return 0
  }
  # Pass 0 warms the caches and is not recorded (none with --smoke); the
  # order turns every pass.
  for pass in $(seq $((1 - warmup)) "$runs"); do
    if [ $((pass % 2)) = 0 ]; then ours "$pass"; raw "$pass"; peer_run "$pass"; msi_run "$pass"
    else raw "$pass"; msi_run "$pass"; peer_run "$pass"; ours "$pass"; fi
  done
  rm -rf "$package_dir" "$next_dir"
done

# --- Log replay per line ----------------------------------------------------
say "log replay: ${log_sizes[*]} lines"
mkdir -p "$drive_c/bench/logs/folder"
for lines in "${log_sizes[@]}"; do
  python3 "$top/bench/make_payload.py" log "$drive_c/bench/logs/log$lines.log" "$lines"
done
for pass in $(seq $((1 - warmup)) "$runs"); do
  for lines in "${log_sizes[@]}"; do
    result=$(w "$bin/replay_lines.exe" "C:\\bench\\logs\\log$lines.log" 'C:\bench\logs\folder')
    [ "${result#* }" = "$lines" ] || { echo "bench: replay read ${result#* } of $lines lines" >&2; exit 1; }
    [ "$pass" -ge 1 ] && record "replay_$lines" "$pass" "${result%% *}"
  done
done

# --- Start-up ----------------------------------------------------------------
say "start-up: wizard frame visible, declined uninstallation"
start_dir=$drive_c/bench/start
mkdir -p "$start_dir"
python3 "$top/bench/make_payload.py" package "$start_dir" 10 1 1
cp "$bin/setup.exe" "$start_dir/setup.exe"
cp "$bin/setup.exe" "$start_dir/OrvUnInst.exe"
cp "$bin/OrvPix6-6.1.2.3.exe" "$start_dir/OrvPix6.exe"
for pass in $(seq $((1 - warmup)) "$runs"); do
  t=$(w "$bin/startup_probe.exe" wizard 'C:\bench\start\setup.exe')
  [ -n "$t" ] || { echo "bench: the wizard did not show" >&2; exit 1; }
  [ "$pass" -ge 1 ] && record wizard "$pass" "$t"
  t=$(w "$bin/startup_probe.exe" noop 'C:\bench\start\OrvUnInst.exe')
  [ -n "$t" ] || { echo "bench: the uninstaller's question did not show" >&2; exit 1; }
  [ "$pass" -ge 1 ] && record noop "$pass" "$t"
  t=$(w "$bin/startup_probe.exe" noop "$bin/ask_only.exe")
  [ -n "$t" ] || { echo "bench: ask_only's question did not show" >&2; exit 1; }
  [ "$pass" -ge 1 ] && record ask_only "$pass" "$t"
  [ "$pass" -ge 1 ] && record trivial "$pass" "$(timed "$bin/raw_delete.exe" 'C:\bench\nothing')"
done

# --- Size ---------------------------------------------------------------------
record setup_size 1 "$(stat -c %s "$bin/setup.exe")"

load=$(cut -d' ' -f1-3 /proc/loadavg)
python3 "$top/bench/report.py" "$samples" --runs "$runs" --load "$load" --peer "$peer" --msi "$msi" >"$out/results.md"
cat "$out/results.md"
say "table written to $out/results.md"
