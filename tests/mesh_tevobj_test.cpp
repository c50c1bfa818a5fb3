// Tev to OBJ: the exact text, the colour comment block, face grouping by the
// face-id list, and Tev files whose fields do not fit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "core/byte_cursor.hpp"
#include "core/number_text.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_to_obj_internal.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/line_ends.hpp"
#include "tests/support/test_support.hpp"

using namespace ostrel;
using namespace ostrel::mesh;
using namespace ostrel::test;

namespace {

// Runs the in-memory conversion; the text written so far lands in `text`.
float convert(const Bytes& tev, const std::vector<uint32_t>& faceIDs, std::string& text) {
    TextStage out;
    ObjPlan plan;
    TevObjStep step = planTevToObj(tev, plan);
    if (step.done) step = writeObjText(tev, plan, faceIDs, out);
    text = withLfLineEnds(out.held());
    return step.result;
}

std::string colourText(const std::vector<uint32_t>& colours) {
    Bytes tev = TevBuilder().colours(colours).bytes();
    TextStage out;
    EXPECT_EQ(colourBlockOfTev(tev, out), 0.0f);
    return withLfLineEnds(out.held());
}

const std::string kIntro =
    "# The following RGB block contains Kelmor Vertex Color (Pigmesh) output as 3 hexadecimal values per vertex. "
    "The vertex color format is RRGGBB with up to 32 entries per RGB line.\n";

Bytes coloredCube(size_t quads) {
    std::vector<TevFace> faces;
    for (size_t i = 0; i < quads; ++i) faces.push_back({int32_t(i % 8), 1, 2, 3});
    return TevBuilder()
        .points(cubePoints())
        .colours(std::vector<uint32_t>(8, 0x00ff8000))
        .faces(faces)
        .end()
        .bytes();
}

class TevToObjFiles : public ::testing::Test {
protected:
    void SetUp() override { resetMeshState(); }
    void TearDown() override { resetMeshState(); }
    void setFaceIDs(std::initializer_list<uint32_t> ids) {
        meshState().faceID.release();
        for (uint32_t id : ids) meshState().faceID.push(id);
    }
    ScratchDir dir;
};

}  // namespace

TEST(TevToObj, WritesTheWholeTextExactly) {
    const Bytes tev = TevBuilder()
                          .points({0.5f, -2, 1234567, 1e-7f, 100, 123456.7f, 0, -0.0001f, 3})
                          .colours({0x00ff8000, 0x0000ff00, 0x40302010})
                          .faces({{0, 1, 2, -1}, {0, 1, 2, 3}, {2, 1, 0, -5}})
                          .end()
                          .bytes();
    std::string text;
    ASSERT_EQ(convert(tev, {2, 5}, text), 0.0f);
    EXPECT_EQ(text,
              "# File exported by Kelmor plugin\n"
              "#Vertex count 3\n"
              "#Face count 3\n"
              "v 0.5 -2 1.23457e+06\n"
              "v 1e-07 100 123457\n"
              "v 0 -0.0001 3\n" +
                  kIntro +
                  "#RGB  ff8000 00ff00 302010\n"
                  "# End of RGB block\n"
                  "#FaceID 1\n"
                  "f 1 2 3 \n"
                  "f 1 2 3 4\n"
                  "#FaceID 2\n"
                  "f 3 2 1 \n");
}

TEST(TevToObj, ColourLinesHoldThirtyTwoEntries) {
    EXPECT_EQ(colourText({}), kIntro + "\n# End of RGB block\n");
    std::string line32 = "#RGB ";
    for (int i = 0; i < 32; ++i) line32 += " 0000ff";
    EXPECT_EQ(colourText(std::vector<uint32_t>(32, 0xff)), kIntro + line32 + "\n\n# End of RGB block\n");
    EXPECT_EQ(colourText(std::vector<uint32_t>(33, 0xff)), kIntro + line32 + "\n#RGB  0000ff\n# End of RGB block\n");
}

TEST(TevToObj, FaceIdsGroupTheFaces) {
    std::string text;
    ASSERT_EQ(convert(coloredCube(8), {4, 4}, text), 0.0f);
    const size_t first = text.find("#FaceID 1\n"), second = text.find("#FaceID 2\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    auto faceLines = [&](size_t from, size_t to) {
        size_t n = 0;
        for (size_t p = text.find("\nf ", from); p < to; p = text.find("\nf ", p + 1)) ++n;
        return n;
    };
    EXPECT_EQ(faceLines(first, second), 4u);
    EXPECT_EQ(faceLines(second, text.size()), 4u);

    // Entries of 0 give one group line each and no faces; records run out
    // before the third entry, which then writes nothing at all.
    ASSERT_EQ(convert(coloredCube(8), {0, 0}, text), 0.0f);
    EXPECT_EQ(text.substr(text.find("#FaceID")), "#FaceID 1\n#FaceID 2\n");
    ASSERT_EQ(convert(coloredCube(3), {2, 2, 2}, text), 0.0f);
    EXPECT_EQ(text.find("#FaceID 3"), std::string::npos);
    EXPECT_EQ(faceLines(0, text.size()), 3u);
}

TEST(TevToObj, MissingBlocksReturnTheTagFoundAndKeepTheLinesSoFar) {
    std::string text;
    const Bytes written = TevBuilder().points(cubePoints()).faces(cubeFaces()).groups({1, 1, 1, 1, 1, 1}).end().bytes();
    EXPECT_EQ(convert(written, {1}, text), 20001.0f);
    EXPECT_EQ(text.substr(text.size() - 8), "v 1 1 1\n");
    // The header's face count is the third block's count: here the groups'.
    EXPECT_NE(text.find("#Face count 6\n"), std::string::npos);

    const Bytes noFaces = TevBuilder().points(cubePoints()).colours({1, 2}).groups({1}).end().bytes();
    EXPECT_EQ(convert(noFaces, {1}, text), 40001.0f);
    EXPECT_EQ(text.substr(text.size() - 19), "# End of RGB block\n");

    const Bytes firstIsFaces = TevBuilder().faces(cubeFaces()).end().bytes();
    EXPECT_EQ(convert(firstIsFaces, {1}, text), 20001.0f);
    EXPECT_TRUE(text.empty());
    Bytes negativeTag = TevBuilder().rawBlock(-2, 16, 0).end().bytes();
    EXPECT_EQ(convert(negativeTag, {1}, text), 4294967294.0f);
}

// Every prefix of a valid file, and files whose counts and sizes lie, end in
// a code without reading outside the bytes (the sanitizer build checks that).
TEST(TevToObj, EveryPrefixEndsInACode) {
    const Bytes full = coloredCube(6);
    std::string text;
    ASSERT_EQ(convert(full, {6}, text), 0.0f);
    const size_t facesEnd = full.size() - 16;   // the end block is not needed
    for (size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix(full.begin(), full.begin() + n);
        const float r = convert(prefix, {6}, text);
        if (n >= facesEnd)
            EXPECT_EQ(r, 0.0f) << n;
        else
            EXPECT_EQ(r, kTevObjOutOfRange) << n;
    }
}

TEST(TevToObj, LyingFieldsGiveOutOfRange) {
    const Bytes full = coloredCube(6);
    std::string text;
    const size_t coloursAt = 48 + 8 * 12, facesAt = coloursAt + 16 + 8 * 4;
    struct Lie {
        size_t at;
        uint32_t value;
    } lies[] = {
        {40, 0x7FFFFFFF}, {40, 0x80000000}, {36, 0x80000000}, {36, 0x7FFFFFF0},   // points count, size
        {coloursAt + 8, 0x40000000}, {coloursAt + 8, 0xFFFFFFFF},                   // colour count
        {facesAt + 4, 15}, {facesAt + 4, 0x7FFFFFFF}, {facesAt + 4, 0xFFFFFFF0},    // faces size
    };
    for (const Lie& lie : lies) {
        Bytes bad = full;
        storeU32le(bad.data() + lie.at, lie.value);
        EXPECT_EQ(convert(bad, {6}, text), kTevObjOutOfRange) << lie.at << " " << lie.value;
    }
    // A faces block longer than its records: only whole records are written.
    Bytes padded = TevBuilder().points({0, 0, 0}).colours({0}).rawBlock(20001, 16 + 16 + 9, 1, Bytes(25, 0)).bytes();
    ASSERT_EQ(convert(padded, {5}, text), 0.0f);
    EXPECT_EQ(text.substr(text.find("#FaceID")), "#FaceID 1\nf 1 1 1 1\n");
}

void expectLikePrintf(float f) {
    char expected[64], actual[kNumberTextMax];
    std::snprintf(expected, sizeof expected, "%g", double(f));
    *formatG6(actual, f) = '\0';
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    ASSERT_STREQ(actual, expected) << "bits " << bits;
}

TEST(TevToObj, NumbersMatchPrintfG) {
    std::mt19937 random(7);
    for (int i = 0; i < 2000000; ++i) {
        const uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, 4);
        if (std::isnan(f)) continue;
        ASSERT_NO_FATAL_FAILURE(expectLikePrintf(f));
    }
    // Around every power of ten and every rounding boundary of six digits,
    // where the exponent guess and the half-even rounding are decided.
    for (int exponent = -45; exponent <= 38; ++exponent) {
        for (double scale : {1.0, 0.9999995, 0.99999949999, 1.0000005, 0.5, 0.25}) {
            const float centre = float(std::pow(10.0, exponent) * scale);
            float f = centre;
            for (int step = 0; step < 300; ++step) f = std::nextafter(f, 0.0f);
            for (int step = 0; step < 600; ++step, f = std::nextafter(f, std::numeric_limits<float>::infinity())) {
                ASSERT_NO_FATAL_FAILURE(expectLikePrintf(f));
                ASSERT_NO_FATAL_FAILURE(expectLikePrintf(-f));
            }
        }
    }
    // Exact ties in six digits round half to even, as printf does.
    for (float tie : {0.5f, 1.5f, 2.5f, 1000000.5f, 1234565.0f, 1234575.0f, 8388609.0f, 0.0001f, 9.999995e-5f,
                      999999.5f, 0.0f, -0.0f, 1e-45f, 3.4028235e38f})
        ASSERT_NO_FATAL_FAILURE(expectLikePrintf(tie));
}

TEST_F(TevToObjFiles, ConsumesTheFaceIdsOnlyOnSuccess) {
    writeFile(dir.file("a.tev"), coloredCube(4));
    const std::string obj = dir.file("a.obj");
    EXPECT_EQ(writeOBJfromTev(dir.file("a.tev").c_str(), obj.c_str()), kTevObjNoFaceIds);
    EXPECT_FALSE(fileExists(obj));

    setFaceIDs({4});
    EXPECT_EQ(writeOBJfromTev(dir.file("missing.tev").c_str(), obj.c_str()), kMeshOrBitmapCannotOpen);
    EXPECT_EQ(writeOBJfromTev(dir.file("a.tev").c_str(), dir.file("no/a.obj").c_str()), kTevObjCannotWrite);
    EXPECT_EQ(meshState().faceID.size(), 1u);
    ASSERT_EQ(writeOBJfromTev(dir.file("a.tev").c_str(), obj.c_str()), 0.0f);
    EXPECT_TRUE(meshState().faceID.empty());
    EXPECT_EQ(writeOBJfromTev(dir.file("a.tev").c_str(), obj.c_str()), kTevObjNoFaceIds);
    std::string expected;
    convert(coloredCube(4), {4}, expected);
    EXPECT_EQ(readText(obj), expected);
}

// An end block is tag 0, the same number as success. Where a block is
// expected it still ends the conversion: first in the file, nothing is
// created; later, the lines before it stay. Either way the face ids are kept
// for the next conversion, whatever blocks follow the end block.
TEST_F(TevToObjFiles, AnEndBlockWhereABlockIsExpectedStopsTheConversion) {
    const std::vector<uint32_t> colours(8, 0x00ff8000);
    const std::string obj = dir.file("a.obj");
    setFaceIDs({6});

    writeFile(dir.file("first.tev"), TevBuilder().end().colours(colours).faces(cubeFaces()).end().bytes());
    EXPECT_EQ(writeOBJfromTev(dir.file("first.tev").c_str(), obj.c_str()), 0.0f);
    EXPECT_FALSE(fileExists(obj));
    EXPECT_EQ(meshState().faceID.size(), 1u);

    writeFile(dir.file("second.tev"), TevBuilder().points(cubePoints()).end().faces(cubeFaces()).end().bytes());
    EXPECT_EQ(writeOBJfromTev(dir.file("second.tev").c_str(), obj.c_str()), 0.0f);
    const std::string vertexLinesOnly = readText(obj);
    EXPECT_EQ(vertexLinesOnly.substr(vertexLinesOnly.size() - 8), "v 1 1 1\n");
    EXPECT_EQ(meshState().faceID.size(), 1u);

    writeFile(dir.file("third.tev"),
              TevBuilder().points(cubePoints()).colours(colours).end().faces(cubeFaces()).end().bytes());
    EXPECT_EQ(writeOBJfromTev(dir.file("third.tev").c_str(), obj.c_str()), 0.0f);
    const std::string upToColours = readText(obj);
    EXPECT_EQ(upToColours.substr(upToColours.size() - 19), "# End of RGB block\n");
    EXPECT_EQ(meshState().faceID.size(), 1u);
}

TEST_F(TevToObjFiles, ADamagedInputKeepsTheOldOutput) {
    Bytes bad = coloredCube(4);
    storeU32le(bad.data() + 48 + 8 * 12 + 8, 1000);   // more colours than the file holds
    writeFile(dir.file("bad.tev"), bad);
    writeText(dir.file("a.obj"), "old");
    setFaceIDs({4});
    EXPECT_EQ(writeOBJfromTev(dir.file("bad.tev").c_str(), dir.file("a.obj").c_str()), kTevObjOutOfRange);
    EXPECT_EQ(readText(dir.file("a.obj")), "old");
    EXPECT_EQ(meshState().faceID.size(), 1u);
}

TEST_F(TevToObjFiles, ColourBlockAlone) {
    writeFile(dir.file("c.tev"), TevBuilder().colours({0x40302010}).bytes());
    ASSERT_EQ(ReadVertColorTev(dir.file("c.tev").c_str(), dir.file("c.txt").c_str()), 0.0f);
    EXPECT_EQ(readText(dir.file("c.txt")), kIntro + "#RGB  302010\n# End of RGB block\n");
    EXPECT_EQ(ReadVertColorTev(dir.file("none.tev").c_str(), dir.file("c.txt").c_str()), kMeshOrBitmapCannotOpen);
    EXPECT_EQ(ReadVertColorTev(dir.file("c.tev").c_str(), dir.file("no/c.txt").c_str()), kTevObjCannotWrite);
    const Bytes full = TevBuilder().colours({1, 2, 3}).bytes();
    for (size_t n = 0; n < full.size(); ++n) {
        writeFile(dir.file("p.tev"), Bytes(full.begin(), full.begin() + n));
        EXPECT_EQ(ReadVertColorTev(dir.file("p.tev").c_str(), dir.file("c.txt").c_str()), kTevObjOutOfRange) << n;
    }
    EXPECT_EQ(readText(dir.file("c.txt")), kIntro + "#RGB  302010\n# End of RGB block\n");
    // Read from the file slice by slice, or without any entry, the text is
    // the one the whole block in memory gives.
    for (size_t entries : {size_t(0), size_t(600001)}) {   // over 2 MiB: more than two slices
        std::vector<uint32_t> colours(entries);
        for (size_t i = 0; i < entries; ++i) colours[i] = uint32_t(i * 2654435761u);
        writeFile(dir.file("m.tev"), TevBuilder().colours(colours).bytes());
        ASSERT_EQ(ReadVertColorTev(dir.file("m.tev").c_str(), dir.file("m.txt").c_str()), 0.0f);
        EXPECT_TRUE(readText(dir.file("m.txt")) == colourText(colours)) << entries;
    }
}

TEST_F(TevToObjFiles, AFailedWriteKeepsTheOldOutputAndTheFaceIds) {
    std::vector<float> xyz(3 * 20000, 1.5f);
    writeFile(dir.file("big.tev"),
              TevBuilder().points(xyz).colours(std::vector<uint32_t>(20000, 7)).faces(cubeFaces()).bytes());
    writeText(dir.file("a.obj"), "old");
    setFaceIDs({6});
    {
        FileSizeLimit limit(50000);
        EXPECT_EQ(writeOBJfromTev(dir.file("big.tev").c_str(), dir.file("a.obj").c_str()), kTevObjCannotWrite);
        EXPECT_EQ(ReadVertColorTev(dir.file("big.tev").c_str(), dir.file("a.obj").c_str()), kTevObjCannotWrite);
    }
    EXPECT_EQ(readText(dir.file("a.obj")), "old");
    EXPECT_EQ(meshState().faceID.size(), 1u);
}

namespace {

// Sets OSTREL_THREADS, which the library reads on each call; nullptr removes it.
void setThreadsSetting(const char* value) {
#ifdef _WIN32
    _putenv_s("OSTREL_THREADS", value ? value : "");
#else
    if (value)
        setenv("OSTREL_THREADS", value, 1);
    else
        unsetenv("OSTREL_THREADS");
#endif
}

}  // namespace

// A mesh large enough for the text to be shared between two threads in
// pieces gives the same bytes as the one-thread pass, with face groups cut
// inside, at the end of, and before runs of empty groups, and with the face
// ids running out before the records and after them.
TEST_F(TevToObjFiles, OneThreadAndTwoThreadsWriteTheSameBytes) {
    constexpr size_t kVertices = 150'000, kColours = 300'000, kFaces = 140'000;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-1000, 1000);
    std::vector<float> xyz(3 * kVertices);
    for (float& v : xyz) v = coordinate(random);
    std::vector<uint32_t> colours(kColours);
    for (uint32_t& c : colours) c = uint32_t(random());
    std::vector<TevFace> faces(kFaces);
    for (size_t i = 0; i < kFaces; ++i)
        faces[i] = {int32_t(i % kVertices), int32_t((i + 1) % kVertices), int32_t((i + 7) % kVertices),
                    i % 3 == 0 ? -1 : int32_t((i + 9) % kVertices)};
    writeFile(dir.file("big.tev"), TevBuilder().points(xyz).colours(colours).faces(faces).end().bytes());

    const std::vector<std::vector<uint32_t>> faceIdLists = {
        {0, 3, 65533, 0, 0, 100000, 1, 0},     // records run out inside a group
        {65536, 0, 65536, 7, 0, 0},            // ids run out first, empty groups last
        {1, 2, 3, 65529, 65535, 1, 8000, 0},   // cuts just after a group's first face
    };
    const char* setting = std::getenv("OSTREL_THREADS");
    const bool wasSet = setting != nullptr;
    const std::string before = wasSet ? setting : "";
    for (const auto& ids : faceIdLists) {
        std::string texts[2];
        for (int threads = 0; threads < 2; ++threads) {
            setThreadsSetting(threads == 0 ? "1" : nullptr);
            meshState().faceID.release();
            for (uint32_t id : ids) meshState().faceID.push(id);
            const std::string obj = dir.file("big" + std::to_string(threads) + ".obj");
            EXPECT_EQ(writeOBJfromTev(dir.file("big.tev").c_str(), obj.c_str()), 0.0f);
            texts[threads] = readText(obj);
        }
        setThreadsSetting(wasSet ? before.c_str() : nullptr);
        ASSERT_GT(texts[0].size(), size_t(8) << 20);
        EXPECT_TRUE(texts[0] == texts[1]) << "face ids starting " << ids[0] << ", " << ids[1];
    }
}
