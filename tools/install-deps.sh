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

# Wine with its recommended libraries (X input, fonts), which its dialogs use.
# The 32-bit loader (wine32:i386) is added below where 32-bit code runs;
# tools/wine-run.sh calls each loader by its path, never the `wine` launcher.
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

# Quendle.dll's tests need the 32-bit Wine loader, which needs a kernel that
# runs 32-bit x86 code (g++-multilib above brings the 32-bit dynamic loader
# that probes it). A refusal by apt is not fatal: the win32 preset then shows
# its programs as skipped, saying why.
install_wine32() {
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "install-deps: this machine does not run 32-bit x86 programs; wine32 not installed" >&2
    return 0
  fi
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && return 0
  local added=""
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && added=1
  fi
  if $SUDO apt-get update -q && DEBIAN_FRONTEND=noninteractive \
       $SUDO apt-get install -y -q --no-install-recommends wine32:i386; then
    return 0
  fi
  echo "install-deps: apt could not install wine32:i386; the win32 tests will be skipped" >&2
  # Leave the package lists as they were when nothing of i386 got installed.
  if [ -n "$added" ] && $SUDO dpkg --remove-architecture i386 2>/dev/null; then
    $SUDO apt-get update -q >/dev/null 2>&1 || true
  fi
  return 0
}
[ "$what" = "test" ] && install_wine32

# A comma-decimal locale for the number tests, and the locales Wine takes its
# ANSI code page from in the code-page tests: 932, 936, 950 and 1252.
locales=(de_DE ja_JP zh_CN zh_TW)
missing_locales=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "$l.utf8" || missing_locales+=("$l")
done
if [ "$what" = "test" ] && [ ${#missing_locales[@]} -gt 0 ]; then
  for l in "${missing_locales[@]}"; do
    $SUDO sed -i "s/^# *$l.UTF-8 UTF-8/$l.UTF-8 UTF-8/" /etc/locale.gen
  done
  $SUDO locale-gen >/dev/null
fi
