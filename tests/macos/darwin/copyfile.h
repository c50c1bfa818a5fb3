/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped):
 * the part of copyfile.h the sources use, as Apple documents it (copyfile(3):
 * fcopyfile, macOS 10.5). */
#ifndef OSTREL_DARWIN_COPYFILE_H
#define OSTREL_DARWIN_COPYFILE_H
#include <stdint.h>
#ifdef __cplusplus
extern "C" {
#endif
typedef struct _copyfile_state* copyfile_state_t;
typedef uint32_t copyfile_flags_t;
#define COPYFILE_DATA (1 << 3)
int fcopyfile(int from, int to, copyfile_state_t state, copyfile_flags_t flags);
#ifdef __cplusplus
}
#endif
#endif
