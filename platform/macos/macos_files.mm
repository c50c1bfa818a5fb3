// The macOS half of the platform interface (with posix/posix_common.cpp): folders
// made by the file manager, and the local users folder as the public folder.
// Built only on Apple (Objective-C++ with Foundation).

#import <Foundation/Foundation.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/platform.hpp"

namespace ostrel::platform {

bool createFolder(const char* path) noexcept {
    if (!path) return false;
    @autoreleasepool {
        NSString* folder = [NSString stringWithUTF8String:path];
        if (!folder) return false;
        return [[NSFileManager defaultManager] createDirectoryAtPath:folder
                                         withIntermediateDirectories:NO
                                                          attributes:nil
                                                               error:nullptr];
    }
}

std::optional<std::string> publicFolder() {
    @autoreleasepool {
        NSArray<NSString*>* folders = NSSearchPathForDirectoriesInDomains(NSUserDirectory, NSLocalDomainMask, YES);
        NSString* last = [folders lastObject];
        if (!last) return std::nullopt;
        const char* utf8 = [last UTF8String];
        if (!utf8) return std::nullopt;
        return std::string(utf8);
    }
}

// The macOS build answers 1 when the folder is found and 0 when it is not.
float publicFolderResult(bool found) noexcept { return found ? 1.0f : 0.0f; }

}  // namespace ostrel::platform
