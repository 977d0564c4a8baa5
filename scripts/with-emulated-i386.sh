#!/usr/bin/env bash
# Runs a command where 32-bit x86 Linux programs (Wine's 32-bit loader) run
# through qemu-i386, for machines whose kernel cannot run them ("Exec format
# error", as on a PVM guest). The binfmt_misc entry lives in a user and
# mount namespace of the command's own: nothing outside changes. Needs QEMU
# 8 or later (bookworm-backports' qemu-user, which install-deps.sh installs
# on such a machine): QEMU 7.2 spends about a minute in its own mapping
# bookkeeping at every Wine start, QEMU 10 about a second. E.g.
#   scripts/with-emulated-i386.sh scripts/wine-run.sh --root build/wine \
#       build/bin/file_replace_test.exe --gtest_filter='FileReplace.*'
set -euo pipefail
qemu=/usr/bin/qemu-i386
if [ "${1:-}" != --inside ]; then
  [ -x "$qemu" ] || { echo "with-emulated-i386.sh: run scripts/install-deps.sh first (qemu-user)" >&2; exit 2; }
  # Wine maps its shared user data at 0x7ffe0000: with qemu's default of
  # the whole 4 GiB reserved for the guest, that mapping fails.
  export QEMU_RESERVED_VA=0xf0000000
  exec unshare --user --map-root-user --mount --fork "$0" --inside "$@"
fi
shift
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# F: the kernel opens qemu now, so it is found whatever the command's root.
echo ":qemu-i386:M::$magic:$mask:$qemu:F" >/proc/sys/fs/binfmt_misc/register
exec "$@"
