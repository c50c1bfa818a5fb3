#!/bin/sh
# Runs one 32-bit x86 Linux program for CTest (the cross-compiling emulator of
# the linux32 build): natively where the kernel runs 32-bit code, otherwise
# under qemu-i386 user-mode emulation. OSTREL_LINUX32_EMULATE=1 takes qemu-i386
# even where native runs work.
#
#   tools/linux32-run.sh PROGRAM [ARGS...]
#
# Exits 77 (the tests' skip status), saying why, when neither way exists.
set -eu

# The probe is the 32-bit dynamic loader itself, which every program of the
# build names as its interpreter.
if [ -z "${OSTREL_LINUX32_EMULATE:-}" ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    exec "$@"
fi
qemu=${OSTREL_QEMU_I386:-$(command -v qemu-i386 || true)}
if [ -z "$qemu" ]; then
    echo "linux32-run: not run: this machine does not run 32-bit x86 programs, and qemu-i386 is not installed (Debian: qemu-user)"
    exit 77
fi
exec "$qemu" "$@"
