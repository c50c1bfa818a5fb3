// The BMP strip crop: geometry of the output, refusals, and every prefix of a
// valid file.

#include <gtest/gtest.h>

#include "core/byte_cursor.hpp"
#include "image/bmp_crop_internal.hpp"
#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

uint8_t bmpSample(int row, int byte) { return uint8_t(row * 31 + byte * 3 + 1); }

// A bottom-up 24-bit BMP whose stored row k, byte b holds bmpSample(k, b).
Bytes makeBmp(int32_t width, int32_t height, uint16_t bits = 24) {
    const uint32_t rowSize = uint32_t(width) * 3 + image::rowPadding(width);
    Bytes out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    storeU32le(out.data() + 2, uint32_t(54 + rowSize * uint32_t(height)));
    storeU32le(out.data() + 10, 54);
    storeU32le(out.data() + 14, 40);
    storeU32le(out.data() + 18, uint32_t(width));
    storeU32le(out.data() + 22, uint32_t(height));
    storeU16le(out.data() + 26, 1);
    storeU16le(out.data() + 28, bits);
    storeU32le(out.data() + 34, rowSize * uint32_t(height));
    for (int k = 0; k < height; ++k)
        for (uint32_t b = 0; b < rowSize; ++b) out.push_back(b < uint32_t(width) * 3 ? bmpSample(k, int(b)) : 0);
    return out;
}

class BmpCrop : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string in = dir.file("in.bmp");
    std::string out = dir.file("out.bmp");
    float crop(int left, int width) { return image::cropBMP(in.c_str(), out.c_str(), left, width); }
};

TEST_F(BmpCrop, StripOfFiftyFromAHundredByTen) {
    writeFile(in, makeBmp(100, 10));
    ASSERT_EQ(crop(0, 50), 0);
    const Bytes o = readFile(out);
    ASSERT_EQ(o.size(), 54u + 1064u);
    EXPECT_EQ(loadU32le(o.data() + 2), 54u + 1064u);
    EXPECT_EQ(loadI32le(o.data() + 18), 50);
    EXPECT_EQ(loadI32le(o.data() + 22), 7);
    EXPECT_EQ(loadU32le(o.data() + 34), 1064u);
    for (int j = 0; j < 7; ++j)
        for (int b = 0; b < 152; ++b)
            ASSERT_EQ(o[54 + size_t(j) * 152 + size_t(b)], b < 150 ? bmpSample(j + 1, b) : 0) << j << "," << b;
}

TEST_F(BmpCrop, PaddingFollowsTheStripWidthAndLeftEdgeShiftsBytes) {
    writeFile(in, makeBmp(9, 5));
    for (int width : {1, 2, 3, 4}) {
        ASSERT_EQ(crop(2, width), 0);
        const Bytes o = readFile(out);
        const size_t row = size_t(width) * 3 + image::rowPadding(width);
        EXPECT_EQ(row % 4, 0u);
        ASSERT_EQ(o.size(), 54 + 2 * row);
        for (int j = 0; j < 2; ++j)
            for (size_t b = 0; b < row; ++b)
                EXPECT_EQ(o[54 + j * row + b], b < size_t(width) * 3 ? bmpSample(j + 1, int(6 + b)) : 0);
    }
    EXPECT_EQ(image::rowPadding(1), 1u);
    EXPECT_EQ(image::rowPadding(4), 0u);
    // 3 x 5592407 = 16777221 is odd and past 2^24: a single-precision
    // remainder would see 16777220 and drop the 3 padding bytes.
    EXPECT_EQ(image::rowPadding(5592407), 3u);
}

TEST_F(BmpCrop, ThreeRowsGiveAnEmptyImage) {
    writeFile(in, makeBmp(8, 3));
    ASSERT_EQ(crop(0, 8), 0);
    const Bytes o = readFile(out);
    EXPECT_EQ(o.size(), 54u);
    EXPECT_EQ(loadI32le(o.data() + 22), 0);
    EXPECT_EQ(loadU32le(o.data() + 34), 0u);
}

TEST_F(BmpCrop, RefusalsWriteNothing) {
    Bytes ba = makeBmp(8, 5);
    ba[1] = 'A';
    writeFile(in, ba);
    EXPECT_EQ(crop(0, 4), image::bmp::kNotBmp);
    writeFile(in, makeBmp(8, 5, 32));
    EXPECT_EQ(crop(0, 4), image::bmp::kNot24Bit);
    writeFile(in, makeBmp(8, 2));
    EXPECT_EQ(crop(0, 4), image::bmp::kTooFewRows);
    Bytes topDown = makeBmp(8, 5);
    storeU32le(topDown.data() + 22, uint32_t(-5));
    writeFile(in, topDown);
    EXPECT_EQ(crop(0, 4), image::bmp::kTooFewRows);
    writeFile(in, makeBmp(8, 5));
    EXPECT_EQ(crop(5, 4), image::bmp::kStripOutside);
    EXPECT_EQ(crop(-1, 4), image::bmp::kStripOutside);
    EXPECT_EQ(crop(0, 0), image::bmp::kStripOutside);
    EXPECT_EQ(crop(4, 4), 0);   // right up to the edge is fine
    std::filesystem::remove(out);
    EXPECT_EQ(image::cropBMP(dir.file("absent.bmp").c_str(), out.c_str(), 0, 4), ostrel::kMeshOrBitmapCannotOpen);
    EXPECT_FALSE(fileExists(out));
    EXPECT_EQ(image::cropBMP(in.c_str(), dir.file("no/dir.bmp").c_str(), 0, 4), ostrel::kOutputCannotWrite);
    EXPECT_EQ(image::cropBMP(in.c_str(), nullptr, 0, 4), ostrel::kOutputCannotWrite);
}

TEST_F(BmpCrop, PixelOffsetInsideTheHeaderIsRefused) {
    Bytes bad = makeBmp(8, 5);
    storeU32le(bad.data() + 10, 20);
    writeFile(in, bad);
    EXPECT_EQ(crop(0, 4), image::bmp::kTruncated);
    storeU32le(bad.data() + 10, 0x7FFFFFFF);
    writeFile(in, bad);
    EXPECT_EQ(crop(0, 4), image::bmp::kTruncated);
}

// Each prefix is its own file, read whole into an allocation of its size.
TEST_F(BmpCrop, EveryPrefixIsRefused) {
    const Bytes file = makeBmp(5, 4);
    for (size_t n = 0; n < file.size(); ++n) {
        writeFile(in, Bytes(file.begin(), file.begin() + long(n)));
        const float code = crop(1, 3);
        EXPECT_EQ(code, image::bmp::kTruncated) << "prefix " << n;
        EXPECT_FALSE(fileExists(out));
    }
    writeFile(in, file);
    EXPECT_EQ(crop(1, 3), 0);
}

}  // namespace
