// The path splitter and the name-only folder test, which the project store and
// the folder exports rely on for every name they build.

#include <gtest/gtest.h>

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
