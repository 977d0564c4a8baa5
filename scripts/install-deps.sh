#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when missing:
# the i386 architecture, the MinGW-w64 cross compiler, Wine (32 and 64 bit),
# Xvfb, GoogleTest's sources, locales, CMake; for the native build of the
# portable core clang with its sanitizer and libFuzzer runtimes
# (libclang-rt-14-dev) and llvm-symbolizer. Idempotent and unattended.
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb googletest locales imagemagick
          clang libclang-rt-14-dev llvm)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$need_update" = 1 ] || ! apt-cache policy wine32:i386 2>/dev/null | grep -q Candidate:; then
  "${sudo_cmd[@]}" apt-get update -q
fi
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" || {
  # A stale package list: refresh it once and try again.
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}
