#!/usr/bin/env bash
# The macOS build's portable C++, checked on Linux as far as a compiler can.
#
#   tools/macos-libcxx-check.sh compile ARCH WORK   every source of the library,
#       the host driver and the tests, compiled for ARCH-apple-macos11.0 by
#       clang 14 against LLVM's libc++ (the C++ library macOS ships) with its
#       availability annotations, at the project's warnings with errors on
#   tools/macos-libcxx-check.sh link ARCH WORK      the library's objects linked
#       as a Mach-O dylib by ld64.lld with the exported-symbols list generated
#       from the export table; its external symbols must be exactly that list
#
# ARCH is arm64 or x86_64. Exit status 0: passed; 1: failed; 77: cannot run
# here (the reason is printed).
#
# The macOS SDK cannot be had on Linux. Its C headers are stood in for by the
# headers of musl (Debian's musl-dev), a C library that declares the POSIX
# interfaces and little else, with _BSD_SOURCE for the BSD extensions Darwin
# shows by default; tests/macos/darwin/ adds the few Darwin-only declarations
# the sources and libc++ use, as Apple documents them, and tests/macos/libcxx/
# libc++'s site configuration as macOS has it, with the availability
# annotations on (Debian's turns them off). So a call that macOS
# lacks, such as a GNU or Linux extension, fails to compile here too, while
# the layout of system structures is not macOS's: nothing here is run.
#
# The sources are compiled with default visibility, so the exported-symbols
# list alone must keep every C++ function, inline and typeinfo in. The link
# leaves the C and C++ runtime symbols to be bound when the library is loaded
# (-undefined dynamic_lookup), as no SDK stub libraries exist here; what it
# checks is the library's own export table.
set -euo pipefail

mode=${1:?mode}; arch=${2:?arch}; work=${3:?work folder}
src=$(cd "$(dirname "$0")/.." && pwd)
cxx=clang++-14
target="$arch-apple-macos11.0"
objects="$work/$arch"

skip() { echo "SKIPPED: $*"; exit 77; }

case $mode in
compile)
    command -v $cxx >/dev/null || skip "$cxx is not installed (Debian: clang-14)"
    libcxx=/usr/lib/llvm-14/include/c++/v1
    [ -f $libcxx/__config ] || skip "libc++ 14 headers are not installed (Debian: libc++-14-dev)"
    musl=$(ls -d /usr/include/*-linux-musl 2>/dev/null | head -n1 || true)
    [ -n "$musl" ] || skip "musl headers are not installed (Debian: musl-dev)"
    resource=$($cxx -print-resource-dir)/include

    # Headers of the test framework and the peer OBJ reader, without the
    # rest of /usr/include (glibc's headers stay out of the way).
    extra="$work/include"
    mkdir -p "$extra" "$objects"
    for h in gtest gmock tiny_obj_loader.h; do
        [ -e "/usr/include/$h" ] && ln -sfn "/usr/include/$h" "$extra/$h"
    done

    # Default visibility: the link must confine the exports by its list alone.
    flags=(-target "$target" -std=c++20 -O0
           -nostdinc++ -isystem "$src/tests/macos/libcxx" -isystem "$libcxx" -nostdlibinc -isystem "$resource"
           -isystem "$src/tests/macos/darwin" -isystem "$musl" -isystem "$extra" -D_BSD_SOURCE
           -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror
           -D_FILE_OFFSET_BITS=64 -I"$src"
           -DOSTREL_LIBRARY_PATH=\"Ostrel.dylib\" -DOSTREL_HOST_PATH=\"ostrel-host\"
           -DOSTREL_SOURCE_DIR=\"$src\" -DOSTREL_DEFAULT_LIBRARY=\"Ostrel.dylib\")

    cd "$src"
    # The library as the macOS build takes it: the portable sources, the
    # POSIX file layer and the shared POSIX platform part (the Objective-C++
    # half is the GNUstep check's).
    library=$(ls core/*.cpp mesh/*.cpp obj/*.cpp project/*.cpp image/*.cpp platform/*.cpp \
                  platform/posix/posix_common.cpp platform/posix/posix_walk.cpp host/*.cpp | grep -v '_windows\.cpp$')
    others=$(ls tools/*.cpp tests/*.cpp tests/support/*.cpp tests/peer/*.cpp fuzz/*.cpp)
    printf '%s\n' $library >"$objects/library.list"
    printf '%s\n' $library $others |
        OBJECTS="$objects" xargs -P "${OSTREL_JOBS:-2}" -I{} sh -c '
            out="$OBJECTS/$(echo "$1" | tr / _).o"
            "$0" "$@" -c -o "$out" 2>"$out.log" || { cat "$out.log"; echo "FAILED: $1"; exit 1; }
        ' $cxx {} "${flags[@]}" || { echo "some sources do not compile for $target"; exit 1; }
    echo "compiled $(printf '%s\n' $library $others | wc -l) sources for $target"
    ;;
link)
    lld=ld64.lld-14
    command -v $lld >/dev/null || skip "$lld is not installed (Debian: lld-14)"
    nm=llvm-nm-14
    command -v $nm >/dev/null || skip "$nm is not installed (Debian: llvm-14)"
    [ -f "$objects/library.list" ] || { echo "the compile step has not run for $arch"; exit 1; }
    cmake -DOUT="$objects/Ostrel.exp" -P "$src/cmake/MacExports.cmake"
    mapfile -t objs < <(sed "s|/|_|g; s|^|$objects/|; s|\$|.o|" "$objects/library.list")
    $lld -arch "$arch" -platform_version macos 11.0 11.0 -dylib -install_name @rpath/Ostrel.dylib \
        -exported_symbols_list "$objects/Ostrel.exp" -undefined dynamic_lookup \
        -o "$objects/Ostrel.dylib" "${objs[@]}"
    exported=$($nm --extern-only --defined-only --just-symbol-name "$objects/Ostrel.dylib" | sort)
    expected=$(sort "$objects/Ostrel.exp")
    if [ "$exported" != "$expected" ]; then
        echo "the Mach-O library's exports differ from the table's macOS names:"
        diff <(echo "$expected") <(echo "$exported") || true
        exit 1
    fi
    echo "$objects/Ostrel.dylib ($arch) exports exactly the $(echo "$expected" | wc -l) macOS names"
    ;;
*)
    echo "usage: $0 compile|link ARCH WORK" >&2
    exit 2
    ;;
esac
