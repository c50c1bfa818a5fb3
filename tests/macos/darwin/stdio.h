/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped):
 * the POSIX stdio.h of the stand-in C library, plus the Darwin addition the
 * sources use, as Apple documents it (rename(2): renamex_np, macOS 10.12). */
#include_next <stdio.h>

#ifndef OSTREL_DARWIN_STDIO_H
#define OSTREL_DARWIN_STDIO_H
#define RENAME_SWAP 0x00000002
#define RENAME_EXCL 0x00000004
#ifdef __cplusplus
extern "C" {
#endif
int renamex_np(const char* from, const char* to, unsigned int flags)
    __attribute__((availability(macos, introduced = 10.12)));
#ifdef __cplusplus
}
#endif
#endif
