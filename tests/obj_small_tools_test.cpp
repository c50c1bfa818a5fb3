// The group faces table and UV scaling.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "obj/group_list.hpp"
#include "obj/obj_small_tools.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::obj;
namespace test = ostrel::test;

class FacesTableTest : public ::testing::Test {
protected:
    void SetUp() override { resetGroupListState(); }
    void TearDown() override { resetGroupListState(); }
};

TEST_F(FacesTableTest, CountsComeFromTheListAndTheFirstOfARepeatedNameWins) {
    EXPECT_EQ(getGroupFaces("a"), kFacesTableEmpty);
    addToGroupsList("a", 10);
    addToGroupsList("b", 5);
    addToGroupsList("a", 7);
    ASSERT_EQ(CreateGroupFacesList(), 0);
    EXPECT_EQ(getGroupFaces("a"), 10.0f);
    EXPECT_EQ(getGroupFaces("b"), 5.0f);
    EXPECT_EQ(getGroupFaces("c"), kFacesNameUnknown);
}

TEST_F(FacesTableTest, TheTableIsASnapshotKeptWhenTheListIsEmpty) {
    addToGroupsList("a", 3);
    ASSERT_EQ(CreateGroupFacesList(), 0);
    addToGroupsList("b", 4);   // not in the table until it is rebuilt
    EXPECT_EQ(getGroupFaces("b"), kFacesNameUnknown);
    groupListState().groupsList.clear();
    EXPECT_EQ(CreateGroupFacesList(), kFacesListEmpty);
    EXPECT_EQ(getGroupFaces("a"), 3.0f);
    clearGroupsList();
    EXPECT_EQ(getGroupFaces("a"), kFacesTableEmpty);
}

class ScaleTest : public ::testing::Test {
protected:
    std::string scale(std::string_view text, double s) {
        std::string in = dir.file("in.obj"), out = dir.file("out.obj");
        test::writeText(in, text);
        EXPECT_EQ(scaleUVs(in.c_str(), s, out.c_str()), 0);
        return test::readText(out);
    }
    test::ScratchDir dir;
};

TEST_F(ScaleTest, UvsScaleAboutTheCentre) {
    EXPECT_EQ(scale("vt 0 1\n", 0.5), "vt 0.25 0.75 \n");
    EXPECT_EQ(scale("vt 0.75 0.5\n", 2), "vt 1 0.5 \n");
    EXPECT_EQ(scale("vt 0.1234567 1e-7\n", 1), "vt 0.123457 1e-07 \n");
}

TEST_F(ScaleTest, NoScalingAtOrBelowZeroButTheLineIsStillRewritten) {
    EXPECT_EQ(scale("vt 0.5 0.5 0\n", 0), "vt 0.5 0.5 \n");
    EXPECT_EQ(scale("vt 0.3\t0.7 0.1\n", -1), "vt 0.3 0.7 \n");
}

TEST_F(ScaleTest, OtherLinesPassUnchangedAndShortUvLinesReadZeros) {
    const std::string others = "v 1.23456789 2 3\nvn 0 0 1\n\n# vt in a comment\ng a b\nf 1/1 2/2 3/3\n";
    EXPECT_EQ(scale(others, 0.5), others);
    EXPECT_EQ(scale("vt\nvt 1\nvtx\n", 1), "vt 0 0 \nvt 1 0 \nvt 0 0 \n");
    EXPECT_EQ(scale("v 1 2 3\r\nvt 1 1\r\n", 1), "v 1 2 3\nvt 1 1 \n");
    // Only a CR right before a line end goes; a last line gets its line end.
    EXPECT_EQ(scale("v 1\r\r\nf 1\rx\ng z\r", 1), "v 1\r\nf 1\rx\ng z\n");
}

TEST_F(ScaleTest, ACommaLocaleDoesNotChangeTheNumbers) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma-decimal locale installed (Debian package locales-all)";
    std::string result = scale("vt 0 1\n", 0.5);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(result, "vt 0.25 0.75 \n");
}

TEST_F(ScaleTest, TheSamePathForInputAndOutputScalesInPlace) {
    std::string path = dir.file("uv.obj");
    test::writeText(path, "v 0 0 0\nvt 0 1\n");
    ASSERT_EQ(scaleUVs(path.c_str(), 0.5, path.c_str()), 0);
    EXPECT_EQ(test::readText(path), "v 0 0 0\nvt 0.25 0.75 \n");
}

TEST_F(ScaleTest, MissingInputAndUnwritableOutput) {
    EXPECT_EQ(scaleUVs(dir.file("none.obj").c_str(), 1, dir.file("out.obj").c_str()), kScaleCannotOpenInput);
    std::string in = dir.file("in.obj");
    test::writeText(in, "vt 0 0\n");
    EXPECT_EQ(scaleUVs(in.c_str(), 1, dir.file("no/folder/out.obj").c_str()), kScaleCannotWriteOutput);
}

}  // namespace
