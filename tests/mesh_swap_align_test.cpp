// Rewriting the points payload of a Tev file in place: swap from a points file,
// align to an axis plane.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/byte_cursor.hpp"
#include "mesh/swap_align_internal.hpp"
#include "mesh/tev_format.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

float pointAt(const Bytes& tev, size_t payloadOffset, size_t vertex, int axis) {
    return loadF32le(tev.data() + payloadOffset + vertex * 12 + size_t(axis) * 4);
}

class SwapAlign : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string tevPath = dir.file("m.tev");
    std::string pointsPath = dir.file("m.Tvt");
};

TEST_F(SwapAlign, SplitsTheHostNumberIntoAxisAndTolerance) {
    auto check = [](double value, int32_t axis, float tolerance) {
        auto split = mesh::splitAlignValue(value);
        EXPECT_EQ(split.axis, axis) << value;
        EXPECT_FLOAT_EQ(split.tolerance, tolerance) << value;
    };
    check(1.05, 1, 0.05f);
    check(2.5, 2, 0.5f);
    check(5.25, 3, 2.25f);
    check(0.4, 1, -0.6f);
    check(0.999, 1, -0.001f);
    check(3, 3, 0);
    check(-2, 1, -3);
    auto huge = mesh::splitAlignValue(1e300);
    EXPECT_EQ(huge.axis, 3);
    EXPECT_TRUE(std::isinf(huge.tolerance));
    EXPECT_EQ(mesh::splitAlignValue(NAN).axis, 1);
}

TEST_F(SwapAlign, AlignSnapsOnlyTheChosenAxisInsideTheClosedBand) {
    std::vector<float> xyz = {0.001f, 0.5f, 0.0005f, -0.001f, 0.0f, 1.0f, 0.0011f, -0.0f, 0.0f, -0.0f, NAN, 2.0f};
    Bytes tev = TevBuilder().rawBlock(99, 24, 0, Bytes(8, 1)).points(xyz).faces({{0, 1, 2, -1}}).end().bytes();
    writeFile(tevPath, tev);
    ASSERT_EQ(mesh::alignVerticesTev(tevPath.c_str(), 0.001f, 1), 0);
    Bytes after = readFile(tevPath);
    ASSERT_EQ(after.size(), tev.size());
    const size_t payload = 32 + 24 + 16;
    EXPECT_EQ(pointAt(after, payload, 0, 0), 0.0f);
    EXPECT_EQ(pointAt(after, payload, 1, 0), 0.0f);
    EXPECT_EQ(pointAt(after, payload, 2, 0), 0.0011f);
    EXPECT_FALSE(std::signbit(pointAt(after, payload, 3, 0)));   // -0 becomes +0
    EXPECT_EQ(pointAt(after, payload, 0, 2), 0.0005f);            // other axes untouched
    // Only the snapped coordinates changed.
    size_t changed = 0;
    for (size_t i = 0; i < tev.size(); ++i) changed += tev[i] != after[i];
    EXPECT_LE(changed, 12u);
    EXPECT_TRUE(std::equal(tev.begin(), tev.begin() + ptrdiff_t(payload), after.begin()));
}

TEST_F(SwapAlign, AlignWithNegativeToleranceChangesNothingButSucceeds) {
    Bytes tev = TevBuilder().points({-0.0f, 0.0f, 0.0f}).end().bytes();
    writeFile(tevPath, tev);
    EXPECT_EQ(mesh::alignVerticesTev(tevPath.c_str(), -0.5f, 2), 0);
    EXPECT_EQ(readFile(tevPath), tev);
}

TEST_F(SwapAlign, SwapCopiesPositionsByIndexAndOnlyThem) {
    Bytes tev = TevBuilder().rawBlock(5, 40, 0, Bytes(24, 7)).points(cubePoints()).faces(cubeFaces()).end().bytes();
    writeFile(tevPath, tev);
    Bytes points = pointsFile(cubePoints(10));
    points[0] = 0x55;   // the tag is not compared
    writeFile(pointsPath, points);
    ASSERT_EQ(mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str()), 0);
    Bytes after = readFile(tevPath);
    const size_t payload = 32 + 40 + 16;
    Bytes expected = tev;
    std::memcpy(expected.data() + payload, points.data() + 16, 8 * 12);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(pointAt(after, payload, 7, 2), 11.0f);
}

TEST_F(SwapAlign, SwapRefusesMismatchedOrShortPointsFilesWithoutWriting) {
    Bytes tev = TevBuilder().points(cubePoints()).end().bytes();
    writeFile(tevPath, tev);
    auto swapWith = [&](const Bytes& points) {
        writeFile(pointsPath, points);
        return mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str());
    };
    Bytes wrongCount = pointsFile(std::vector<float>(21, 1.0f));
    Bytes wrongSize = pointsFile(cubePoints(1));
    storeU32le(wrongSize.data() + 4, 16 + 8 * 12 + 4);
    Bytes cutShort = pointsFile(cubePoints(1));
    cutShort.resize(cutShort.size() - 1);
    EXPECT_EQ(swapWith(wrongCount), mesh::kTevSwapPointsMismatch);
    EXPECT_EQ(swapWith(wrongSize), mesh::kTevSwapPointsMismatch);
    EXPECT_EQ(swapWith(cutShort), mesh::kTevSwapPointsMismatch);
    EXPECT_EQ(swapWith(Bytes(15, 0)), mesh::kTevSwapPointsMismatch);
    EXPECT_EQ(readFile(tevPath), tev);
    std::filesystem::remove(pointsPath);
    EXPECT_EQ(mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str()), mesh::kTevSwapPointsCannotOpen);
    EXPECT_EQ(readFile(tevPath), tev);
}

TEST_F(SwapAlign, EmptyPointsBlockSwapsAndAlignsNothing) {
    Bytes tev = TevBuilder().points({}).end().bytes();
    writeFile(tevPath, tev);
    writeFile(pointsPath, pointsFile({}));
    EXPECT_EQ(mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str()), 0);
    EXPECT_EQ(mesh::alignVerticesTev(tevPath.c_str(), 1, 1), 0);
    EXPECT_EQ(readFile(tevPath), tev);
}

TEST_F(SwapAlign, MissingOrBlocklessTevFilesGetTheirCodes) {
    EXPECT_EQ(mesh::alignVerticesTev(tevPath.c_str(), 1, 1), ostrel::kMeshOrBitmapCannotOpen);
    writeFile(tevPath, TevBuilder().faces(cubeFaces()).end().bytes());
    writeFile(pointsPath, pointsFile(cubePoints()));
    EXPECT_EQ(mesh::alignVerticesTev(tevPath.c_str(), 1, 1), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str()), ostrel::kBlockMissing);
}

TEST_F(SwapAlign, EveryPrefixIsRefusedOrHandledInsideTheBuffer) {
    Bytes tev = TevBuilder().points(cubePoints()).faces(cubeFaces()).end().bytes();
    for (size_t n = 0; n <= tev.size(); ++n) {
        Bytes prefix(tev.begin(), tev.begin() + ptrdiff_t(n));
        mesh::PointsPayload payload;
        float result = mesh::locateSwapPayload(prefix, payload);
        if (n < 32 + 16 + 8 * 12) EXPECT_EQ(result, ostrel::kBlockMissing) << n;
        else EXPECT_EQ(result, 0) << n;
    }
    Bytes points = pointsFile(cubePoints());
    mesh::PointsPayload cube{48, 8, 16 + 8 * 12};
    for (size_t n = 0; n <= points.size(); ++n) {
        Bytes prefix(points.begin(), points.begin() + ptrdiff_t(n));
        EXPECT_EQ(mesh::matchPointsFile(prefix, cube), n == points.size() ? 0 : mesh::kTevSwapPointsMismatch) << n;
    }
}

// Swap and align read the file's block headers and the points payload, not
// the whole file: they must find the points block, and refuse a file, as the
// search over the whole file's bytes does, also when the block lies behind
// more than a read window of other blocks and when the file is cut anywhere
// near a header.
TEST_F(SwapAlign, TheFileReaderFindsWhatTheWholeFileSearchFinds) {
    std::vector<TevFace> faces(5000, TevFace{0, 1, 2, 3});   // 80 KB before the points
    const Bytes tev = TevBuilder().faces(faces).rawBlock(0, 0, 0, {}).points(cubePoints(0.25f)).end().bytes();
    const size_t pointsAt = 32 + 16 + 5000 * 16 + 16;
    std::vector<size_t> lengths;
    for (size_t n = 0; n < 100; ++n) lengths.push_back(n);
    for (size_t n = 65536 - 40; n < 65536 + 40; ++n) lengths.push_back(n);
    for (size_t n = pointsAt - 40; n <= tev.size(); ++n) lengths.push_back(n);
    for (size_t n : lengths) {
        const Bytes prefix(tev.begin(), tev.begin() + ptrdiff_t(n));
        mesh::PointsPayload payload;
        const float expected = mesh::locateSwapPayload(prefix, payload);
        writeFile(tevPath, prefix);
        ASSERT_EQ(mesh::alignVerticesTev(tevPath.c_str(), 0.5f, 1), expected) << n;
        if (expected != 0) continue;
        ASSERT_EQ(payload.offset, pointsAt + 16) << n;
        // x is 0.25 or 1.25: the first snaps, the second stays.
        const Bytes after = readFile(tevPath);
        for (size_t v = 0; v < 8; ++v)
            EXPECT_EQ(pointAt(after, payload.offset, v, 0), v & 1 ? 1.25f : 0.0f) << n;
    }
    writeFile(tevPath, tev);
    std::vector<float> moved(24, 0.25f);
    writeFile(pointsPath, pointsFile(moved));
    ASSERT_EQ(mesh::swapVerticesTev(tevPath.c_str(), pointsPath.c_str()), 0);
    const Bytes swapped = readFile(tevPath);
    EXPECT_EQ(pointAt(swapped, pointsAt + 16, 7, 2), 0.25f);
    EXPECT_TRUE(std::equal(tev.begin(), tev.begin() + ptrdiff_t(pointsAt + 16), swapped.begin()));
}

// The file reader walks headers of a file as long as the system reports it;
// on a 32-bit build that can be near SIZE_MAX. A block near the end whose
// size carries the walk past the end ends it, rather than wrapping round to
// an earlier offset and walking on (a chain that could then cycle).
TEST(TevBlockWalk, ABlockRunningPastTheEndEndsTheWalk) {
    uint8_t header[16] = {};
    storeU32le(header, 99);
    storeU32le(header + 4, 0x40000000u);
    size_t reads = 0;
    const auto found = mesh::walkToBlock(SIZE_MAX, SIZE_MAX - 64, mesh::kTagPoints, mesh::SearchLimit::HeaderInside,
                                         [&](size_t) -> const uint8_t* { return ++reads < 100 ? header : nullptr; });
    EXPECT_FALSE(found);
    EXPECT_EQ(reads, 1u);
}

}  // namespace
