# 32-bit Windows (i686) with Debian's mingw-w64 cross compiler, posix threads
# variant. The tests run under 32-bit Wine through tools/wine-run.sh, which
# reports them as skipped where this machine cannot run i386 programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(OSTREL_MINGW_TRIPLE i686-w64-mingw32)
# SSE arithmetic (every Windows that runs the host has SSE2): float results
# are rounded to float as in the 64-bit build, so both DLLs compute the same
# values and write the same bytes.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
