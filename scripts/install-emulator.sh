#!/usr/bin/env bash
# On a kernel that cannot run 32-bit x86 programs (a PVM guest: "Exec format
# error"), installs QEMU's user emulation from bookworm-backports, for
# with-emulated-i386.sh. Bookworm's own QEMU 7.2 takes about a minute to start
# each Wine program; backports' 10.0 about a second. Does nothing where
# 32-bit programs run, or where a recent enough QEMU is installed.
set -euo pipefail
/lib/ld-linux.so.2 --version >/dev/null 2>&1 && exit 0
version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
if [ -n "$version" ] && dpkg --compare-versions "$version" ge 1:8; then exit 0; fi

sudo_cmd=()
[ "$(id -u)" = 0 ] || sudo_cmd=(sudo)
list=/etc/apt/sources.list.d/bookworm-backports.sources
if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
  printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    "${sudo_cmd[@]}" tee "$list" >/dev/null
fi
echo "install-emulator: this machine cannot run 32-bit x86 programs; installing qemu-user from bookworm-backports"
"${sudo_cmd[@]}" apt-get update -q || echo "install-emulator: some package lists were not refreshed" >&2
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user
