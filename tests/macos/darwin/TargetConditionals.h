/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped):
 * the target conditionals of a macOS build, as Apple documents them. */
#ifndef OSTREL_DARWIN_TARGET_CONDITIONALS_H
#define OSTREL_DARWIN_TARGET_CONDITIONALS_H
#define TARGET_OS_MAC 1
#define TARGET_OS_OSX 1
#define TARGET_OS_IPHONE 0
#define TARGET_OS_IOS 0
#define TARGET_OS_TV 0
#define TARGET_OS_WATCH 0
#define TARGET_OS_SIMULATOR 0
#define TARGET_OS_EMBEDDED 0
#endif
