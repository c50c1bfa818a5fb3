// File and folder operations over the real file system, in scratch folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/file_io.hpp"
#include "platform/clear_folder.hpp"
#include "platform/platform.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

namespace fs = std::filesystem;
using namespace ostrel;
using namespace ostrel::test;

namespace {

Bytes patternBytes(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i * 31 + (i >> 9));
    return b;
}

size_t entriesIn(const fs::path& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(CopyFile, CopiesEveryByteAndReplacesTheTarget) {
    ScratchDir dir;
    for (size_t size : {size_t(0), size_t(1), size_t(10000), size_t(9 << 20) + 7}) {
        const Bytes data = patternBytes(size);
        writeFile(dir.file("src.bin"), data);
        writeText(dir.file("dst.bin"), "old target that is longer than some of the sources");
        ASSERT_TRUE(copyFile(dir.file("src.bin").c_str(), dir.file("dst.bin").c_str())) << size;
        EXPECT_EQ(readFile(dir.file("dst.bin")), data) << size;
    }
    EXPECT_EQ(entriesIn(dir.path()), 2u);   // no temporary file left behind
}

TEST(CopyFile, AMissingSourceKeepsTheOldTarget) {
    ScratchDir dir;
    writeText(dir.file("dst.bin"), "keep me");
    EXPECT_FALSE(copyFile(dir.file("missing.bin").c_str(), dir.file("dst.bin").c_str()));
    EXPECT_EQ(readText(dir.file("dst.bin")), "keep me");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(CopyFile, OntoItselfLeavesTheFileIntact) {
    ScratchDir dir;
    const Bytes data = patternBytes(5000);
    writeFile(dir.file("a.bin"), data);
    EXPECT_TRUE(copyFile(dir.file("a.bin").c_str(), dir.file("a.bin").c_str()));
    // The same file under another spelling of its path.
    const std::string other = (dir.path() / "." / "a.bin").string();
    EXPECT_TRUE(copyFile(dir.file("a.bin").c_str(), other.c_str()));
    EXPECT_EQ(readFile(dir.file("a.bin")), data);
}

TEST(CopyFile, AnUnwritableTargetFolderFails) {
    ScratchDir dir;
    writeText(dir.file("src.bin"), "x");
    EXPECT_FALSE(copyFile(dir.file("src.bin").c_str(), dir.file("no/such/dst.bin").c_str()));
}

TEST(ClearFolder, DeletesNamesWithADotAndNothingBelow) {
    ScratchDir dir;
    writeText(dir.file("a.txt"), "a");
    writeText(dir.file("b.obj"), "b");
    writeText(dir.file("README"), "r");
    fs::create_directory(dir.path() / "sub");
    writeText((dir.path() / "sub" / "inner.txt").string(), "deep");
    fs::create_directory(dir.path() / "full.d");
    writeText((dir.path() / "full.d" / "kept.txt").string(), "deep");

    ASSERT_TRUE(platform::ClearFolder(dir.path().string()));
    EXPECT_FALSE(fileExists(dir.file("a.txt")));
    EXPECT_FALSE(fileExists(dir.file("b.obj")));
    EXPECT_TRUE(fileExists(dir.file("README")));
    EXPECT_TRUE(fileExists((dir.path() / "sub" / "inner.txt").string()));
    // A non-empty folder with a dot in its name survives with its contents.
    EXPECT_TRUE(fileExists((dir.path() / "full.d" / "kept.txt").string()));
}

TEST(ClearFolder, WorksWithOrWithoutATrailingSeparator) {
    ScratchDir dir;
    writeText(dir.file("x.dat"), "x");
    ASSERT_TRUE(platform::ClearFolder(dir.path().string() + "/"));
    EXPECT_FALSE(fileExists(dir.file("x.dat")));
    EXPECT_TRUE(platform::ClearFolder(dir.path().string()));   // empty folder
}

TEST(ClearFolder, RefusesEmptyAndMissingPaths) {
    ScratchDir dir;
    EXPECT_FALSE(platform::ClearFolder(""));
    EXPECT_FALSE(platform::ClearFolder(dir.file("missing")));
    writeText(dir.file("file.txt"), "not a folder");
    EXPECT_FALSE(platform::ClearFolder(dir.file("file.txt")));
    EXPECT_TRUE(fileExists(dir.file("file.txt")));
}

TEST(PlatformFiles, FolderCreationIsOneLevelAndOnlyOnce) {
    ScratchDir dir;
    EXPECT_TRUE(platform::createFolder(dir.file("new").c_str()));
    EXPECT_FALSE(platform::createFolder(dir.file("new").c_str()));
    EXPECT_FALSE(platform::createFolder(dir.file("a/b").c_str()));
}

TEST(PlatformFiles, ListingLeavesOutDotEntries) {
    ScratchDir dir;
    writeText(dir.file("one.txt"), "1");
    fs::create_directory(dir.path() / "two");
    auto names = platform::listFolder(dir.path().string().c_str());
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"one.txt", "two"}));
    EXPECT_FALSE(platform::listFolder(dir.file("none").c_str()));
}

TEST(PlatformFiles, SameFileIsJudgedByIdentityNotSpelling) {
    ScratchDir dir;
    writeText(dir.file("a"), "a");
    writeText(dir.file("b"), "a");
    EXPECT_TRUE(sameExistingFile(dir.file("a").c_str(), (dir.path() / "." / "a").string().c_str()));
    EXPECT_FALSE(sameExistingFile(dir.file("a").c_str(), dir.file("b").c_str()));
    EXPECT_FALSE(sameExistingFile(dir.file("a").c_str(), dir.file("missing").c_str()));
}

TEST(CopyFile, AFailedWriteKeepsTheOldTarget) {
    ScratchDir dir;
    writeFile(dir.file("src.bin"), patternBytes(200000));
    writeText(dir.file("dst.bin"), "keep me");
    {
        FileSizeLimit limit(50000);
        EXPECT_FALSE(copyFile(dir.file("src.bin").c_str(), dir.file("dst.bin").c_str()));
    }
    EXPECT_EQ(readText(dir.file("dst.bin")), "keep me");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}
