// A write that fails after an output was opened (the disk is full) is
// reported with the operation's output code, and the file it would have
// replaced stays as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "obj/group_list.hpp"
#include "obj/obj_rewrite_internal.hpp"
#include "obj/obj_small_tools.hpp"
#include "obj/obj_split.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::obj;
namespace test = ostrel::test;

constexpr size_t kLimit = 4096;

class DiskFullTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGroupListState();
        // Vertex lines enough to outgrow the limit, in one group.
        for (int i = 0; i < 1000; ++i) big += "v " + std::to_string(i) + " 0 0\n";
        big += "vt 0.5 0.5\ng part\n";
        for (int i = 1; i + 2 <= 1000; i += 3)
            big += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
        big += "f 1000 1 2\n";   // every vertex is used
    }
    void TearDown() override { resetGroupListState(); }
    std::string file(std::string_view name, std::string_view text) {
        std::string path = dir.file(name);
        test::writeText(path, text);
        return path;
    }
    test::ScratchDir dir;
    std::string big;
};

TEST_F(DiskFullTest, SplitsReportTheirOutputCode) {
    std::string in = file("in.obj", big);
    std::string folder = dir.file("x");
    test::FileSizeLimit limit(kLimit);
    EXPECT_EQ(LeanSplitOBJ(in.c_str(), folder.c_str()), kSplitCannotWriteOutput);
    EXPECT_EQ(LeanSplitTev(in.c_str(), folder.c_str()), kSplitCannotWriteOutput);
    addToGroupsList("part", 10);
    EXPECT_EQ(ListSplitOBJ(in.c_str(), folder.c_str()), kSplitCannotWriteOutput);
    EXPECT_FALSE(test::fileExists(dir.file("part.obj")));
}

TEST_F(DiskFullTest, RewritesKeepTheFileTheyWouldHaveReplaced) {
    std::string a = file("a.obj", big);
    std::string b = file("b.obj", big);
    std::string target = file("t.obj", "v 0 0 0\n");
    {
        test::FileSizeLimit limit(kLimit);
        EXPECT_EQ(LeanSwapVerts(a.c_str(), b.c_str()), kObjSwapCannotWriteA);
        EXPECT_EQ(OutKelmorOBJ(a.c_str(), b.c_str()), kPoserCannotWrite);
        EXPECT_EQ(LeanAddGroupOBJ(a.c_str(), 1, target.c_str()), kAppendCannotWriteTarget);
        EXPECT_EQ(scaleUVs(a.c_str(), 0.5, b.c_str()), kScaleCannotWriteOutput);
    }
    EXPECT_EQ(test::readText(a), big);
    EXPECT_EQ(test::readText(b), big);
    EXPECT_EQ(test::readText(target), "v 0 0 0\n");
    EXPECT_TRUE(groupListState().groupsList.empty());
}

// Groups are written two at a time where a second thread may run; a split
// that fails on one output must still leave exactly the outputs before it,
// as writing them one by one would.
TEST_F(DiskFullTest, ASplitLeavesTheOutputsBeforeTheOneThatFailed) {
    std::string text;
    int vertices = 0;
    for (int g = 0; g < 20; ++g) {
        const int count = g == 10 ? 1000 : 3;
        for (int i = 0; i < count; ++i) text.append("v 1 ").append(std::to_string(i)).append(" 0\n");
        text.append("g part").append(std::to_string(10 + g)).append("\nf");
        for (int i = 1; i <= count; ++i) text.append(" ").append(std::to_string(vertices + i));
        text.append("\n");
        vertices += count;
    }
    std::string in = file("in.obj", text);
    for (const char* threads : {"1", static_cast<const char*>(nullptr)}) {
        test::ScopedEnvironment setting("OSTREL_THREADS", threads);
        for (auto split : {LeanSplitOBJ, LeanSplitTev}) {
            test::ScratchDir out;
            {
                test::FileSizeLimit limit(kLimit);
                EXPECT_EQ(split(in.c_str(), out.file("x").c_str()), kSplitCannotWriteOutput);
            }
            size_t left = 0;
            for (int g = 0; g < 20; ++g) {
                const bool before = g < 10;
                const std::string stem = out.file("part").append(std::to_string(10 + g));
                EXPECT_EQ(test::fileExists(stem + ".obj") || test::fileExists(stem + ".Tvt"), before) << g;
            }
            for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(out.path())) ++left;
            EXPECT_EQ(left, 10u);
        }
    }
}

}  // namespace
