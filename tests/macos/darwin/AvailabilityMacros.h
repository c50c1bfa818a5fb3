/* Stand-in for the macOS SDK, for compiling on Linux only (never shipped).
 * GoogleTest includes it on Apple; the deployment target itself comes from
 * the compiler's -target, which defines
 * __ENVIRONMENT_MAC_OS_X_VERSION_MIN_REQUIRED__ for libc++'s annotations. */
#ifndef OSTREL_DARWIN_AVAILABILITY_MACROS_H
#define OSTREL_DARWIN_AVAILABILITY_MACROS_H
#include <TargetConditionals.h>
#define MAC_OS_X_VERSION_MIN_REQUIRED __ENVIRONMENT_MAC_OS_X_VERSION_MIN_REQUIRED__
#endif
