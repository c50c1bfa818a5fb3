#!/usr/bin/env bash
# Installs what building and testing Ostrel needs on a fresh Debian 12 machine.
#   tools/install-deps.sh build   compilers and CMake only (the demo)
#   tools/install-deps.sh test    everything the test presets use (default)
set -euo pipefail
what="${1:-test}"

build_packages=(cmake ninja-build g++ make binutils)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev      # unit tests and benchmarks
  clang-14 libclang-rt-14-dev                    # libFuzzer and sanitizers with clang
  locales                                        # a comma-decimal locale for number tests
  imagemagick                                    # the second implementation image tests compare with
  libtinyobjloader-dev                           # a second OBJ reader for the OBJ tests
  g++-mingw-w64-x86-64 g++-mingw-w64-i686        # the Windows deliverables
  xvfb xdotool                                   # running the Windows tests (wine below)
  g++-multilib qemu-user                         # the 32-bit build of the shared code
  libgnustep-gui-dev gnustep-back0.29            # the macOS half on GNUstep (clang-14 above)
  libc++-14-dev musl-dev lld-14 llvm-14          # the macOS libc++ compile and the Mach-O link
)

# Only the 64-bit Wine: with the i386 packages, `wine` stops running 64-bit
# programs. Installed with its recommended libraries (X input, fonts), which
# its dialogs use.
wine_packages=(wine64 wine)

packages=("${build_packages[@]}")
[ "$what" = "test" ] && packages+=("${test_packages[@]}")

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
updated=""
install_missing() {
  local missing=() p
  for p in "${@:2}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ -n "$updated" ] || { $SUDO apt-get update -q; updated=1; }
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $1 "${missing[@]}"
}
install_missing --no-install-recommends "${packages[@]}"
[ "$what" = "test" ] && install_missing "" "${wine_packages[@]}"

if [ "$what" = "test" ] && ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
