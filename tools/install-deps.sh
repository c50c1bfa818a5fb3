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
  wine64 xvfb xdotool                            # running the Windows tests
  g++-multilib qemu-user                         # the 32-bit build of the shared code
)

packages=("${build_packages[@]}")
[ "$what" = "test" ] && packages+=("${test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "$what" = "test" ] && ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
