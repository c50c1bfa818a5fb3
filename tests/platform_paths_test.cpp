// The path splitter and the name-only folder test, which the project store and
// the folder exports rely on for every name they build.

#include <gtest/gtest.h>

#include "core/path_text.hpp"
#include "platform/platform.hpp"

using ostrel::platform::FileNameExtract;
using ostrel::platform::IsDirectory;

TEST(FileNameExtract, SplitsAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(FileNameExtract("/x/a.b/file", 1), "/x/a.b/");
    EXPECT_EQ(FileNameExtract("/x/a.b/file", 2), "file");
    EXPECT_EQ(FileNameExtract("/x/a.b/file", 6), "file");
    EXPECT_EQ(FileNameExtract("C:\\d\\e/f\\g.kel", 1), "C:\\d\\e/f\\");
    EXPECT_EQ(FileNameExtract("C:\\d\\e/f\\g.kel", 6), "g.kel");
    EXPECT_EQ(FileNameExtract("dir/", 6), "");
    EXPECT_EQ(FileNameExtract("dir/", 1), "dir/");
}

TEST(FileNameExtract, ExtensionsAreCutAtTheLastDot) {
    EXPECT_EQ(FileNameExtract("/x/y/file.tar.gz", 2), "file.tar");
    EXPECT_EQ(FileNameExtract("/x/y/file.tar.gz", 3), "/x/y/file.tar");
    // A dot in a folder name counts for mode 3 when the file name has none,
    // but never for the base name.
    EXPECT_EQ(FileNameExtract("/x/a.b/file", 3), "/x/a");
    EXPECT_EQ(FileNameExtract("/x/a.b/file", 2), "file");
}

TEST(FileNameExtract, PathsWithoutSeparatorsOrDots) {
    EXPECT_EQ(FileNameExtract("12X.dat", 1), "");
    EXPECT_EQ(FileNameExtract("12X.dat", 2), "12X");
    EXPECT_EQ(FileNameExtract("12X.dat", 6), "12X.dat");
    EXPECT_EQ(FileNameExtract("plain", 3), "plain");
    EXPECT_EQ(FileNameExtract("", 1), "");
    EXPECT_EQ(FileNameExtract("", 2), "");
    EXPECT_EQ(FileNameExtract(".hidden", 2), "");
    EXPECT_EQ(FileNameExtract("a/b.c", 4), "a/b.c");
}

TEST(IsDirectory, JudgesTheLastComponentByName) {
    EXPECT_FALSE(IsDirectory("dir/name.ext"));
    EXPECT_TRUE(IsDirectory("dir/name"));
    EXPECT_TRUE(IsDirectory("a.b/name"));
    EXPECT_TRUE(IsDirectory("a.b\\name"));
    EXPECT_FALSE(IsDirectory("name."));
    EXPECT_TRUE(IsDirectory(""));
    EXPECT_TRUE(IsDirectory("dir.d/"));
}

// In a double-byte code page the second byte of a character can be 0x5C, the
// byte of '\': these cases use the lead bytes of code page 932 (十 is 8F 5C,
// 表 95 5C), and with no lead bytes (UTF-8, single-byte code pages) the same
// bytes split as they always did.
TEST(PathText, DoubleByteCharactersAreNeverSplit) {
    const ostrel::LeadByteTest cp932 = [](unsigned char c) noexcept {
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    };
    const ostrel::LeadByteTest none = [](unsigned char) noexcept { return false; };
    struct Case {
        const char* path;
        ostrel::LeadByteTest isLead;
        const char *folder, *base;
        bool endsInBackslash;
    };
    const Case cases[] = {
        {"C:\\out\\\x95\x5C.obj", cp932, "C:\\out\\", "\x95\x5C", false},
        {"C:\\\x8F\x5C\\a.obj", cp932, "C:\\\x8F\x5C\\", "a", false},
        {"C:\\d\\12\x95\x5C.dat", cp932, "C:\\d\\", "12\x95\x5C", false},
        {"C:\\d\\\x95\x5C", cp932, "C:\\d\\", "\x95\x5C", false},
        {"C:\\d\\\x95\x5C\\", cp932, "C:\\d\\\x95\x5C\\", "", true},
        {"a\\b\x95", cp932, "a\\", "b\x95", false},
        {"C:\\d\\\x95\x5C.obj", none, "C:\\d\\\x95\\", "", false},
        {"C:\\d\\\x95\x5C", none, "C:\\d\\\x95\\", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ostrel::folderPart(c.path, c.isLead), c.folder) << c.path;
        EXPECT_EQ(ostrel::baseNameWithoutExtension(c.path, c.isLead), c.base) << c.path;
        EXPECT_EQ(ostrel::endsWithCharacter(c.path, '\\', c.isLead), c.endsInBackslash) << c.path;
    }
}
