/* Stand-in for the macOS SDK, for the GNUstep check on Linux only (never
 * shipped): the Core Foundation and Launch Services declarations the macOS
 * half uses, as Apple documents them. GNUstep has neither; the check links
 * tests/macos/gnustep/services_standin.mm, which records each call. */
#ifndef OSTREL_STANDIN_CORESERVICES_H
#define OSTREL_STANDIN_CORESERVICES_H
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t OSStatus;
typedef uint32_t OptionBits;
typedef const void* CFTypeRef;
typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef const struct __CFURL* CFURLRef;
typedef const struct __CFArray* CFArrayRef;
typedef uint32_t CFStringEncoding;
typedef struct AEDesc AEDesc;

extern const CFAllocatorRef kCFAllocatorDefault;
enum { kCFStringEncodingUTF8 = 0x08000100 };

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL);
void CFRelease(CFTypeRef cf);

typedef OptionBits LSLaunchFlags;
typedef struct LSLaunchURLSpec {
    CFURLRef appURL;
    CFArrayRef itemURLs;
    const AEDesc* passThruParams;
    LSLaunchFlags launchFlags;
    void* asyncRefCon;
} LSLaunchURLSpec;

OSStatus LSOpenFromURLSpec(const LSLaunchURLSpec* inLaunchSpec, CFURLRef* outLaunchedURL);

#ifdef __cplusplus
}
#endif
#endif
