# 32-bit Windows (i686) with Debian's mingw-w64 cross compiler, posix threads
# variant. Nothing built here can run on this machine: 32-bit Wine is not
# installed, so the build is checked by its export and import tables only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(OSTREL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
