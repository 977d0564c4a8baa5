#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when missing:
# the i386 architecture, the MinGW-w64 cross compiler, Wine (32 and 64 bit),
# Xvfb, GoogleTest's sources, locales, CMake; for the native build of the
# portable core clang with its sanitizer and libFuzzer runtimes
# (libclang-rt-14-dev) and llvm-symbolizer; for signing and the release
# osslsigncode, openssl and zip; on a kernel that cannot run 32-bit x86
# programs, QEMU's i386 user emulation from bookworm-backports (see
# with-emulated-i386.sh). Idempotent and unattended.
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb googletest locales imagemagick
          clang libclang-rt-14-dev llvm osslsigncode openssl zip)

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
if [ ${#missing[@]} -eq 0 ]; then
  "$(dirname "$0")/install-emulator.sh"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
# A mirror in mid-sync can fail one list (seen: the security suite's i386
# list); apt then keeps the others, and the install below says whether they
# serve.
refresh() { "${sudo_cmd[@]}" apt-get update -q || echo "install-deps: some package lists were not refreshed" >&2; }
install_missing() { "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$@" "${missing[@]}"; }
if [ "$need_update" = 1 ] || ! apt-cache policy wine32:i386 2>/dev/null | grep -q Candidate:; then
  refresh
fi
# A stale package list: refresh it once and try again. Without one suite's
# i386 list, the 32-bit libraries cannot match the 64-bit ones' newer
# versions from that suite: the release's own suite, preferred, gives both
# architectures the same versions.
install_missing || { refresh; install_missing; } || install_missing -t "$(. /etc/os-release && echo "$VERSION_CODENAME")"
"$(dirname "$0")/install-emulator.sh"
