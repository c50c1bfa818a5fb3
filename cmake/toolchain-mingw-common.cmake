# What both mingw-w64 toolchains share. OSTREL_MINGW_TRIPLE names the target.
find_program(CMAKE_CXX_COMPILER NAMES ${OSTREL_MINGW_TRIPLE}-g++-posix ${OSTREL_MINGW_TRIPLE}-g++ REQUIRED)
# GoogleTest's project also enables C.
find_program(CMAKE_C_COMPILER NAMES ${OSTREL_MINGW_TRIPLE}-gcc-posix ${OSTREL_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${OSTREL_MINGW_TRIPLE}-windres)
find_program(OSTREL_OBJDUMP NAMES ${OSTREL_MINGW_TRIPLE}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${OSTREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every program and the DLL carry their own C++ runtime and threads library, so
# they load on a clean Windows: only system DLLs and msvcrt are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
