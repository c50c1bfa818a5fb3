/* Stand-in for the macOS SDK, for the GNUstep check on Linux only (never
 * shipped): UTType (macOS 11) as Apple documents the part the macOS half
 * uses, and the open panel's allowedContentTypes property, which AppKit
 * declares from macOS 11 and GNUstep lacks. services_standin.mm hands the
 * types' extensions on to GNUstep's allowedFileTypes, so the panel filters
 * by them as the real one does. */
#ifndef OSTREL_STANDIN_UNIFORMTYPEIDENTIFIERS_H
#define OSTREL_STANDIN_UNIFORMTYPEIDENTIFIERS_H
#import <AppKit/NSSavePanel.h>
#import <Foundation/Foundation.h>

@interface UTType : NSObject {
    /* The stand-in's storage (the GNU runtime keeps instance variables in
     * the interface). */
    NSString* extension_;
}
+ (UTType*)typeWithFilenameExtension:(NSString*)filenameExtension;
@property(readonly) NSString* preferredFilenameExtension;
@end

@interface NSSavePanel (OstrelContentTypes)
@property(copy) NSArray<UTType*>* allowedContentTypes;
@end

#endif
