// Vertex swap between OBJ files, the figure export and appending OBJ files
// as groups.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "obj/group_list.hpp"
#include "obj/obj_rewrite_internal.hpp"
#include "obj/obj_text.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::obj;
using ostrel::test::ScratchDir;
namespace test = ostrel::test;

class RewriteTest : public ::testing::Test {
protected:
    void SetUp() override { resetGroupListState(); }
    void TearDown() override { resetGroupListState(); }
    std::string file(std::string_view name, std::string_view text) {
        std::string path = dir.file(name);
        test::writeText(path, text);
        return path;
    }
    ScratchDir dir;
};

// ---- SwapVertices ----

TEST_F(RewriteTest, SwapKeepsAsVerticesAndTakesEverythingElseButCommentsFromB) {
    std::string a = file("a.obj", "# mine\nv 1 1 1\nvn 0 0 1\nv 2 2 2\nf 1 2 2\n");
    std::string b = file("b.obj", "# theirs\nv 9 9 9\r\nvt 0 0\r\n\r\ng body\r\nv 8 8 8\r\nusemtl m\r\nf 1/1 2/1 2/1\r\n");
    ASSERT_EQ(LeanSwapVerts(a.c_str(), b.c_str()), 0);
    EXPECT_EQ(test::readText(a),
              std::string(kSwapHeader) + "\nv 1 1 1\nv 2 2 2\nvt 0 0\n\ng body\nusemtl m\nf 1/1 2/1 2/1\n");
}

TEST_F(RewriteTest, SwapTurnsRelativeFaceNumbersIntoAbsoluteOnes) {
    // In B the first face refers back to the two vertices before it; once all
    // vertex lines stand at the top, "-1" would name the last vertex instead.
    std::string a = file("a.obj", "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\n");
    std::string b = file("b.obj", "v 0 0 0\nv 0 0 0\nf -2/-1 -1/-1 -2\nv 0 0 0\nv 0 0 0\nf\t-1 -4 -9\n");
    ASSERT_EQ(LeanSwapVerts(a.c_str(), b.c_str()), 0);
    EXPECT_EQ(test::readText(a), std::string(kSwapHeader) +
                                     "\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nf 1/-1 2/-1 1\nf\t4 1 -9\n");
}

TEST_F(RewriteTest, SwapRefusalsLeaveBothFilesUntouched) {
    const std::string aText = "v 1 1 1\nv 2 2 2\n";
    std::string a = file("a.obj", aText);
    std::string none = dir.file("none.obj");
    EXPECT_EQ(LeanSwapVerts(none.c_str(), a.c_str()), kObjSwapCannotOpenA);
    EXPECT_EQ(LeanSwapVerts(file("empty.obj", "vt 0 0\n").c_str(), a.c_str()), kObjSwapNoVerticesInA);
    EXPECT_EQ(LeanSwapVerts(a.c_str(), none.c_str()), kObjSwapCannotOpenB);
    EXPECT_EQ(LeanSwapVerts(a.c_str(), file("b0.obj", "f 1 2 3\n").c_str()), kObjSwapNoVerticesInB);
    EXPECT_EQ(LeanSwapVerts(a.c_str(), file("b3.obj", "v 0 0 0\nv 0 0 0\nv 0 0 0\nf 1 2 3\n").c_str()),
              kObjSwapCountsDiffer);
    EXPECT_EQ(LeanSwapVerts(a.c_str(), file("bc.obj", "# c\nv 0 0 0\nv 0 0 0\n").c_str()), kObjSwapNothingElseInB);
    EXPECT_EQ(test::readText(a), aText);
}

TEST_F(RewriteTest, SwapOfAFileWithItselfKeepsItsContent) {
    std::string a = file("a.obj", "# c\nv 1 1 1\nv 2 2 2\nf 1 2 2\n");
    ASSERT_EQ(LeanSwapVerts(a.c_str(), a.c_str()), 0);
    EXPECT_EQ(test::readText(a), std::string(kSwapHeader) + "\nv 1 1 1\nv 2 2 2\nf 1 2 2\n");
}

// ---- PoserExportOBJ ----

TEST_F(RewriteTest, FigureExportReplacesTheUsedVerticesInAscendingOrder) {
    std::string source;
    for (int i = 1; i <= 10; ++i) source += "v " + std::to_string(i) + " 0 0\n";
    source += "# dropped\nvt 0 0\ng fig\nf 9/1 2/1 5/1\nusemtl x\nf 1 2 9\n";
    std::string s = file("s.obj", source);
    std::string p = file("p.obj", "# host\nv 0.1 0 0\nv 0.2 0 0\nvn 1 0 0\nv 0.5 0 0\nv 0.9 0 0\n");
    ASSERT_EQ(OutKelmorOBJ(s.c_str(), p.c_str()), 0);
    EXPECT_EQ(test::readText(p), std::string(kPoserHeader) + "\n" + std::string(kPoserMakerLine) +
                                     "\n#Vertex Count 10\n#Face Count 2\n"
                                     "v 0.1 0 0\nv 0.2 0 0\nv 3 0 0\nv 4 0 0\nv 0.5 0 0\n"
                                     "v 6 0 0\nv 7 0 0\nv 8 0 0\nv 0.9 0 0\nv 10 0 0\n"
                                     "vt 0 0\ng fig\nf 9/1 2/1 5/1\nusemtl x\nf 1 2 9\n");
}

TEST_F(RewriteTest, FigureExportRefusesMismatchesAndBadFacesWithoutWriting) {
    std::string s = file("s.obj", "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nf 1 2 3 4\n");
    const std::string pText = "v 0 0 0\nv 0 0 0\nv 0 0 0\n";
    std::string p = file("p.obj", pText);
    EXPECT_EQ(OutKelmorOBJ(s.c_str(), p.c_str()), kPoserCountMismatch);
    EXPECT_EQ(OutKelmorOBJ(dir.file("none").c_str(), p.c_str()), kPoserCannotOpenSource);
    EXPECT_EQ(OutKelmorOBJ(s.c_str(), dir.file("none").c_str()), kPoserCannotOpenPositions);
    EXPECT_EQ(OutKelmorOBJ(file("bad.obj", "v 1 0 0\nf 1 0 1\n").c_str(), p.c_str()), kBadVertexNumber);
    EXPECT_EQ(OutKelmorOBJ(file("far.obj", "v 1 0 0\nf 1 1 2\n").c_str(), p.c_str()), kBadVertexNumber);
    EXPECT_EQ(test::readText(p), pText);
}

TEST_F(RewriteTest, FigureExportKeepsRelativeFacesPointingAtTheirVertices) {
    std::string s = file("s.obj", "v 1 0 0\nv 2 0 0\nv 3 0 0\nf -3 -2 -1\nv 4 0 0\nf -4 -3 -1\n");
    std::string p = file("p.obj", "v 10 0 0\nv 20 0 0\nv 30 0 0\nv 40 0 0\n");
    ASSERT_EQ(OutKelmorOBJ(s.c_str(), p.c_str()), 0);
    std::string text = test::readText(p);
    EXPECT_NE(text.find("v 10 0 0\nv 20 0 0\nv 30 0 0\nv 40 0 0\nf 1 2 3\nf 1 2 4\n"), std::string::npos) << text;
}

TEST_F(RewriteTest, FigureExportIntoItsOwnSourceWorksOnACopy) {
    std::string s = file("s.obj", "v 1 0 0\nv 2 0 0\nv 3 0 0\nf 1 2 3\n");
    ASSERT_EQ(OutKelmorOBJ(s.c_str(), s.c_str()), 0);
    std::string text = test::readText(s);
    EXPECT_NE(text.find("#Vertex Count 3\n#Face Count 1\nv 1 0 0\nv 2 0 0\nv 3 0 0\nf 1 2 3\n"), std::string::npos);
}

// ---- AppendOBJ ----

TEST_F(RewriteTest, AppendShiftsFacesRenamesGroupsAndRecordsTheGroup) {
    std::string arm = file("arm.obj", "# c\nv 1 0 0\nv 2 0 0\nvt 0 0\nv 3 0 0\nv 4 0 0\ng whatever\nf 1/1/1 2/1/1 3/1/1\n");
    std::string target = dir.file("all.obj");
    EXPECT_EQ(LeanAddGroupOBJ(arm.c_str(), 10, target.c_str()), 14.0f);
    EXPECT_EQ(test::readText(target), "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\ng arm\nf 11 12 13 \n");
    std::filesystem::create_directories(dir.file("sub.dir"));
    std::string leg = file("sub.dir/leg.part.obj", "v 5 0 0\nf -1 1 1\nf 1 1 1\n");
    EXPECT_EQ(LeanAddGroupOBJ(leg.c_str(), 14, target.c_str()), 15.0f);
    EXPECT_EQ(test::readText(target),
              "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\ng arm\nf 11 12 13 \nv 5 0 0\nf 15 15 15 \nf 15 15 15 \n");
    const auto& list = groupListState().groupsList;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].nameText(), "arm");
    EXPECT_EQ(list[0].startFace, 0);
    EXPECT_EQ(list[0].endFace, 1);
    EXPECT_EQ(list[1].nameText(), "leg.part");
    EXPECT_EQ(list[1].startFace, 1);
    EXPECT_EQ(list[1].endFace, 3);
    EXPECT_EQ(groupListState().faceIndex, 3);
}

TEST_F(RewriteTest, AppendStartsANewLineAfterATargetWithoutALastLineEnd) {
    std::string target = file("t.obj", "v 0 0 0");
    std::string part = file("p.obj", "v 1 1 1\n");
    EXPECT_EQ(LeanAddGroupOBJ(part.c_str(), 1, target.c_str()), 2.0f);
    EXPECT_EQ(test::readText(target), "v 0 0 0\nv 1 1 1\n");
    EXPECT_EQ(groupListState().groupsList.size(), 1u);
}

TEST_F(RewriteTest, AppendRefusalsAddNoRecordAndLeaveTheTarget) {
    std::string target = file("t.obj", "v 0 0 0\n");
    EXPECT_EQ(LeanAddGroupOBJ(dir.file("none.obj").c_str(), 0, target.c_str()), kAppendCannotOpenSource);
    EXPECT_EQ(LeanAddGroupOBJ(target.c_str(), 1, target.c_str()), kAppendSameFile);
    std::string bad = file("bad.obj", "v 1 1 1\nf 1 1 0\n");
    EXPECT_EQ(LeanAddGroupOBJ(bad.c_str(), 1, target.c_str()), kBadVertexNumber);
    std::string ok = file("ok.obj", "v 1 1 1\n");
    EXPECT_EQ(LeanAddGroupOBJ(ok.c_str(), 1, dir.file("no/such/folder.obj").c_str()), kAppendCannotWriteTarget);
    EXPECT_EQ(test::readText(target), "v 0 0 0\n");
    EXPECT_TRUE(groupListState().groupsList.empty());
    EXPECT_EQ(groupListState().faceIndex, 0);
}

TEST_F(RewriteTest, AppendWithoutGroupLineStillRecordsAndOneCharacterFacesCount) {
    std::string part = file("p.obj", "v 1 1 1\nf\ng\n");
    std::string target = dir.file("t.obj");
    EXPECT_EQ(LeanAddGroupOBJ(part.c_str(), 0, target.c_str()), 1.0f);
    EXPECT_EQ(test::readText(target), "v 1 1 1\nf \ng p\n");
    EXPECT_EQ(groupListState().groupsList.at(0).endFace, 1);
}

}  // namespace
