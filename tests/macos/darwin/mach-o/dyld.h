/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped):
 * the one dyld call the sources use, as Apple documents it (dyld(3)). */
#ifndef OSTREL_DARWIN_DYLD_H
#define OSTREL_DARWIN_DYLD_H
#include <stdint.h>
#ifdef __cplusplus
extern "C" {
#endif
int _NSGetExecutablePath(char* buf, uint32_t* bufsize);
#ifdef __cplusplus
}
#endif
#endif
