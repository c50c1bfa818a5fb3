// Stand-ins for the Core Foundation, Launch Services, Quartz event and content
// type calls that GNUstep lacks, for the GNUstep check only (never shipped).
// Strings and URLs are GNUstep's own objects; a launch and a key query are
// recorded and answered as the test asks, so the macOS half's use of them can
// be checked without a Mac.

#import <AppKit/AppKit.h>
#import <UniformTypeIdentifiers/UniformTypeIdentifiers.h>
#include <ApplicationServices/ApplicationServices.h>
#include <CoreServices/CoreServices.h>

#include "tests/macos/gnustep/services_standin.hpp"

namespace ostrel::standin {

Services& services() {
    static Services state;
    return state;
}

}  // namespace ostrel::standin

using ostrel::standin::services;

extern "C" {

const CFAllocatorRef kCFAllocatorDefault = nullptr;

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
    if (!cStr || encoding != kCFStringEncodingUTF8) return nullptr;
    return (CFStringRef)[[NSString alloc] initWithUTF8String:cStr];
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef URLString, CFURLRef baseURL) {
    if (!URLString || baseURL) return nullptr;
    return (CFURLRef)[[NSURL alloc] initWithString:(NSString*)URLString];
}

void CFRelease(CFTypeRef cf) { [(id)cf release]; }

OSStatus LSOpenFromURLSpec(const LSLaunchURLSpec* inLaunchSpec, CFURLRef* outLaunchedURL) {
    if (outLaunchedURL) *outLaunchedURL = nullptr;
    ++services().launches;
    NSURL* url = (NSURL*)inLaunchSpec->appURL;
    const char* text = url ? [[url absoluteString] UTF8String] : nullptr;
    services().launchedUrl = text ? text : "";
    return services().launchStatus;
}

bool CGEventSourceKeyState(CGEventSourceStateID stateID, CGKeyCode key) {
    services().askedState = stateID;
    services().askedKey = key;
    return key == services().heldKey;
}

}  // extern "C"

@implementation UTType

+ (UTType*)typeWithFilenameExtension:(NSString*)filenameExtension {
    UTType* type = [[[UTType alloc] init] autorelease];
    type->extension_ = [[filenameExtension lowercaseString] copy];
    return type;
}

- (void)dealloc {
    [extension_ release];
    [super dealloc];
}

- (NSString*)preferredFilenameExtension {
    return extension_;
}

// One type per extension, whatever its case.
- (BOOL)isEqual:(id)other {
    return [other isKindOfClass:[UTType class]] && [extension_ isEqual:((UTType*)other)->extension_];
}

- (NSUInteger)hash {
    return [extension_ hash];
}

@end

@implementation NSSavePanel (OstrelContentTypes)

- (NSArray<UTType*>*)allowedContentTypes {
    return @[];
}

- (void)setAllowedContentTypes:(NSArray<UTType*>*)types {
    NSMutableArray* extensions = [NSMutableArray array];
    services().panelExtensions.clear();
    for (UTType* type in types) {
        [extensions addObject:[type preferredFilenameExtension]];
        services().panelExtensions.emplace_back([[type preferredFilenameExtension] UTF8String]);
    }
    [self setAllowedFileTypes:extensions];
}

@end
