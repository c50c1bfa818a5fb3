/* Stand-in for the macOS SDK, for the GNUstep check on Linux only (never
 * shipped): the Quartz event source call the macOS half uses, as Apple
 * documents it. GNUstep lacks it; tests/macos/gnustep/services_standin.mm
 * answers it for the check. */
#ifndef OSTREL_STANDIN_APPLICATIONSERVICES_H
#define OSTREL_STANDIN_APPLICATIONSERVICES_H
#include <CoreServices/CoreServices.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint16_t CGKeyCode;
typedef int32_t CGEventSourceStateID;
enum {
    kCGEventSourceStatePrivate = -1,
    kCGEventSourceStateCombinedSessionState = 0,
    kCGEventSourceStateHIDSystemState = 1,
};

bool CGEventSourceKeyState(CGEventSourceStateID stateID, CGKeyCode key);

#ifdef __cplusplus
}
#endif
#endif
