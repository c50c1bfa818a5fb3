// The macOS half's own services, run on GNUstep with the stand-ins of
// gnustep/services_standin.mm: the URL launch, the key state, the public
// folder's result, and the open panel on a virtual X display (cancelled, and
// with a file chosen).

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.hpp"
#include "platform/platform.hpp"
#include "platform/screen.hpp"
#include "tests/macos/gnustep/services_standin.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using ostrel::standin::services;

TEST(MacUrlLaunch, HandsTheUrlToTheLaunchServiceAndAnswersItsStatus) {
    services() = {};
    services().launchStatus = -10814;
    EXPECT_EQ(platform::openUrl("https://example.com/docs?page=2"), -10814);
    EXPECT_EQ(services().launches, 1);
    EXPECT_EQ(services().launchedUrl, "https://example.com/docs?page=2");
    services().launchStatus = 0;
    EXPECT_EQ(platform::openUrl("file:///Users/me/scene.kvo"), 0);
    EXPECT_EQ(services().launchedUrl, "file:///Users/me/scene.kvo");
}

TEST(MacUrlLaunch, TextThatMakesNoUrlIsRefusedWithoutALaunch) {
    services() = {};
    EXPECT_EQ(platform::openUrl(nullptr), -1);
    EXPECT_EQ(platform::openUrl("not a url"), -1);
    EXPECT_EQ(platform::openUrl("\xff\xfe"), -1);   // not UTF-8
    EXPECT_EQ(services().launches, 0);
}

TEST(MacKeyState, AsksTheCombinedSessionStateForTheKey) {
    services() = {};
    services().heldKey = 56;
    EXPECT_TRUE(platform::keyIsDown(56));
    EXPECT_EQ(services().askedState, 0);   // kCGEventSourceStateCombinedSessionState
    EXPECT_FALSE(platform::keyIsDown(55));
    EXPECT_EQ(services().askedKey, 55);
}

TEST(MacPublicFolder, FoundIsOneAndMissingIsZero) {
    EXPECT_EQ(platform::publicFolderResult(true), 1.0f);
    EXPECT_EQ(platform::publicFolderResult(false), 0.0f);
    if (const auto folder = platform::publicFolder()) EXPECT_FALSE(folder->empty());
}

}  // namespace

// Calls the step given to whenThePanelIsUp on the panel, once per tick of a
// timer in the panel's modal loop, until the step answers true or the panel
// is gone; a panel still up after about five seconds is cancelled, so a test
// fails instead of waiting for ever.
@interface OstrelPanelDriver : NSObject
+ (void)poll:(NSTimer*)timer;
@end

namespace {

struct PanelStep {
    std::function<bool(NSSavePanel*, int)> step;
    int ticks = 0;
};

PanelStep& panelStep() {
    static PanelStep state;
    return state;
}

void whenThePanelIsUp(std::function<bool(NSSavePanel*, int)> step) {
    panelStep() = {std::move(step), 0};
    NSTimer* timer = [NSTimer timerWithTimeInterval:0.05
                                             target:[OstrelPanelDriver class]
                                           selector:@selector(poll:)
                                           userInfo:nil
                                            repeats:YES];
    [[NSRunLoop currentRunLoop] addTimer:timer forMode:NSModalPanelRunLoopMode];
}

}  // namespace

@implementation OstrelPanelDriver
+ (void)poll:(NSTimer*)timer {
    NSWindow* window = [NSApp modalWindow];
    if (![window isKindOfClass:[NSSavePanel class]]) return;
    NSSavePanel* panel = (NSSavePanel*)window;
    PanelStep& state = panelStep();
    if (++state.ticks > 100) {
        [timer invalidate];
        [panel cancel:nil];
    } else if (state.step(panel, state.ticks)) {
        [timer invalidate];
    }
}
@end

namespace {

class MacOpenPanel : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (the check runs the panel under Xvfb)";
        [NSApplication sharedApplication];
        pool_ = [[NSAutoreleasePool alloc] init];
        platform::forgetChosenFiles();
    }
    void TearDown() override { [pool_ drain]; }
    NSAutoreleasePool* pool_ = nil;
};

TEST_F(MacOpenPanel, ShowsTheTitleAndTheMeshTypesAndCancelledChoosesNothing) {
    std::string title;
    whenThePanelIsUp([&](NSSavePanel* panel, int) {
        title = [[panel title] UTF8String];
        [panel cancel:nil];
        return true;
    });
    EXPECT_EQ(platform::runOpenPanel("Pick meshes"), 0);
    EXPECT_EQ(title, "Pick meshes");
    EXPECT_TRUE(platform::chosenFiles().empty());
    EXPECT_EQ(services().panelExtensions, (std::vector<std::string>{"kvo", "obj"}));
}

TEST_F(MacOpenPanel, AChosenFileIsRememberedWithItsLinksResolvedUntilAnotherChoice) {
    test::ScratchDir dir;
    test::writeText(dir.file("mesh.obj"), "v 0 0 0\n");
    const std::string link = dir.file("link.obj");
    ASSERT_EQ(symlink("mesh.obj", link.c_str()), 0);
    NSString* folder = [NSString stringWithUTF8String:dir.path().c_str()];
    whenThePanelIsUp([&](NSSavePanel* panel, int tick) {
        if (tick == 1) {
            [panel setDirectoryURL:[NSURL fileURLWithPath:folder]];
            return false;
        }
        // GNUstep's panel picks a file by the name of its browser cell.
        if ([panel respondsToSelector:@selector(_selectCellName:)])
            [panel performSelector:@selector(_selectCellName:) withObject:@"link.obj"];
        else
            [panel setNameFieldStringValue:@"link.obj"];
        [panel ok:nil];
        return true;
    });
    ASSERT_EQ(platform::runOpenPanel(nullptr), 1);
    ASSERT_EQ(platform::chosenFiles().size(), 1u);
    EXPECT_EQ(platform::chosenFiles()[0], std::filesystem::canonical(dir.file("mesh.obj")).string());
    EXPECT_EQ(platform::chosenFilePath(platform::chosenFiles(), 0), platform::chosenFiles()[0]);
    // A cancelled panel leaves the choice as it was.
    whenThePanelIsUp([](NSSavePanel* panel, int) {
        [panel cancel:nil];
        return true;
    });
    EXPECT_EQ(platform::runOpenPanel("again"), 0);
    EXPECT_EQ(platform::chosenFiles().size(), 1u);
}

}  // namespace
