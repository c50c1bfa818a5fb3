// The Windows desktop exports through the built DLL, under Wine here: folder
// listings and their two layouts, GetFileInfo's bounds, the folder walk, the
// screen size of the display the test runs on, the injected input events,
// and the line ends of text outputs against byte-exact binary outputs.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::test;
using namespace std::string_literals;

class WinDesktop : public ::testing::Test {
protected:
    Library lib;
    ScratchDir dir;

    // The folder as the host passes it: a Windows path with backslashes.
    std::string folder() const { return dir.path().string(); }

    std::string fileInfo(const char* keyword, double number, int size = 1024) {
        std::string out(size_t(size), '#');
        const float length = lib.call("GetFileInfo", keyword, number, out.data(), size);
        const std::string text = out.c_str();
        EXPECT_EQ(length, float(text.size()));
        return text;
    }
};

TEST_F(WinDesktop, GetDirFileListListsFilesOrFoldersInBothLayouts) {
    writeText(dir.file("a.obj"), "a");
    writeText(dir.file("b.obj"), "b");
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string hidden = dir.file("h.obj");
    writeText(hidden, "h");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(lib.call("GetDirFileList", folder(), 0), 2);
    std::set<std::string> files = {fileInfo("name", 1), fileInfo("name", 2)};
    EXPECT_EQ(files, (std::set<std::string>{"a.obj", "b.obj"}));
    EXPECT_EQ(fileInfo("fullname", 1), folder() + "\\" + fileInfo("name", 1));
    EXPECT_EQ(lib.call("GetFileInfo", "name", 3, nullptr, 0), 0);

    EXPECT_EQ(lib.call("GetDirFileList", folder(), 1), 3);   // ".", "..", sub
    std::set<std::string> folders = {fileInfo("name", 1), fileInfo("name", 2), fileInfo("name", 3)};
    EXPECT_EQ(folders, (std::set<std::string>{".", "..", "sub"}));
}

TEST_F(WinDesktop, OneListedFileIsAFullPathAndATrailingBackslashChangesNothing) {
    writeText(dir.file("x.obj"), "x");
    EXPECT_EQ(lib.call("GetDirFileList", folder(), 0), 1);
    EXPECT_EQ(fileInfo("fullname", 1), folder() + "\\x.obj");
    EXPECT_EQ(fileInfo("name", 1), "x.obj");
    EXPECT_EQ(lib.call("GetDirFileList", folder() + "\\", 0), 1);
    EXPECT_EQ(fileInfo("fullname", 1), folder() + "\\x.obj");
}

TEST_F(WinDesktop, GetDirFileListRefusesMissingEmptyAndOverlongFolders) {
    writeText(dir.file("keep.obj"), "k");
    ASSERT_EQ(lib.call("GetDirFileList", folder(), 0), 1);
    EXPECT_EQ(lib.call("GetDirFileList", nullptr, 0), 0);
    EXPECT_EQ(lib.call("GetDirFileList", "", 0), 0);
    EXPECT_EQ(lib.call("GetDirFileList", folder() + "\\" + std::string(300, 'd'), 0), 0);
    // The refused calls left the last listing in place.
    EXPECT_EQ(fileInfo("name", 1), "keep.obj");
    EXPECT_EQ(lib.call("GetDirFileList", folder() + "\\missing", 0), 0);
}

TEST_F(WinDesktop, GetFileInfoNeverWritesPastTheBlock) {
    writeText(dir.file("long_name_for_cutting.obj"), "x");
    ASSERT_EQ(lib.call("GetDirFileList", folder(), 0), 1);
    char block[16];
    std::memset(block, '#', sizeof block);
    EXPECT_EQ(lib.call("GetFileInfo", "name", 1, block, 8), 7);
    EXPECT_STREQ(block, "long_na");
    EXPECT_EQ(block[8], '#');
    EXPECT_EQ(lib.call("GetFileInfo", "name", 1, block, 0), 0);
    EXPECT_EQ(lib.call("GetFileInfo", "name", 1, block, -4), 0);
    EXPECT_EQ(block[8], '#');
    EXPECT_EQ(lib.call("GetFileInfo", "Name", 1, block, 16), 0);
    EXPECT_EQ(lib.call("GetFileInfo", nullptr, 1, block, 16), 0);
}

TEST_F(WinDesktop, FolderWalkThroughTheExports) {
    char name[300];
    EXPECT_EQ(lib.call("CloseFolder", nullptr), -1);
    EXPECT_EQ(lib.call("GetFile", nullptr, 0, name), -1);
    writeText(dir.file("one.txt"), "1");
    ASSERT_EQ(lib.call("OpenFolder", folder()), 0);
    std::set<std::string> names;
    while (lib.call("GetFile", nullptr, 0, name) == 0) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{".", "..", "one.txt"}));
    EXPECT_EQ(lib.call("GetFile", nullptr, 0, name), -3);
    EXPECT_EQ(lib.call("CloseFolder", nullptr), 0);
    EXPECT_EQ(lib.call("GetFile", nullptr, 0, name), -1);
    EXPECT_EQ(lib.call("OpenFolder", ""), -1);
    EXPECT_EQ(lib.call("OpenFolder", folder() + "\\none"), -1);
}

TEST_F(WinDesktop, DialogSettingsAcceptAnything) {
    EXPECT_EQ(lib.call("SetDialogTitle", "Pick"), 0);
    EXPECT_EQ(lib.call("SetDialogTitle", nullptr), 0);
    EXPECT_EQ(lib.call("SetDefaultDir", std::string(2000, 'd')), 0);
    EXPECT_EQ(lib.call("SetDefaultDir", nullptr), 0);
    EXPECT_EQ(lib.call("LaunchAppWithFile", nullptr), -1);
}

TEST_F(WinDesktop, ScreenSizeIsTheDisplays) {
    const char* width = std::getenv("OSTREL_SCREEN_WIDTH");
    const char* height = std::getenv("OSTREL_SCREEN_HEIGHT");
    if (!width || !height) GTEST_SKIP() << "display size unknown (run through tools/wine-run.sh)";
    EXPECT_EQ(lib.call("DispSizeH", nullptr), std::atof(width));
    EXPECT_EQ(lib.call("DispSizeV", nullptr), std::atof(height));
    const float factor = lib.call("GetScreenFactor", nullptr);
    EXPECT_TRUE(std::isfinite(factor) && factor > 0.5f && factor < 2.0f) << factor;
}

// Events seen by the low-level hooks of this thread.
struct SeenEvents {
    int leftDown = 0, leftUp = 0, keyUp = 0;
    DWORD keyCode = 0, scanCode = 0, keyFlags = 0;
};
SeenEvents seen;

LRESULT CALLBACK mouseHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && message == WM_LBUTTONDOWN) ++seen.leftDown;
    if (code == HC_ACTION && message == WM_LBUTTONUP) ++seen.leftUp;
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK keyboardHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_KEYUP || message == WM_SYSKEYUP)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        ++seen.keyUp;
        seen.keyCode = key->vkCode;
        seen.scanCode = key->scanCode;
        seen.keyFlags = key->flags;
    }
    return CallNextHookEx(nullptr, code, message, data);
}

void pumpMessages(int milliseconds) {
    const DWORD end = GetTickCount() + DWORD(milliseconds);
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

TEST_F(WinDesktop, ShiftDownAndShiftUpInjectTheirEvents) {
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, mouseHook, GetModuleHandleA(nullptr), 0);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, keyboardHook, GetModuleHandleA(nullptr), 0);
    seen = {};
    EXPECT_EQ(lib.call("ShiftDown", "ignored", 5), 0);
    EXPECT_EQ(lib.call("ShiftUp", nullptr), 0);
    pumpMessages(300);
    if (mouse) UnhookWindowsHookEx(mouse);
    if (keyboard) UnhookWindowsHookEx(keyboard);
    if (!mouse || !keyboard) GTEST_SKIP() << "low-level hooks unavailable";
    EXPECT_EQ(seen.leftDown, 1);
    EXPECT_EQ(seen.leftUp, 1);
    EXPECT_EQ(seen.keyUp, 1);
    EXPECT_EQ(seen.keyCode, DWORD(VK_OEM_3));
    EXPECT_EQ(seen.scanCode, 0x45u);
    EXPECT_TRUE(seen.keyFlags & LLKHF_EXTENDED);
    EXPECT_TRUE(seen.keyFlags & LLKHF_UP);
}

TEST_F(WinDesktop, PublicFolderAndFolderExports) {
    char path[300] = {};
    EXPECT_EQ(lib.call("GetPublicFolder", nullptr, 0, path), 0);
    EXPECT_TRUE(std::filesystem::is_directory(path)) << path;
    const std::string made = dir.file("made");
    EXPECT_EQ(lib.call("CreateFolder", made), 0);
    EXPECT_EQ(lib.call("CreateFolder", made), -1);
    EXPECT_EQ(lib.call("CreateFolder", dir.file("no\\parent")), -1);
    writeText(dir.file("a.txt"), "a");
    writeText(dir.file("README"), "r");
    EXPECT_EQ(lib.call("EmptyFolder", folder()), 0);
    EXPECT_FALSE(fileExists(dir.file("a.txt")));
    EXPECT_TRUE(fileExists(dir.file("README")));
    EXPECT_TRUE(std::filesystem::is_directory(made));
    std::string same = dir.file("README");
    EXPECT_EQ(lib.call("FileRename", same, 0, same.data()), -1);
    EXPECT_TRUE(fileExists(same));
}

TEST_F(WinDesktop, TextOutputsEndLinesInCrLfAndBinaryOutputsAreExact) {
    // A colour block of 40 vertices: two lines of colours between comments.
    const std::string tev = dir.file("colours.tev");
    writeFile(tev, TevBuilder().colours(std::vector<uint32_t>(40, 0x00ff8000)).end().bytes());
    std::string out = dir.file("colours.txt");
    ASSERT_EQ(lib.call("outMRGB", tev, 0, out.data()), 0);
    const Bytes raw = readFile(out);
    const std::string text(raw.begin(), raw.end());
    ASSERT_GE(std::count(text.begin(), text.end(), '\n'), 3);
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;

    // A group-list record holds the count 10, byte 0x0A: written in binary
    // mode it stays one byte, and the file is exactly one 136-byte record.
    ASSERT_EQ(lib.call("GroupListClear", nullptr), 0);
    ASSERT_EQ(lib.call("GroupListAdd", "part", 10), 0);
    const std::string list = dir.file("groups.bin");
    ASSERT_EQ(lib.call("GroupListSave", list), 0);
    const Bytes bytes = readFile(list);
    EXPECT_EQ(bytes.size(), 136u);
    const Bytes ten = {0x0A, 0x00, 0x00, 0x00};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), ten.begin(), ten.end()), bytes.end());
    lib.call("GroupListClear", nullptr);
}

}  // namespace

#endif  // _WIN32
