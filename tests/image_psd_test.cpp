// PSD header parse, whole-file round trip, and the per-file operations
// (merge, heal, in-place heal, swap, stencil, grayscale) on files built here.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "image/colour.hpp"
#include "image/psd_file.hpp"
#include "image/psd_ops_internal.hpp"
#include "image/thumbnail_internal.hpp"
#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;
using image::PsdHeader;

PsdParts rgbParts(int32_t rows, int32_t columns, const SampleFn& sample, int channels = 3) {
    PsdParts p;
    p.rows = rows;
    p.columns = columns;
    p.channels = uint16_t(channels);
    p.data = makePlanes(rows, columns, channels, sample);
    return p;
}

uint8_t pattern(int c, int r, int x) { return uint8_t(1 + c * 71 + r * 13 + x * 7); }

float parse(const Bytes& file, PsdHeader& header) { return image::parsePsdHeader(file, header); }

TEST(PsdHeader, FindsImageDataAfterResourcesAndLayers) {
    PsdParts p = rgbParts(3, 5, pattern);
    p.resources = Bytes(37, 0xAB);
    p.layers = Bytes(11, 0xCD);
    PsdHeader h;
    ASSERT_EQ(parse(buildPsd(p), h), 0);
    EXPECT_EQ(h.dataStart, psdDataStart(p));
    EXPECT_EQ(h.rows, 3);
    EXPECT_EQ(h.columns, 5);
    EXPECT_EQ(h.imageResourcesLength, 37);
    EXPECT_EQ(h.layerMaskLength, 11);
}

TEST(PsdHeader, RefusesEachUnsupportedFormWithItsCode) {
    PsdHeader h;
    PsdParts p = rgbParts(2, 2, pattern);
    p.version = 2;
    EXPECT_EQ(parse(buildPsd(p), h), -2);
    p.version = 1;
    p.compression = 1;
    Bytes rle = buildPsd(p);
    EXPECT_EQ(parse(rle, h), -4);
    Bytes modeData = buildPsd(rgbParts(2, 2, pattern));
    modeData[29] = 3;   // colour-mode data length 3
    EXPECT_EQ(parse(modeData, h), -3);
    Bytes badSignature = buildPsd(rgbParts(2, 2, pattern));
    badSignature[3] = 'T';
    EXPECT_EQ(parse(badSignature, h), -1);
}

TEST(PsdHeader, SectionLengthsThatLieAreRefused) {
    PsdHeader h;
    Bytes file = buildPsd(rgbParts(2, 2, pattern));
    Bytes longResources = file;
    longResources[30] = 0x7F;   // resources length far past the end
    EXPECT_EQ(parse(longResources, h), image::psd::kTruncated);
    Bytes negativeResources = file;
    negativeResources[30] = 0xFF;
    EXPECT_EQ(parse(negativeResources, h), image::psd::kTruncated);
    Bytes negativeRows = file;
    negativeRows[14] = 0x80;
    EXPECT_EQ(parse(negativeRows, h), image::psd::kTruncated);
}

TEST(PsdHeader, PlanesMustBeThreeEightBitPlanesInFull) {
    PsdHeader h;
    PsdParts deep = rgbParts(2, 2, pattern);
    deep.depth = 16;
    Bytes deepFile = buildPsd(deep);
    ASSERT_EQ(parse(deepFile, h), 0);   // the parse itself accepts it
    EXPECT_EQ(image::checkRgbPlanes(h, deepFile.size()), image::psd::kNotRgb8);

    Bytes oneChannel = buildPsd(rgbParts(2, 2, pattern, 1));
    ASSERT_EQ(parse(oneChannel, h), 0);
    EXPECT_EQ(image::checkRgbPlanes(h, oneChannel.size()), image::psd::kNotRgb8);

    Bytes full = buildPsd(rgbParts(4, 4, pattern));
    ASSERT_EQ(parse(full, h), 0);
    EXPECT_EQ(image::checkRgbPlanes(h, full.size()), 0);
    EXPECT_EQ(image::checkRgbPlanes(h, full.size() - 1), image::psd::kTruncated);
}

// Every prefix of a valid file, each in its own allocation of exactly that
// size, so that the sanitizers see any read past the end.
TEST(PsdHeader, EveryPrefixIsRefusedWithoutReadingPastIt) {
    PsdParts p = rgbParts(3, 4, pattern);
    p.resources = sampleResources();
    p.layers = emptyLayerSection();
    const Bytes file = buildPsd(p);
    for (size_t n = 0; n < file.size(); ++n) {
        std::unique_ptr<uint8_t[]> copy(new uint8_t[n ? n : 1]);
        if (n) std::memcpy(copy.get(), file.data(), n);
        PsdHeader h;
        float code = image::parsePsdHeader({copy.get(), n}, h);
        if (code == 0) code = image::checkRgbPlanes(h, n);
        EXPECT_EQ(code, image::psd::kTruncated) << "prefix " << n;
    }
}

// Every prefix of a valid file, stored as a file, through every operation:
// each refuses it, writes nothing and leaves the prefix as it was.
TEST(PsdFile, EveryOperationRefusesEveryPrefix) {
    ScratchDir dir;
    PsdParts p = rgbParts(3, 4, pattern);
    p.resources = sampleResources();
    p.layers = emptyLayerSection();
    const Bytes file = buildPsd(p);
    const std::string cut = dir.file("cut.psd"), whole = dir.file("whole.psd"), out = dir.file("out.psd");
    writeFile(whole, file);
    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes prefix(file.begin(), file.begin() + long(n));
        writeFile(cut, prefix);
        const char* c = cut.c_str();
        EXPECT_LT(image::convertPSD(c, 0, 255, image::ConvertMode::Stencil), 0) << n;
        EXPECT_LT(image::grayscalePSD(c, out.c_str(), 0), 0) << n;
        EXPECT_LT(image::createThumb(c, 2), 0) << n;
        EXPECT_LT(image::fixEdgesPSD(c), 0) << n;
        EXPECT_LT(image::healImportFile(c), 0) << n;
        EXPECT_LT(image::mergePSD(c, whole.c_str(), 0), 0) << n;
        EXPECT_LT(image::mergePSD(whole.c_str(), c, 0), 0) << n;
        EXPECT_TRUE(readFile(cut) == prefix) << n;
        EXPECT_FALSE(fileExists(out)) << n;
    }
    EXPECT_TRUE(readFile(whole) == file);
}

TEST(PsdFile, PatchesAreBigEndian) {
    ByteBuffer bytes(20);
    std::memset(bytes.data(), 0, 20);
    bytes.data()[13] = 3;
    image::patchShort(bytes, 12, 1);
    EXPECT_EQ(bytes.data()[12], 0);
    EXPECT_EQ(bytes.data()[13], 1);
    image::patchLong(bytes, 14, 256);
    EXPECT_EQ(Bytes(bytes.data() + 14, bytes.data() + 18), (Bytes{0, 0, 1, 0}));
}

TEST(PsdFile, LoadAndWriteBackIsByteIdentical) {
    ScratchDir dir;
    PsdParts p = rgbParts(5, 6, pattern, 4);
    p.resources = sampleResources();
    p.layers = Bytes(9, 0x5A);
    const Bytes file = buildPsd(p);
    writeFile(dir.file("a.psd"), file);
    image::PsdImage img;
    ASSERT_EQ(image::loadRgbPsd(dir.file("a.psd").c_str(), img), 0);
    ASSERT_EQ(image::writeWholePsd(dir.file("b.psd").c_str(), img.bytes), 0);
    EXPECT_EQ(readFile(dir.file("b.psd")), file);
    EXPECT_EQ(image::writeWholePsd(dir.file("missing/b.psd").c_str(), img.bytes), ostrel::kOutputCannotWrite);
}

TEST(Colour, SplitsIntoBytesAndFlagsOutOfRange) {
    auto red = image::splitColour(16711680.0f);
    EXPECT_EQ(red.red, 255);
    EXPECT_EQ(red.green, 0);
    EXPECT_EQ(red.blue, 0);
    auto mixed = image::splitColour(float(0x12 * 65536 + 0x34 * 256 + 0x56));
    EXPECT_EQ(mixed.red, 0x12);
    EXPECT_EQ(mixed.green, 0x34);
    EXPECT_EQ(mixed.blue, 0x56);
    EXPECT_TRUE(mixed.inByteRange());
    EXPECT_FALSE(image::splitColour(-1.0f).inByteRange());
    EXPECT_FALSE(image::splitColour(16777216.0f).inByteRange());
}

// ---- two-file operations ----

class PsdFiles : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string a = dir.file("a.psd");
    std::string b = dir.file("b.psd");
};

TEST_F(PsdFiles, MergeKeepsBaseWhereThePaintedFileShowsTheKey) {
    // A: black squares on a pattern, with a resources section; B: another
    // pattern with a fourth plane and different sections, so the data starts differ.
    PsdParts pa = rgbParts(6, 7, [](int c, int r, int x) { return (r + x) % 3 == 0 ? uint8_t(0) : pattern(c, r, x); });
    pa.resources = sampleResources();
    PsdParts pb = rgbParts(6, 7, [](int c, int r, int x) { return uint8_t(200 - c - r - x); }, 4);
    pb.layers = Bytes(13, 0x77);
    writeFile(a, buildPsd(pa));
    writeFile(b, buildPsd(pb));

    ASSERT_EQ(image::mergePSD(a.c_str(), b.c_str(), 0.0f), 0);
    PsdView out = readPsdView(a);
    ASSERT_EQ(out.bytes.size(), buildPsd(pb).size());
    EXPECT_EQ(out.dataStart, psdDataStart(pb));
    for (int r = 0; r < 6; ++r)
        for (int x = 0; x < 7; ++x)
            for (int c = 0; c < 4; ++c) {
                const bool key = (r + x) % 3 == 0;
                const uint8_t want = (key || c == 3) ? uint8_t(200 - c - r - x) : pattern(c, r, x);
                EXPECT_EQ(out.at(c, r, x), want) << r << "," << x << "," << c;
            }
    EXPECT_EQ(readFile(b), buildPsd(pb));
}

TEST_F(PsdFiles, MergeWithAKeyNoSampleCanMatchCopiesEveryPixel) {
    writeFile(a, simplePsd(3, 3, [](int, int, int) { return uint8_t(0); }));
    writeFile(b, simplePsd(3, 3, pattern));
    ASSERT_EQ(image::mergePSD(a.c_str(), b.c_str(), -5.0f), 0);
    PsdView out = readPsdView(a);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(out.at(c, 2, 2), 0);
}

TEST_F(PsdFiles, SizeMismatchLeavesBothFilesUntouched) {
    const Bytes fa = simplePsd(100, 100, pattern), fb = simplePsd(100, 101, pattern);
    writeFile(a, fa);
    writeFile(b, fb);
    EXPECT_EQ(image::mergePSD(a.c_str(), b.c_str(), 0.0f), image::psd::kSizeMismatch);
    EXPECT_EQ(image::mergeSeamlessPSD(a.c_str(), b.c_str(), true), image::psd::kSizeMismatch);
    EXPECT_EQ(readFile(a), fa);
    EXPECT_EQ(readFile(b), fb);
}

TEST_F(PsdFiles, FirstFileProblemsHideTheSecondFile) {
    writeFile(a, simplePsd(99, 120, pattern));
    EXPECT_EQ(image::mergeSeamlessPSD(a.c_str(), dir.file("absent.psd").c_str(), true), image::psd::kTooSmall);
    EXPECT_EQ(image::mergePSD(dir.file("absent.psd").c_str(), a.c_str(), 0), image::psd::kCannotOpenOrNotPsd);
    EXPECT_EQ(image::mergePSD(a.c_str(), nullptr, 0), image::psd::kCannotOpenOrNotPsd);
}

uint8_t healA(int c, int r, int x) { return uint8_t(c * 90 + (r * 3 + x) % 80 + 1); }
uint8_t healB(int c, int r, int x) { return uint8_t(255 - c - ((r + x) & 63)); }

TEST_F(PsdFiles, HealLeftAndRightEdgesFromColumnsNearFifty) {
    writeFile(a, simplePsd(100, 100, healA));
    writeFile(b, simplePsd(100, 100, healB));
    ASSERT_EQ(image::mergeSeamlessPSD(a.c_str(), b.c_str(), true), 0);
    PsdView out = readPsdView(a);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 100; ++r)
            for (int x = 0; x < 100; ++x) {
                uint8_t want = healB(c, r, x);
                const bool healed = r >= 2 && r <= 98;
                if (healed && x == 0) want = healA(c, r, 50);
                if (healed && x == 1) want = healA(c, r, 51);
                if (healed && x == 98) want = healA(c, r, 48);
                if (healed && x == 99) want = healA(c, r, 49);
                ASSERT_EQ(out.at(c, r, x), want) << c << " " << r << " " << x;
            }
}

TEST_F(PsdFiles, HealTopAndBottomEdgesFromRowsNearFifty) {
    writeFile(a, simplePsd(120, 100, healA));
    writeFile(b, simplePsd(120, 100, healB));
    ASSERT_EQ(image::mergeSeamlessPSD(a.c_str(), b.c_str(), false), 0);
    PsdView out = readPsdView(a);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 120; ++r)
            for (int x = 0; x < 100; ++x) {
                uint8_t want = healB(c, r, x);
                if (r < 10) want = healA(c, r + 50, x);
                if (r >= 110) want = healA(c, 40 + (r - 110), x);
                ASSERT_EQ(out.at(c, r, x), want) << c << " " << r << " " << x;
            }
}

// Files larger than one slice of the streamed operations, and not a whole
// number of slices or of eight pixels, with a fourth plane and header
// sections: every result holds its rule at every pixel, across the slice
// borders, and the fourth plane comes through unchanged.
TEST_F(PsdFiles, StreamedOperationsHoldAcrossSliceBorders) {
    const int rows = 1031, columns = 1029;
    ASSERT_GT(size_t(rows) * size_t(columns), image::kPsdSlice);
    const auto black = [](int r, int x) { return (r * 7 + x * 3) % 11 == 0; };
    const SampleFn sampleA = [&](int c, int r, int x) {
        return c < 3 && black(r, x) ? uint8_t(0) : uint8_t(1 + (c * 31 + r * 5 + x) % 250);
    };
    const SampleFn sampleB = [](int c, int r, int x) { return uint8_t(255 - (c * 17 + r + x * 3) % 200); };
    PsdParts pa = rgbParts(rows, columns, sampleA, 4);
    pa.resources = sampleResources();
    PsdParts pb = rgbParts(rows, columns, sampleB, 4);
    pb.layers = emptyLayerSection();
    const Bytes fileA = buildPsd(pa), fileB = buildPsd(pb);
    const auto expected = [&](PsdParts parts, const SampleFn& sample) {
        parts.data = makePlanes(rows, columns, 4, sample);
        return buildPsd(parts);
    };
    const auto run = [&](float code) {
        EXPECT_EQ(code, 0);
        const Bytes out = readFile(a);
        writeFile(a, fileA);
        return out;
    };
    writeFile(a, fileA);
    writeFile(b, fileB);

    EXPECT_TRUE(run(image::mergePSD(a.c_str(), b.c_str(), 0.0f)) == expected(pb, [&](int c, int r, int x) {
        return c < 3 && !black(r, x) ? sampleA(c, r, x) : sampleB(c, r, x);
    }));
    const uint8_t fill[3] = {0x10, 0x20, 0x30};
    for (const auto mode : {image::ConvertMode::Swap, image::ConvertMode::Stencil}) {
        const bool stencil = mode == image::ConvertMode::Stencil;
        EXPECT_TRUE(run(image::convertPSD(a.c_str(), 0, 0x102030, mode)) == expected(pa, [&](int c, int r, int x) {
            return c < 3 && black(r, x) != stencil ? fill[c] : sampleA(c, r, x);
        })) << "stencil " << stencil;
    }
    EXPECT_TRUE(run(image::mergeSeamlessPSD(a.c_str(), b.c_str(), true)) == expected(pb, [&](int c, int r, int x) {
        static constexpr int kFrom[4] = {50, 51, 48, 49};
        const int edge = x < 2 ? x : x >= columns - 2 ? x - columns + 4 : -1;
        return c < 3 && edge >= 0 && r >= 2 && r <= rows - 2 ? sampleA(c, r, kFrom[edge]) : sampleB(c, r, x);
    }));
    EXPECT_TRUE(run(image::mergeSeamlessPSD(a.c_str(), b.c_str(), false)) == expected(pb, [&](int c, int r, int x) {
        if (c < 3 && r < 10) return sampleA(c, r + 50, x);
        if (c < 3 && r >= rows - 10) return sampleA(c, 40 + r - (rows - 10), x);
        return sampleB(c, r, x);
    }));
    ASSERT_EQ(image::grayscalePSD(a.c_str(), b.c_str(), 60), 0);
    const PsdView gray = readPsdView(b);
    ASSERT_EQ(gray.bytes.size(), psdDataStart(pa) + size_t(rows) * size_t(columns));
    size_t wrong = 0;
    for (int r = 0; r < rows; ++r)
        for (int x = 0; x < columns; ++x)
            wrong += gray.at(0, r, x) != referenceGray(sampleA(0, r, x), sampleA(1, r, x), sampleA(2, r, x), 60);
    EXPECT_EQ(wrong, 0u);
}

// ---- in-place heal ----

TEST_F(PsdFiles, HealImportRepeatsRowsInPlaceAndKeepsEverythingElse) {
    PsdParts p = rgbParts(100, 100, healA, 4);
    p.resources = sampleResources();
    const Bytes before = buildPsd(p);
    writeFile(a, before);
    ASSERT_EQ(image::healImportFile(a.c_str()), 0);
    PsdView out = readPsdView(a);
    ASSERT_EQ(out.bytes.size(), before.size());
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 100; ++r)
            for (int x = 0; x < 100; ++x) {
                int from = r;
                if (c < 3 && r <= 2) from = 4;
                if (c < 3 && r >= 98) from = 97;
                ASSERT_EQ(out.at(c, r, x), healA(c, from, x)) << c << " " << r << " " << x;
            }
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + long(psdDataStart(p)), out.bytes.begin()));
}

TEST_F(PsdFiles, HealImportRefusesShortFilesAndFarHeaders) {
    Bytes full = simplePsd(100, 100, healA);
    Bytes shorter(full.begin(), full.end() - 1);
    writeFile(a, shorter);
    EXPECT_EQ(image::healImportFile(a.c_str()), image::psd::kTruncated);
    EXPECT_EQ(readFile(a), shorter);

    PsdParts far = rgbParts(100, 100, healA);
    far.resources = Bytes(1000, 1);   // sections end past the first 1000 bytes
    writeFile(a, buildPsd(far));
    EXPECT_EQ(image::healImportFile(a.c_str()), image::psd::kTruncated);

    writeFile(a, simplePsd(100, 99, healA));
    EXPECT_EQ(image::healImportFile(a.c_str()), image::psd::kTooSmall);
    EXPECT_EQ(image::healImportFile(dir.file("absent.psd").c_str()), image::psd::kCannotOpenOrNotPsd);
}

// ---- swap and stencil ----

uint8_t someBlack(int c, int r, int x) { return (r * 5 + x) % 4 == 0 ? uint8_t(0) : pattern(c, r, x); }

TEST_F(PsdFiles, SwapRecoloursKeyPixelsAndStencilAllOthers) {
    const int rows = 9, columns = 11;
    for (auto mode : {image::ConvertMode::Swap, image::ConvertMode::Stencil}) {
        writeFile(a, simplePsd(rows, columns, someBlack, 4));
        ASSERT_EQ(image::convertPSD(a.c_str(), 0.0f, 16711680.0f, mode), 0);
        PsdView out = readPsdView(a);
        for (int r = 0; r < rows; ++r)
            for (int x = 0; x < columns; ++x) {
                const bool key = (r * 5 + x) % 4 == 0;
                const bool filled = key == (mode == image::ConvertMode::Swap);
                for (int c = 0; c < 4; ++c) {
                    const uint8_t red[3] = {255, 0, 0};
                    const uint8_t want = (filled && c < 3) ? red[c] : someBlack(c, r, x);
                    ASSERT_EQ(out.at(c, r, x), want);
                }
            }
    }
}

TEST_F(PsdFiles, AKeyNoSampleCanMatchStencilsEverythingAndSwapsNothing) {
    const Bytes before = simplePsd(3, 5, someBlack);
    writeFile(a, before);
    ASSERT_EQ(image::convertPSD(a.c_str(), -1.0f, 255.0f, image::ConvertMode::Swap), 0);
    EXPECT_TRUE(readFile(a) == before);
    ASSERT_EQ(image::convertPSD(a.c_str(), 16777216.0f, 255.0f, image::ConvertMode::Stencil), 0);
    PsdView out = readPsdView(a);
    for (int r = 0; r < 3; ++r)
        for (int x = 0; x < 5; ++x) EXPECT_TRUE(out.at(0, r, x) == 0 && out.at(1, r, x) == 0 && out.at(2, r, x) == 255);
}

TEST_F(PsdFiles, FillComponentsAreStoredAsTheirLowBytes) {
    writeFile(a, simplePsd(2, 2, [](int, int, int) { return uint8_t(0); }));
    // Red component 300 (exact in single precision) is stored as 44.
    ASSERT_EQ(image::convertPSD(a.c_str(), 0.0f, float(300 * 65536 + 254), image::ConvertMode::Swap), 0);
    PsdView out = readPsdView(a);
    EXPECT_EQ(out.at(0, 0, 0), 44);
    EXPECT_EQ(out.at(1, 0, 0), 0);
    EXPECT_EQ(out.at(2, 1, 1), 254);
}

// ---- grayscale ----

TEST(Grayscale, FormulaAndBlackLevelTable) {
    EXPECT_EQ(image::grayOf(255, 255, 255), 255);
    EXPECT_EQ(image::grayOf(128, 128, 128), 128);
    EXPECT_EQ(image::grayOf(255, 0, 0), 85);
    EXPECT_EQ(image::grayOf(200, 200, 100), 167);
    uint8_t table[256];
    image::blackLevelTable(0, table);
    for (int g = 0; g < 256; ++g) EXPECT_EQ(table[g], g);
    image::blackLevelTable(100, table);
    const int in[] = {99, 100, 101, 128, 200, 254, 255};
    const int want[] = {0, 0, 3, 47, 165, 254, 255};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(table[in[i]], want[i]) << in[i];
    image::blackLevelTable(255, table);
    EXPECT_EQ(table[254], 0);
    EXPECT_EQ(table[255], 255);
    image::blackLevelTable(1, table);
    for (int g = 2; g < 256; ++g) EXPECT_EQ(table[g], g);
}

// The sums at which the three products round differently are where a table
// keyed on R + G + B alone would go wrong: the output must match the formula
// for each of them, and for a spread of ordinary pixels.
TEST_F(PsdFiles, GrayscaleMatchesTheFormulaEvenWhereRoundingDiffers) {
    std::vector<std::array<uint8_t, 3>> pixels;
    int firstBySum[766];
    std::fill(std::begin(firstBySum), std::end(firstBySum), -1);
    for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const int v = referenceGray(red, green, blue, 0);
                int& first = firstBySum[red + green + blue];
                if (first < 0) first = v;
                if (first != v || (red * 7 + green * 3 + blue) % 4099 == 0)
                    pixels.push_back({uint8_t(red), uint8_t(green), uint8_t(blue)});
            }
    const int columns = 64;
    const int rows = int((pixels.size() + columns - 1) / columns);
    pixels.resize(size_t(rows * columns), {0, 0, 0});
    auto sample = [&](int c, int r, int x) { return c < 3 ? pixels[size_t(r * columns + x)][size_t(c)] : uint8_t(77); };
    PsdParts p = rgbParts(rows, columns, sample, 4);
    p.layers = emptyLayerSection();
    writeFile(a, buildPsd(p));
    for (int level : {0, 100, 254}) {
        ASSERT_EQ(image::grayscalePSD(a.c_str(), b.c_str(), level), 0);
        PsdView out = readPsdView(b);
        EXPECT_EQ(out.channels, 1);
        EXPECT_EQ(out.bytes[25], 1);   // grayscale mode
        ASSERT_EQ(out.bytes.size(), psdDataStart(p) + size_t(rows * columns));
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(out.bytes[out.dataStart + i], referenceGray(pixels[i][0], pixels[i][1], pixels[i][2], level))
                << "pixel " << i << " level " << level;
    }
}

TEST_F(PsdFiles, GrayscaleClampsTheLevelAndRefusesNonRgb) {
    writeFile(a, simplePsd(1, 3, [](int, int, int x) { return uint8_t(x == 0 ? 100 : x == 1 ? 254 : 255); }));
    ASSERT_EQ(image::grayscalePSD(a.c_str(), b.c_str(), -20), 0);
    PsdView low = readPsdView(b);
    EXPECT_EQ(Bytes(low.bytes.end() - 3, low.bytes.end()), (Bytes{100, 254, 255}));
    ASSERT_EQ(image::grayscalePSD(a.c_str(), b.c_str(), 300), 0);
    PsdView high = readPsdView(b);
    EXPECT_EQ(Bytes(high.bytes.end() - 3, high.bytes.end()), (Bytes{0, 0, 255}));

    PsdParts cmyk = rgbParts(2, 2, pattern, 4);
    cmyk.mode = 4;
    writeFile(a, buildPsd(cmyk));
    const std::string c = dir.file("c.psd");
    EXPECT_EQ(image::grayscalePSD(a.c_str(), c.c_str(), 0), image::psd::kColourModeData);
    EXPECT_FALSE(fileExists(c));
    writeFile(a, simplePsd(2, 2, pattern));
    EXPECT_EQ(image::grayscalePSD(a.c_str(), nullptr, 0), ostrel::kOutputCannotWrite);
}

}  // namespace
