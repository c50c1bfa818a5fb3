// The open panel and its chosen files, URL launching and key state for the
// macOS build. Built only on Apple (Objective-C++ with AppKit, CoreServices
// and ApplicationServices; the content types of macOS 11).

#import <AppKit/AppKit.h>
#import <UniformTypeIdentifiers/UniformTypeIdentifiers.h>
#include <ApplicationServices/ApplicationServices.h>
#include <CoreServices/CoreServices.h>

#include <cstdio>

#include "platform/dialogs.hpp"
#include "platform/screen.hpp"

namespace ostrel::platform {
namespace {

std::vector<std::string>& filesList() {
    static std::vector<std::string> files;
    return files;
}

// The panel offers the host's mesh files: .kvo and .obj in either case. The
// content types replace the file-type list that the macOS 12 SDK deprecates.
NSArray<UTType*>* meshFileTypes() {
    NSMutableArray<UTType*>* types = [NSMutableArray array];
    for (NSString* extension in @[ @"kvo", @"KVO", @"obj", @"OBJ" ]) {
        UTType* type = [UTType typeWithFilenameExtension:extension];
        if (type && ![types containsObject:type]) [types addObject:type];
    }
    return types;
}

}  // namespace

int runOpenPanel(const char* title) {
    @autoreleasepool {
        NSOpenPanel* panel = [NSOpenPanel openPanel];
        [panel setAllowedContentTypes:meshFileTypes()];
        if (title) {
            NSString* text = [NSString stringWithUTF8String:title];
            if (text) [panel setTitle:text];
        }
        [panel setCanChooseFiles:YES];
        [panel setCanChooseDirectories:NO];
        [panel setAllowsMultipleSelection:YES];
        if ([panel runModal] != NSModalResponseOK) return 0;
        std::vector<std::string> chosen;
        for (NSURL* url in [panel URLs]) {
            NSString* path = [[url path] stringByResolvingSymlinksInPath];
            const char* utf8 = path ? [path UTF8String] : nullptr;
            chosen.emplace_back(utf8 ? utf8 : "");
        }
        filesList() = std::move(chosen);
        return static_cast<int>(filesList().size());
    }
}

const std::vector<std::string>& chosenFiles() noexcept { return filesList(); }

void forgetChosenFiles() noexcept { filesList().clear(); }

int openUrl(const char* text) {
    if (!text) return -1;
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
    if (!string) return -1;
    CFURLRef url = CFURLCreateWithString(kCFAllocatorDefault, string, nullptr);
    CFRelease(string);
    std::fflush(stdout);
    if (!url) return -1;
    LSLaunchURLSpec launchSpec = {};
    launchSpec.appURL = url;
    launchSpec.itemURLs = nullptr;
    const OSStatus status = LSOpenFromURLSpec(&launchSpec, nullptr);
    CFRelease(url);
    return static_cast<int16_t>(status);
}

bool keyIsDown(uint16_t keyCode) noexcept {
    return CGEventSourceKeyState(kCGEventSourceStateCombinedSessionState, static_cast<CGKeyCode>(keyCode));
}

}  // namespace ostrel::platform
