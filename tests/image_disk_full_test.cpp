// A disk that fills while an image is written: every operation reports its
// output code and the file that was there before stays as it was.

#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>

#include "image/bmp_crop_internal.hpp"
#include "image/psd_ops_internal.hpp"
#include "image/thumbnail_internal.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

constexpr size_t kLimit = 50000;

uint8_t texture(int c, int r, int x) { return uint8_t((r * 3 + x * 5 + c * 70) % 256); }

TEST(ImageDiskFull, EveryWriterReportsAndKeepsTheOldFile) {
    ScratchDir dir;
    const Bytes big = simplePsd(300, 300, texture);   // 270 kB: even one plane is past the limit
    const std::string a = dir.file("a.psd"), b = dir.file("b.psd"), out = dir.file("out.psd");
    writeFile(a, big);
    writeFile(b, big);
    writeText(out, "old");
    {
        FileSizeLimit limit(kLimit);
        EXPECT_EQ(image::convertPSD(a.c_str(), 0, 255, image::ConvertMode::Stencil), ostrel::kOutputCannotWrite);
        EXPECT_EQ(image::fixEdgesPSD(a.c_str()), ostrel::kOutputCannotWrite);
        EXPECT_EQ(image::mergePSD(a.c_str(), b.c_str(), 0), ostrel::kOutputCannotWrite);
        EXPECT_EQ(image::mergeSeamlessPSD(a.c_str(), b.c_str(), true), ostrel::kOutputCannotWrite);
        EXPECT_EQ(image::grayscalePSD(a.c_str(), out.c_str(), 0), ostrel::kOutputCannotWrite);
        EXPECT_EQ(image::createThumb(a.c_str(), 150), ostrel::kOutputCannotWrite);
        // The largest size: 2.7 GB of planes, abandoned at the first failed write.
        EXPECT_EQ(image::createThumb(a.c_str(), image::kLargestThumbnail), ostrel::kOutputCannotWrite);
    }
    EXPECT_TRUE(readFile(a) == big);
    EXPECT_TRUE(readFile(b) == big);
    EXPECT_TRUE(readText(out) == "old");
}

TEST(ImageDiskFull, CropReportsAndKeepsTheOldFile) {
    ScratchDir dir;
    // 24-bit BMP of 200 x 100: 60 kB of pixels.
    Bytes bmp(54 + 600 * 100, 9);
    std::fill(bmp.begin(), bmp.begin() + 54, uint8_t(0));
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[18] = 200;
    bmp[22] = 100;
    bmp[26] = 1;
    bmp[28] = 24;
    const std::string in = dir.file("in.bmp"), out = dir.file("out.bmp");
    writeFile(in, bmp);
    writeText(out, "old");
    {
        FileSizeLimit limit(kLimit);
        EXPECT_EQ(image::cropBMP(in.c_str(), out.c_str(), 0, 200), ostrel::kOutputCannotWrite);
    }
    EXPECT_TRUE(readText(out) == "old");
}

}  // namespace

#endif
