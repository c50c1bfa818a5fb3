// The image exports, called through the built library, on files that
// ImageMagick made; every PSD and BMP the library writes is read back by
// ImageMagick and its pixels compared with what the operation must produce.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel::test;

constexpr int kW = 120, kH = 100;

struct Rgb {
    int width, height;
    Bytes bytes;   // interleaved
    uint8_t at(int x, int y, int c) const { return bytes[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(c)]; }
    bool black(int x, int y) const { return at(x, y, 0) == 0 && at(x, y, 1) == 0 && at(x, y, 2) == 0; }
};

Rgb magickRgb(const std::string& path, int width, int height) {
    Rgb rgb{width, height, magickPixels(path, "rgb")};
    EXPECT_EQ(rgb.bytes.size(), size_t(width) * size_t(height) * 3) << "ImageMagick could not read " << path;
    return rgb;
}

class ImageExports : public ::testing::Test {
protected:
    void SetUp() override { OSTREL_SKIP_WITHOUT_IMAGEMAGICK(); }

    // A plasma texture with a black square, three 8-bit channels, raw data:
    // ImageMagick writes image resources and a layer section as well.
    std::string magickPsd(const std::string& name, int seed, const std::string& size = "120x100") {
        const std::string path = dir.file(name);
        EXPECT_TRUE(magick("-size " + size + " -seed " + std::to_string(seed) +
                           " plasma: -fill black -draw 'rectangle 10,10 30,30' -alpha off -type TrueColor -depth 8"
                           " -compress None '" + path + "'"));
        return path;
    }
    float call(const char* name, const std::string& text, double value, const std::string& mem = {}) {
        std::vector<char> block(mem.begin(), mem.end());
        block.push_back('\0');
        return lib.call(name, text, value, mem.empty() ? nullptr : block.data());
    }

    ScratchDir dir;
    Library lib;
};

TEST_F(ImageExports, SwapAndStencilRecolourAsImageMagickSeesIt) {
    const std::string path = magickPsd("swap.psd", 3);
    const Rgb before = magickRgb(path, kW, kH);
    ASSERT_EQ(lib.call("SetInColor", nullptr, 0), 0);
    ASSERT_EQ(call("SwapColorsPSD", path, 16711680), 0);
    const Rgb swapped = magickRgb(path, kW, kH);
    ASSERT_EQ(call("MakeStencilPSD", path, 255), 0);   // everything not black turns blue
    const Rgb stencil = magickRgb(path, kW, kH);
    int keyed = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool key = before.black(x, y);
            keyed += key;
            for (int c = 0; c < 3; ++c) {
                const uint8_t red[3] = {255, 0, 0}, blue[3] = {0, 0, 255};
                ASSERT_EQ(swapped.at(x, y, c), key ? red[c] : before.at(x, y, c));
                ASSERT_EQ(stencil.at(x, y, c), blue[c]);   // nothing black was left
            }
        }
    EXPECT_GE(keyed, 21 * 21);
}

TEST_F(ImageExports, GrayscaleIsReadByImageMagickAsOneGrayPlane) {
    const std::string in = magickPsd("rgb.psd", 5);
    const std::string out = dir.file("gray.psd");
    const Rgb before = magickRgb(in, kW, kH);
    ASSERT_EQ(call("RGBtoGrayscale", in, 100, out), 0);
    const Bytes gray = magickPixels(out, "gray");
    ASSERT_EQ(gray.size(), size_t(kW * kH));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint8_t want = referenceGray(before.at(x, y, 0), before.at(x, y, 1), before.at(x, y, 2), 100);
            ASSERT_EQ(gray[size_t(y * kW + x)], want) << x << "," << y;
        }
}

TEST_F(ImageExports, ThumbnailIsAnNByNImageOfSampledPixels) {
    const std::string path = magickPsd("thumb.psd", 9);
    const Rgb before = magickRgb(path, kW, kH);
    ASSERT_EQ(call("CreateThumbnail", path, 60.7), 0);
    EXPECT_EQ(magickSize(path), "60x60");
    const Rgb thumb = magickRgb(path, 60, 60);
    // Step 2 from the width; the 50 sampled rows sit below a band of 5.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            for (int c = 0; c < 3; ++c) {
                const bool shown = y >= 5 && y < 55;
                ASSERT_EQ(thumb.at(x, y, c), shown ? before.at(2 * x, 2 * (y - 5), c) : 0) << x << "," << y;
            }
    const Bytes kept = readFile(path);
    EXPECT_EQ(call("CreateThumbnail", path, 0.9), -8);
    EXPECT_EQ(readFile(path), kept);
}

TEST_F(ImageExports, MergeBetweenFilesWithDifferentSections) {
    // A from ImageMagick (resources and a layer section), B from our own
    // writer (neither): their image data starts differ.
    const std::string a = magickPsd("a.psd", 11);
    const std::string b = dir.file("b.psd");
    writeFile(b, simplePsd(kH, kW, [](int c, int r, int x) { return uint8_t(c * 60 + r + x); }));
    const Rgb painted = magickRgb(a, kW, kH);
    const Rgb base = magickRgb(b, kW, kH);
    ASSERT_EQ(call("MergePSDfiles", a, 0, b), 0);
    const Rgb merged = magickRgb(a, kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(merged.at(x, y, c), painted.black(x, y) ? base.at(x, y, c) : painted.at(x, y, c));

    // The other way round the result keeps ImageMagick's sections.
    const std::string a2 = dir.file("a2.psd");
    writeFile(a2, simplePsd(kH, kW, [](int c, int r, int x) { return uint8_t((r + x) % 5 == 0 ? 0 : 30 + c); }));
    const std::string b2 = magickPsd("b2.psd", 12);
    const Rgb base2 = magickRgb(b2, kW, kH);
    ASSERT_EQ(call("MergePSDfiles", a2, 0, b2), 0);
    const Rgb merged2 = magickRgb(a2, kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(merged2.at(x, y, 1), (y + x) % 5 == 0 ? base2.at(x, y, 1) : 31);
}

TEST_F(ImageExports, HealingAndEdgeFixingOnImageMagickFiles) {
    const std::string a = magickPsd("ha.psd", 21), b = magickPsd("hb.psd", 22);
    const Rgb source = magickRgb(a, kW, kH), target = magickRgb(b, kW, kH);
    ASSERT_EQ(call("HealPSDfiles", a, 0, b), 0);
    const Rgb healed = magickRgb(a, kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int from = y < 10 ? y + 50 : y >= kH - 10 ? 40 + y - (kH - 10) : -1;
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(healed.at(x, y, c), from >= 0 ? source.at(x, from, c) : target.at(x, y, c));
        }

    // ImageMagick's own files carry a layer section longer than the 1000
    // header bytes the in-place heal reads: refused, and left as they were.
    const std::string layered = magickPsd("layered.psd", 23);
    const Bytes layeredBytes = readFile(layered);
    EXPECT_EQ(call("HealImportFile", layered, 0), -11);
    EXPECT_EQ(readFile(layered), layeredBytes);
    PsdParts parts;
    parts.rows = kH;
    parts.columns = kW;
    parts.resources = sampleResources();
    parts.layers = emptyLayerSection();
    parts.data = makePlanes(kH, kW, 3, [](int c, int r, int x) { return uint8_t(c * 50 + r * 2 + x); });
    const std::string imported = dir.file("imp.psd");
    writeFile(imported, buildPsd(parts));
    const Rgb raw = magickRgb(imported, kW, kH);
    const size_t length = readFile(imported).size();
    ASSERT_EQ(call("HealImportFile", imported, 0), 0);
    const Rgb fixedRows = magickRgb(imported, kW, kH);
    EXPECT_EQ(readFile(imported).size(), length);
    for (int y = 0; y < kH; ++y) {
        const int from = y <= 2 ? 4 : y >= kH - 2 ? kH - 3 : y;
        for (int x = 0; x < kW; ++x) ASSERT_EQ(fixedRows.at(x, y, 0), raw.at(x, from, 0));
    }

    // The black square (21 x 21 at 10,10) shrinks by three pixels on each side.
    const std::string gap = magickPsd("gap.psd", 24);
    ASSERT_EQ(call("FixEdgesPSD", gap, 0), 0);
    const Rgb filled = magickRgb(gap, kW, kH);
    for (int y = 10; y <= 30; ++y)
        for (int x = 10; x <= 30; ++x) {
            const bool stillBlack = x >= 13 && x <= 27 && y >= 13 && y <= 27;
            ASSERT_EQ(filled.black(x, y), stillBlack) << x << "," << y;
        }
}

TEST_F(ImageExports, CropOfAnImageMagickBmp) {
    const std::string in = dir.file("in.bmp"), out = dir.file("out.bmp");
    ASSERT_TRUE(magick("-size 100x10 -seed 4 plasma: -alpha off -type TrueColor '" + in + "'"));
    const Rgb before = magickRgb(in, 100, 10);
    ASSERT_EQ(lib.call("CropBMP_SetWidth", nullptr, 50), 0);
    ASSERT_EQ(call("CropBMPfile", in, 2.9, out), 0);
    EXPECT_EQ(magickSize(out), "50x7");
    const Rgb strip = magickRgb(out, 50, 7);
    // Stored bottom-up: the top row and the two bottom rows of the picture
    // are dropped; the strip starts 2 pixels in.
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 50; ++x)
            for (int c = 0; c < 3; ++c) ASSERT_EQ(strip.at(x, y, c), before.at(x + 2, y + 2, c)) << x << "," << y;
    EXPECT_EQ(call("CropBMPfile", in, 60, out), -12);
}

// The thumbnail size is checked before the path: a size it accepts lets the
// missing path be reported.
TEST(ImageFrames, ThumbnailSizeIsCheckedFirst) {
    Library lib;
    EXPECT_EQ(lib.call("CreateThumbnail", nullptr, 0), -8);
    EXPECT_EQ(lib.call("CreateThumbnail", nullptr, 16), -1);
    EXPECT_EQ(lib.call("CreateThumbnail", nullptr, 30000.9), -1);
    EXPECT_EQ(lib.call("CreateThumbnail", nullptr, 30001), -8);
}

}  // namespace
