#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh, isolated prefix and removes
# the prefix afterwards. Used by CTest for every test run, and by the scripts.
#
#   wine-run.sh --root DIR [--display] [--locale ja|fr] [--dpi N] PROGRAM [ARGS...]
#
# DIR holds the per-build state: the template prefix (made once, since
# wineboot takes seconds), generated locales and the run folders.
# --display (or ORV_WINE_DISPLAY=1): run under a private Xvfb display, for
#   programs that open windows or message boxes.
# --locale (or ORV_WINE_LOCALE): ja (ANSI code page 932) or fr (1252, default).
# --wait-all: wait for every process the program started (the uninstaller's
#   temporary copy outlives the uninstaller) instead of ending them.
# --small-drive LETTER:SIZE: a drive of SIZE (tmpfs size, e.g. 4m) as LETTER:
#   in the prefix, for programs that must meet a full disk. Needs the right
#   to mount (root); without it the drive is missing and a warning printed.
# --folder-links: the program may ask for folder links while it runs (Wine
#   shows a Unix symbolic link to a folder as a reparse point, but cannot make
#   one): it writes NAME.req into C:\folder-link-requests, two lines (the
#   link's path and its target's, both on C:), and waits for NAME.done, or
#   NAME.failed. Paths are taken as they are written: case counts.
# --dpi N: the prefix's display at N dots per inch (144 = 150 %, 192 = 200 %):
#   HKCU\Control Panel\Desktop "LogPixels", set before the program starts.
# Environment:
#   ORV_WINE_KEEP=1       keep the run folder (its path is printed)
#   ORV_WINE_RUN_DIR=DIR  use DIR as the run folder (kept afterwards)
# Inside the program, ORV_RUN_DIR is the run folder as a Unix path.
set -u

root=""
wait_all=0
small_drive=""
folder_links=0
dpi=""
while [ $# -gt 0 ]; do
  case "$1" in
    --root) root=$2; shift 2 ;;
    --display) ORV_WINE_DISPLAY=1; shift ;;
    --locale) ORV_WINE_LOCALE=$2; shift 2 ;;
    --wait-all) wait_all=1; shift ;;
    --small-drive) small_drive=$2; shift 2 ;;
    --folder-links) folder_links=1; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    *) break ;;
  esac
done
[ -n "$root" ] || { echo "wine-run.sh: --root DIR is required" >&2; exit 2; }
[ $# -ge 1 ] || { echo "usage: wine-run.sh --root DIR PROGRAM [ARGS...]" >&2; exit 2; }
mkdir -p "$root/runs"
root=$(cd "$root" && pwd)

export WINEDEBUG=-all
# No menu entries or .desktop files in $HOME for shortcuts; no Mono/Gecko prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset WINEARCH DISPLAY

template="$root/template"

make_template() {
  local tmp="$root/template.new"
  rm -rf "$tmp"
  mkdir -p "$tmp/home"
  HOME="$tmp/home" WINEPREFIX="$tmp/prefix" wineboot -i >/dev/null 2>&1
  HOME="$tmp/home" WINEPREFIX="$tmp/prefix" wineserver -w
  # The user's folders are symlinks to $HOME: make them real folders of the
  # prefix, so that nothing a test does reaches outside it.
  local users="$tmp/prefix/drive_c/users"
  find "$users" -maxdepth 2 -type l | while read -r link; do
    rm -f "$link" && mkdir -p "$link"
  done
  [ -f "$tmp/prefix/system.reg" ] || { echo "wine-run.sh: wineboot failed" >&2; return 1; }
  rm -rf "$tmp/home"
  mv "$tmp/prefix" "$template"
  rmdir "$tmp"
}

make_locale() {  # NAME: ja_JP or fr_FR, generated into the build, not the system
  local name=$1
  [ -d "$root/locale/$name.UTF-8" ] && return 0
  mkdir -p "$root/locale"
  localedef -i "$name" -f UTF-8 "$root/locale/$name.UTF-8.new" >/dev/null 2>&1 || true
  [ -d "$root/locale/$name.UTF-8.new" ] || { echo "wine-run.sh: localedef $name failed" >&2; return 1; }
  mv "$root/locale/$name.UTF-8.new" "$root/locale/$name.UTF-8"
}

(
  flock 9
  [ -d "$template" ] || make_template || exit 1
  case "${ORV_WINE_LOCALE:-fr}" in
    ja) make_locale ja_JP ;;
    *)  make_locale fr_FR ;;
  esac
) 9>"$root/.lock" || exit 1

case "${ORV_WINE_LOCALE:-fr}" in
  ja) loc=ja_JP.UTF-8 ;;
  *)  loc=fr_FR.UTF-8 ;;
esac
# Only Wine gets the locale (bash itself would warn about it).
locale_env=(LOCPATH="$root/locale" LANG="$loc" LC_ALL="$loc")

unix_path() {  # C:\WINDOWS\PATH -> the file of the prefix it names
  local path=${1#[Cc]:}
  printf '%s' "$WINEPREFIX/drive_c${path//\\//}"
}

# Serves the program's requests for folder links until it ends.
serve_folder_links() {  # PID
  local requests="$WINEPREFIX/drive_c/folder-link-requests" request link target
  while kill -0 "$1" 2>/dev/null; do
    for request in "$requests"/*.req; do
      [ -e "$request" ] || continue
      { IFS= read -r link; IFS= read -r target; } < <(tr -d '\r' <"$request")
      if ln -s "$(unix_path "$target")" "$(unix_path "$link")" 2>/dev/null; then
        mv "$request" "${request%.req}.done"
      else
        mv "$request" "${request%.req}.failed"
      fi
    done
    sleep 0.05
  done
}

run_once() {  # PROGRAM [ARGS...]: one run in its own run folder; sets rc
  if [ -n "${ORV_WINE_RUN_DIR:-}" ]; then
    run=$ORV_WINE_RUN_DIR; keep=1
    mkdir -p "$run"
  else
    run=$(mktemp -d "$root/runs/run.XXXXXX"); keep=${ORV_WINE_KEEP:-0}
  fi
  mkdir -p "$run/home"
  if [ ! -d "$run/prefix" ]; then
    # Copy the prefix, but hard-link the system DLL folders (1.2 GB that no
    # test writes to; deleting or renaming a link leaves the template intact).
    mkdir -p "$run/prefix"
    ( cd "$template" && find . -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$run/prefix/" \; )
    mkdir -p "$run/prefix/drive_c"
    for entry in "$template"/drive_c/*; do
      name=$(basename "$entry")
      if [ "$name" = windows ]; then
        mkdir -p "$run/prefix/drive_c/windows"
        for w in "$entry"/* "$entry"/.[!.]*; do
          [ -e "$w" ] || continue
          case "$(basename "$w")" in
            system32|syswow64|winsxs) cp -al "$w" "$run/prefix/drive_c/windows/" ;;
            *) cp -a "$w" "$run/prefix/drive_c/windows/" ;;
          esac
        done
      else
        cp -a "$entry" "$run/prefix/drive_c/"
      fi
    done
  fi
  export WINEPREFIX="$run/prefix" HOME="$run/home" ORV_RUN_DIR="$run"

  small_mount=""
  if [ -n "$small_drive" ]; then
    letter=$(printf '%s' "${small_drive%%:*}" | tr 'A-Z' 'a-z')
    small_mount="$run/small-drive"
    mkdir -p "$small_mount"
    if mount -t tmpfs -o "size=${small_drive#*:}" tmpfs "$small_mount" 2>/dev/null; then
      ln -sfn "$small_mount" "$WINEPREFIX/dosdevices/$letter:"
    else
      echo "wine-run.sh: cannot mount the small drive $small_drive (not root?)" >&2
      rmdir "$small_mount"; small_mount=""
    fi
  fi
  export XDG_CONFIG_HOME="$run/home/.config" XDG_DATA_HOME="$run/home/.local/share" XDG_CACHE_HOME="$run/home/.cache"

  local program=$1; shift
  xvfb_pid=""
  if [ "${ORV_WINE_DISPLAY:-0}" = 1 ]; then
    # A private X server; -displayfd picks a free display without races
    # between parallel test runs.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$run/display")"
  fi
  if [ -n "$dpi" ]; then
    # Read by each Wine process as it starts (the server is alive between).
    env "${locale_env[@]}" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1 || echo "wine-run.sh: could not set LogPixels to $dpi" >&2
  fi
  if [ "$folder_links" = 1 ]; then
    mkdir -p "$WINEPREFIX/drive_c/folder-link-requests"
    env "${locale_env[@]}" wine "$program" "$@" &
    local wine_pid=$!
    serve_folder_links "$wine_pid"
    wait "$wine_pid"
  else
    env "${locale_env[@]}" wine "$program" "$@"
  fi
  rc=$?

  # Child processes outlive wine: end everything of this prefix (or let it
  # finish, with --wait-all), then wait for the server to go.
  [ "$wait_all" = 1 ] || wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  # Unmounted even when the run folder is kept: the mount is no part of it.
  [ -n "$small_mount" ] && umount "$small_mount" 2>/dev/null && rmdir "$small_mount"
  if [ "$keep" = 1 ]; then
    echo "wine-run.sh: run folder kept: $run" >&2
  else
    rm -rf "$run"
  fi
}

run_once "$@"
# Wine 8 now and then dies of a Unix signal (seen: SIGSEGV after the test
# program had printed its verdict), which is Wine's fault, not the program's:
# a crash inside the program ends with its Windows exception code instead
# (0xC0000005 arrives as 5), and our programs never exit with 129-159
# themselves. Such a run is made once more in a fresh prefix; a kept run
# folder is not fresh, so it is not run again.
if [ "$rc" -gt 128 ] && [ "$rc" -lt 160 ] && [ -z "${ORV_WINE_RUN_DIR:-}" ]; then
  echo "wine-run.sh: Wine died of signal $((rc - 128)); running $1 once more in a fresh prefix" >&2
  run_once "$@"
fi
exit $rc
