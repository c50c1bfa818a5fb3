/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped):
 * the POSIX fcntl.h of the stand-in C library, plus the Darwin command the
 * sources use, as Apple documents it (fcntl(2): F_FULLFSYNC). */
#include_next <fcntl.h>

#ifndef OSTREL_DARWIN_FCNTL_H
#define OSTREL_DARWIN_FCNTL_H
#define F_FULLFSYNC 51
#endif
