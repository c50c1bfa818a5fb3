// Splitting OBJ files by group into OBJ files and points files, and a Tev
// mesh's vertices by the group list.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "core/byte_cursor.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_rewrite_internal.hpp"
#include "obj/obj_split.hpp"
#include "obj/obj_text.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::obj;
using test::Bytes;
using test::ScratchDir;

class SplitTest : public ::testing::Test {
protected:
    void SetUp() override { resetGroupListState(); }
    void TearDown() override { resetGroupListState(); }

    std::string input(std::string_view text) {
        std::string path = dir.file("in.obj");
        test::writeText(path, text);
        return path;
    }
    std::string outFolder() const { return dir.file("out") + "/"; }
    std::string out(std::string_view name) const { return outFolder() + std::string(name); }
    size_t outputCount() const {
        size_t n = 0;
        for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.file("out"))) ++n;
        return n;
    }

    ScratchDir dir;
    void makeOutFolder() { std::filesystem::create_directories(dir.file("out")); }
};

constexpr std::string_view kTwoGroups =
    "# two groups sharing vertex 3\n"
    "v 0 0 0\n"
    "v 1 0 0\n"
    "v 1 1 0\n"
    "vt 0 0\n"
    "v 0 1 0\n"
    "v 2 2 2\n"
    "g b\n"
    "f 3/1/1 4/1/1 5/1/1\n"
    "g a\n"
    "usemtl skin\n"
    "f 1 2 3\n";

TEST_F(SplitTest, EachGroupGetsItsOwnVerticesRenumberedInAscendingOrder) {
    makeOutFolder();
    ASSERT_EQ(LeanSplitOBJ(input(kTwoGroups).c_str(), out("anything.obj").c_str()), 0);
    EXPECT_EQ(test::readText(out("a.obj")), "v 0 0 0\nv 1 0 0\nv 1 1 0\nf  1 2 3\n");
    EXPECT_EQ(test::readText(out("b.obj")), "v 1 1 0\nv 0 1 0\nv 2 2 2\nf  1 2 3\n");
    EXPECT_EQ(outputCount(), 2u);
}

TEST_F(SplitTest, RepeatedGroupsMergeAndEarlierFacesJoinTheFirstGroup) {
    makeOutFolder();
    std::string text =
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
        "f 4 3 2\n"        // before any "g": belongs to the first group named
        "g Zed\nf 1 2 3\n"
        "g arm\nf 2 3 4\n"
        "g Zed\nf 1 3 4\n";
    ASSERT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(test::readText(out("Zed.obj")),
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf  4 3 2\nf  1 2 3\nf  1 3 4\n");
    EXPECT_EQ(test::readText(out("arm.obj")), "v 1 0 0\nv 1 1 0\nv 0 1 0\nf  1 2 3\n");
}

TEST_F(SplitTest, NoGroupLineWritesNothingAndAnEmptyGroupStopsTheSplit) {
    makeOutFolder();
    EXPECT_EQ(LeanSplitOBJ(input("v 0 0 0\nv 1 1 1\nv 2 2 2\nf 1 2 3\n").c_str(), out("x").c_str()), 0);
    EXPECT_EQ(outputCount(), 0u);
    // "b" has no faces; "a" comes first in byte order and is written.
    EXPECT_EQ(LeanSplitOBJ(input("v 0 0 0\ng a\nf 1 1 1\ng b\n").c_str(), out("x").c_str()),
              kSplitGroupWithoutVertices);
    EXPECT_TRUE(test::fileExists(out("a.obj")));
    EXPECT_FALSE(test::fileExists(out("b.obj")));
}

TEST_F(SplitTest, ExistingOutputsAreNeverOverwritten) {
    makeOutFolder();
    test::writeText(out("a.obj"), "keep me");
    test::writeText(out("a_copy1.obj"), "keep me too");
    ASSERT_EQ(LeanSplitOBJ(input(kTwoGroups).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(test::readText(out("a.obj")), "keep me");
    EXPECT_EQ(test::readText(out("a_copy1.obj")), "keep me too");
    EXPECT_EQ(test::readText(out("a_copy2.obj")), "v 0 0 0\nv 1 0 0\nv 1 1 0\nf  1 2 3\n");
}

TEST_F(SplitTest, GroupNamesCannotLeaveTheOutputFolder) {
    makeOutFolder();
    std::string text = "v 0 0 0\ng ../escaped\nf 1 1 1\ng sub\\dir/name\nf 1 1 1\ng /abs\nf 1 1 1\n";
    ASSERT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_FALSE(test::fileExists(dir.file("escaped.obj")));
    EXPECT_TRUE(test::fileExists(out(".._escaped.obj")));
    EXPECT_TRUE(test::fileExists(out("sub_dir_name.obj")));
    EXPECT_TRUE(test::fileExists(out("_abs.obj")));
    EXPECT_EQ(outputCount(), 3u);
}

TEST_F(SplitTest, ADanglingLinkOrAFolderUnderANameCountsAsTaken) {
    makeOutFolder();
    std::filesystem::create_directory(out("a.obj"));
#ifndef _WIN32
    std::filesystem::create_symlink("nowhere", out("a_copy1.obj"));
#else
    test::writeText(out("a_copy1.obj"), "");
#endif
    ASSERT_EQ(LeanSplitOBJ(input(kTwoGroups).c_str(), out("x").c_str()), 0);
    EXPECT_TRUE(test::fileExists(out("a_copy2.obj")));
}

#ifndef _WIN32
// A name whose lookup fails for a reason other than "not found" can be
// neither read nor created: every split answers at once that it cannot write,
// keeping what it wrote before (it used to try "_copy" numbers for ever).
TEST_F(SplitTest, ANameThatCannotBeLookedUpFailsAtOnce) {
    makeOutFolder();
    test::writeText(out("file"), "");
    std::filesystem::create_symlink("loop2", out("loop1"));
    std::filesystem::create_symlink("loop1", out("loop2"));
    const std::string longGroup = "v 0 0 0\ng a\nf 1 1 1\ng " + std::string(300, 'z') + "\nf 1 1 1\n";
    addToGroupsList("a", 8);
    const std::string tevPath = dir.file("mesh.Tev");
    test::writeFile(tevPath, test::TevBuilder().points(test::cubePoints()).end().bytes());
    struct Case {
        const char* what;
        float (*split)(const char*, const char*);
        std::string input, folder;
    };
    const Case cases[] = {
        {"folder part is a file", LeanSplitOBJ, input(kTwoGroups), out("file/x")},
        {"folder part is a file", LeanSplitTev, input(kTwoGroups), out("file/x")},
        {"folder part is a file", ListSplitOBJ, input(kTwoGroups), out("file/x")},
        {"folder part is a file", ListSplitTev, tevPath, out("file/x")},
        {"folder part loops", LeanSplitOBJ, input(kTwoGroups), out("loop1/x")},
        {"folder part loops", ListSplitTev, tevPath, out("loop1/x")},
        {"group name too long", LeanSplitOBJ, dir.file("long.obj"), out("x")},
        {"group name too long", LeanSplitTev, dir.file("long.obj"), out("x")},
    };
    test::writeText(dir.file("long.obj"), longGroup);
    ::alarm(60);
    for (const Case& c : cases) EXPECT_EQ(c.split(c.input.c_str(), c.folder.c_str()), kSplitCannotWriteOutput) << c.what;
    ::alarm(0);
    // The long-named group comes after "a", whose outputs stay.
    EXPECT_TRUE(test::fileExists(out("a.obj")));
    EXPECT_TRUE(test::fileExists(out("a.Tvt")));
}
#endif

TEST(OutputNames, WindowsRulesAlsoCoverReservedCharactersAndDeviceNames) {
    EXPECT_EQ(fileNameSafe("a:b*c?d\"e<f>g|h\x01i/j\\k", FileNameRules::Windows), "a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(fileNameSafe("a:b*c?", FileNameRules::Posix), "a:b*c?");
    EXPECT_EQ(fileNameSafe(std::string_view("a\0b", 3), FileNameRules::Posix), "a_b");
    for (std::string_view device : {"CON", "nul", "Com1", "LPT9.part", "aux "}) {
        std::string expected = "_";
        expected += device;
        EXPECT_EQ(fileNameSafe(device, FileNameRules::Windows), expected) << device;
    }
    for (std::string_view ordinary : {"CONSOLE", "COM0", "LPT", "xNUL"})
        EXPECT_EQ(fileNameSafe(ordinary, FileNameRules::Windows), ordinary) << ordinary;
    // Code page 932: the second bytes of 表 (95 5C), 十 (8F 5C) and of 83 7C
    // (a '|' byte) are kept; a lead byte that ends the name alone is not.
    const LeadByteTest cp932 = [](unsigned char c) noexcept { return (c >= 0x81 && c <= 0x9F) || c >= 0xE0; };
    EXPECT_EQ(fileNameSafe("\x95\x5C\x8F\x5C", FileNameRules::Windows, cp932), "\x95\x5C\x8F\x5C");
    EXPECT_EQ(fileNameSafe("a\\\x83\x7C|\x95", FileNameRules::Windows, cp932), "a_\x83\x7C__");
}

TEST_F(SplitTest, NamesTheSameAfterCleaningGetCopyNumbers) {
    makeOutFolder();
    ASSERT_EQ(LeanSplitOBJ(input("v 0 0 0\ng a/b\nf 1 1 1\ng a\\b\nf 1 1 1\n").c_str(), out("x").c_str()), 0);
    EXPECT_TRUE(test::fileExists(out("a_b.obj")));
    EXPECT_TRUE(test::fileExists(out("a_b_copy1.obj")));
}

TEST_F(SplitTest, FaceNumbersThatNameNoVertexRefuseBeforeAnyOutput) {
    makeOutFolder();
    for (std::string_view face : {"f 1 2 0", "f 1 2 4", "f 1 2 -4", "f 1 2 99999999999999999999999"}) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\ng b\n" + std::string(face) + "\n";
        EXPECT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), kBadVertexNumber) << face;
        EXPECT_EQ(ListSplitOBJ(input(text).c_str(), out("x").c_str()), kSplitListEmpty);
        EXPECT_EQ(LeanSplitTev(input(text).c_str(), out("x").c_str()), kBadVertexNumber) << face;
    }
    addToGroupsList("a", 1);
    EXPECT_EQ(ListSplitOBJ(input("v 0 0 0\nf 1 1 2\n").c_str(), out("x").c_str()), kBadVertexNumber);
    EXPECT_EQ(outputCount(), 0u);
}

// Lowers the number of vertex lines the readers accept, for one test: a file
// past the real limit would need more than 12 GB.
class VertexLineLimit {
public:
    explicit VertexLineLimit(uint64_t lines) : previous_(vertexLineLimit()) { vertexLineLimit() = lines; }
    ~VertexLineLimit() { vertexLineLimit() = previous_; }
    VertexLineLimit(const VertexLineLimit&) = delete;
    VertexLineLimit& operator=(const VertexLineLimit&) = delete;

private:
    uint64_t previous_;
};

// More vertex lines than 32-bit indices can number is a fact of the file:
// every reader that numbers them refuses it with its code for an unreadable
// input, before any output, and one line fewer is read as usual.
TEST_F(SplitTest, MoreVertexLinesThanIndicesCanNumberAreRefusedAsUnreadable) {
    makeOutFolder();
    addToGroupsList("a", 1);
    const std::string obj = input("v 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\nv 0 1 0\n");
    const std::string positions = dir.file("p.obj");
    const std::string newPositions = "v 5 5 5\nv 6 6 6\nv 7 7 7\n";
    test::writeText(positions, newPositions);
    {
        VertexLineLimit limit(3);
        EXPECT_EQ(LeanSplitOBJ(obj.c_str(), out("x").c_str()), kSplitCannotOpenInput);
        EXPECT_EQ(ListSplitOBJ(obj.c_str(), out("x").c_str()), kSplitCannotOpenInput);
        EXPECT_EQ(LeanSplitTev(obj.c_str(), out("x").c_str()), kSplitCannotOpenInput);
        EXPECT_EQ(OutKelmorOBJ(obj.c_str(), positions.c_str()), kPoserCannotOpenSource);
        EXPECT_EQ(outputCount(), 0u);
        EXPECT_EQ(test::readText(positions), newPositions);
    }
    VertexLineLimit limit(4);
    EXPECT_EQ(LeanSplitOBJ(obj.c_str(), out("x").c_str()), 0);
    EXPECT_EQ(ListSplitOBJ(obj.c_str(), out("x").c_str()), 0);
    EXPECT_EQ(LeanSplitTev(obj.c_str(), out("x").c_str()), 0);
    EXPECT_EQ(OutKelmorOBJ(obj.c_str(), positions.c_str()), 0);
    EXPECT_EQ(outputCount(), 3u);
}

TEST_F(SplitTest, RelativeNumbersAndVertexLinesAfterFaces) {
    makeOutFolder();
    std::string text =
        "v 0 0 0\nv 1 0 0\nv 1 1 0\n"
        "g a\nf -3 -2 -1\n"
        "v 5 5 5\n"
        "f -1/-1 1 6\n"          // vertex 6 stands after the face
        "v 6 6 6\nv 7 7 7\n";
    ASSERT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(test::readText(out("a.obj")),
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 5 5 5\nv 7 7 7\nf  1 2 3\nf  4 1 5\n");
}

TEST_F(SplitTest, CrLfInputAndOneCharacterLines) {
    makeOutFolder();
    std::string text = "v 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\ng\r\nf 1 2 3\r\nf\r\n";
    ASSERT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    // "g" alone names the group "", whose file is ".obj"; "f" alone is a face
    // without vertices.
    EXPECT_EQ(test::readText(out(".obj")), "v 0 0 0\nv 1 0 0\nv 1 1 0\nf  1 2 3\nf \n");
    EXPECT_EQ(LeanSplitOBJ(input("v 0 0 0\ng a\nf\n").c_str(), out("x").c_str()), kSplitGroupWithoutVertices);
}

TEST_F(SplitTest, ThousandsOfGroups) {
    makeOutFolder();
    std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\n";
    for (int g = 0; g < 1500; ++g) text += "g part" + std::to_string(g) + "\nf 1 2 3\n";
    ASSERT_EQ(LeanSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(outputCount(), 1500u);
    EXPECT_EQ(test::readText(out("part1499.obj")), "v 0 0 0\nv 1 0 0\nv 1 1 0\nf  1 2 3\n");
}

TEST_F(SplitTest, OutputsGoToTheCurrentFolderWithoutASeparator) {
    test::writeText(dir.file("in.obj"), kTwoGroups);
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    float result = LeanSplitOBJ("in.obj", "target.obj");
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(test::fileExists(dir.file("a.obj")));
}

TEST_F(SplitTest, MissingInputAndUnwritableFolder) {
    EXPECT_EQ(LeanSplitOBJ(dir.file("none.obj").c_str(), out("x").c_str()), kSplitCannotOpenInput);
    // The output folder does not exist.
    EXPECT_EQ(LeanSplitOBJ(input(kTwoGroups).c_str(), out("x").c_str()), kSplitCannotWriteOutput);
    EXPECT_EQ(LeanSplitTev(input(kTwoGroups).c_str(), out("x").c_str()), kSplitCannotWriteOutput);
}

// ---- by the group list ----

TEST_F(SplitTest, ListSplitSendsFaceRangesToRecordsAndLaterFacesToTheLast) {
    makeOutFolder();
    addToGroupsList("b", 2);
    addToGroupsList("a", 2);
    std::string text =
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 9 9 9\n"
        "g ignored\n"
        "f 1/1 2/2 3/3\nf 1 3 2\n"      // faces 0, 1: b
        "f 3 4 5\nf 4 4 4\n"            // faces 2, 3: a
        "f 1 5 5\n";                    // after the last range: a
    ASSERT_EQ(ListSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(test::readText(out("b.obj")), "v 0 0 0\nv 1 0 0\nv 1 1 0\n");
    EXPECT_EQ(test::readText(out("a.obj")), "v 0 0 0\nv 1 1 0\nv 0 1 0\nv 9 9 9\n");
    EXPECT_EQ(outputCount(), 2u);
}

TEST_F(SplitTest, ListSplitWritesOneFileForARepeatedNameAndEmptyFilesForFacelessRecords) {
    makeOutFolder();
    addToGroupsList("a", 1);
    addToGroupsList("a", 1);
    addToGroupsList("c", 5);
    std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 1 1\nf 2 2 2\n";
    ASSERT_EQ(ListSplitOBJ(input(text).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(test::readText(out("a.obj")), "v 0 0 0\n");
    EXPECT_EQ(test::readText(out("c.obj")), "");
    EXPECT_EQ(outputCount(), 2u);
}

TEST_F(SplitTest, ListSplitNeedsAListBeforeItOpensTheInput) {
    EXPECT_EQ(ListSplitOBJ(dir.file("none.obj").c_str(), out("x").c_str()), kSplitListEmpty);
    addToGroupsList("a", 1);
    EXPECT_EQ(ListSplitOBJ(dir.file("none.obj").c_str(), out("x").c_str()), kSplitCannotOpenInput);
}

// ---- into points files ----

struct PointsFile {
    int32_t tag = 0, size = 0, count = 0, reserved = -1;
    std::vector<float> xyz;
};

PointsFile readPoints(const std::string& path) {
    Bytes bytes = test::readFile(path);
    PointsFile p;
    if (bytes.size() < 16) return p;
    p.tag = loadI32le(&bytes[0]);
    p.size = loadI32le(&bytes[4]);
    p.count = loadI32le(&bytes[8]);
    p.reserved = loadI32le(&bytes[12]);
    for (size_t at = 16; at + 4 <= bytes.size(); at += 4) p.xyz.push_back(loadF32le(&bytes[at]));
    EXPECT_EQ(size_t(p.size), bytes.size());
    return p;
}

TEST_F(SplitTest, PointsSplitWritesTheUsedPositionsOfEachGroup) {
    makeOutFolder();
    std::string text =
        "v 1 2 3\nv 4 5 6\nv 7 8 9\nv 10 11 12\nv 13 14 15\n"
        "g b\nf 3 4 5\ng a\nf 1/1 2/2 3/3\ng empty\n";
    ASSERT_EQ(LeanSplitTev(input(text).c_str(), out("x").c_str()), 0);
    PointsFile a = readPoints(out("a.Tvt"));
    EXPECT_EQ(a.tag, 10001);
    EXPECT_EQ(a.size, 52);
    EXPECT_EQ(a.count, 3);
    EXPECT_EQ(a.reserved, 0);
    EXPECT_EQ(a.xyz, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(readPoints(out("b.Tvt")).xyz, (std::vector<float>{7, 8, 9, 10, 11, 12, 13, 14, 15}));
    PointsFile empty = readPoints(out("empty.Tvt"));
    EXPECT_EQ(empty.size, 16);
    EXPECT_EQ(empty.count, 0);
}

TEST_F(SplitTest, PointsSplitReadsShortVertexLinesAsZeros) {
    makeOutFolder();
    ASSERT_EQ(LeanSplitTev(input("v 1\nv \nv 2 3 x\ng a\nf 1 2 3\n").c_str(), out("x").c_str()), 0);
    EXPECT_EQ(readPoints(out("a.Tvt")).xyz, (std::vector<float>{1, 0, 0, 0, 0, 0, 2, 3, 0}));
}

class TevListSplitTest : public SplitTest {
protected:
    std::string tev(size_t vertices) {
        std::vector<float> xyz;
        for (size_t i = 0; i < vertices * 3; ++i) xyz.push_back(float(i) + 0.5f);
        std::string path = dir.file("mesh.Tev");
        test::writeFile(path, test::TevBuilder().rawBlock(777, 24, 0, Bytes(8, 1)).points(xyz).end().bytes());
        return path;
    }
    static std::vector<float> range(size_t firstVertex, size_t count) {
        std::vector<float> xyz;
        for (size_t i = firstVertex * 3; i < (firstVertex + count) * 3; ++i) xyz.push_back(float(i) + 0.5f);
        return xyz;
    }
};

TEST_F(TevListSplitTest, RecordsReceiveConsecutiveRunsWhateverTheirStart) {
    makeOutFolder();
    addToGroupsList("a", 4);
    addToGroupsList("b", 6);
    ASSERT_EQ(ListSplitTev(tev(10).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(readPoints(out("a.Tvt")).xyz, range(0, 4));
    PointsFile b = readPoints(out("b.Tvt"));
    EXPECT_EQ(b.count, 6);
    EXPECT_EQ(b.xyz, range(4, 6));

    resetGroupListState();
    groupListState().groupsList.resize(1);
    groupListState().groupsList[0].setName("a");
    groupListState().groupsList[0].startFace = 5;
    groupListState().groupsList[0].endFace = 9;
    ASSERT_EQ(ListSplitTev(tev(10).c_str(), out("x").c_str()), 0);
    EXPECT_EQ(readPoints(out("a_copy1.Tvt")).xyz, range(0, 4));
}

TEST_F(TevListSplitTest, AskingForMoreVerticesThanTheMeshHoldsWritesNothing) {
    makeOutFolder();
    addToGroupsList("a", 4);
    addToGroupsList("b", 7);
    EXPECT_EQ(ListSplitTev(tev(10).c_str(), out("x").c_str()), kListSplitTevTooFewVertices);
    EXPECT_EQ(outputCount(), 0u);
}

TEST_F(TevListSplitTest, MissingFileMissingBlockAndLyingCount) {
    makeOutFolder();
    EXPECT_EQ(ListSplitTev(dir.file("none.Tev").c_str(), out("x").c_str()), kSplitListEmpty);
    addToGroupsList("a", 1);
    EXPECT_EQ(ListSplitTev(dir.file("none.Tev").c_str(), out("x").c_str()), kMeshOrBitmapCannotOpen);
    std::string noPoints = dir.file("faces.Tev");
    test::writeFile(noPoints, test::TevBuilder().faces(test::cubeFaces()).end().bytes());
    EXPECT_EQ(ListSplitTev(noPoints.c_str(), out("x").c_str()), kBlockMissing);
    test::writeFile(noPoints, Bytes(20, 0));
    EXPECT_EQ(ListSplitTev(noPoints.c_str(), out("x").c_str()), kBlockMissing);
    // A points block whose count claims more than its bytes.
    std::string lying = dir.file("lying.Tev");
    test::writeFile(lying, test::TevBuilder().rawBlock(10001, 16 + 12, 1000, Bytes(12, 0)).end().bytes());
    EXPECT_EQ(ListSplitTev(lying.c_str(), out("x").c_str()), kListSplitTevTooFewVertices);
    EXPECT_EQ(outputCount(), 0u);
}

}  // namespace
