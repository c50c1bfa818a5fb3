// The edge fixer's four fill passes: the shapes they must produce, and the
// fast scan (which skips eight non-black pixels at a time) against a plain
// pixel-by-pixel transcription of the passes on random images.

#include <gtest/gtest.h>

#include <random>

#include "image/psd_ops_internal.hpp"
#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

struct Image {
    int rows, columns;
    Bytes data;   // three planes
    uint8_t* plane(int c) { return data.data() + size_t(c) * size_t(rows) * size_t(columns); }
    image::RgbPlanes planes() { return {plane(0), plane(1), plane(2), uint64_t(rows) * uint64_t(columns)}; }
    bool black(size_t i) { return plane(0)[i] == 0 && plane(1)[i] == 0 && plane(2)[i] == 0; }
    void copy(size_t to, size_t from) {
        for (int c = 0; c < 3; ++c) plane(c)[to] = plane(c)[from];
    }
};

Image blackImage(int rows, int columns) { return {rows, columns, Bytes(size_t(rows) * size_t(columns) * 3, 0)}; }

void paint(Image& img, int r, int x, uint8_t red, uint8_t green, uint8_t blue) {
    const size_t i = size_t(r) * size_t(img.columns) + size_t(x);
    img.plane(0)[i] = red;
    img.plane(1)[i] = green;
    img.plane(2)[i] = blue;
}

// The passes exactly as described, one pixel at a time.
void referenceFixEdges(Image& img) {
    const size_t cols = size_t(img.columns), rows = size_t(img.rows), total = rows * cols;
    for (size_t p = 0; p < total; ++p) {
        const size_t c = p % cols;
        if (!img.black(p) || c == cols - 1) continue;
        img.copy(p, p + 1);
        if (c >= 1 && img.black(p - 1)) img.copy(p - 1, p + 1);
        if (c >= 2 && img.black(p - 2)) img.copy(p - 2, p + 1);
    }
    int k = 1;
    for (size_t p = 0; p < total; ++p) {
        if (!img.black(p)) {
            k = 1;
            continue;
        }
        if (p % cols >= 1 && k >= 1) {
            img.copy(p, p - 1);
            if (k >= 3) k = -1;
        }
        ++k;
    }
    for (size_t p = 2 * cols; p < (rows - 1) * cols; ++p) {
        if (!img.black(p)) continue;
        img.copy(p, p + cols);
        if (img.black(p - cols)) img.copy(p - cols, p + cols);
        if (img.black(p - 2 * cols)) img.copy(p - 2 * cols, p + cols);
    }
    for (size_t p = (rows - 1) * cols - 1; p >= 3 * cols + 1; --p) {
        if (!img.black(p)) continue;
        img.copy(p, p - cols);
        if (img.black(p + cols)) img.copy(p + cols, p - cols);
        if (p / cols + 2 <= rows - 1 && img.black(p + 2 * cols)) img.copy(p + 2 * cols, p - cols);
    }
}

void fix(Image& img) { image::fixEdgesPlanes(img.planes(), uint32_t(img.rows), uint32_t(img.columns)); }

bool isColour(Image& img, int r, int x, uint8_t red) {
    return img.plane(0)[size_t(r) * size_t(img.columns) + size_t(x)] == red;
}

TEST(FixEdges, OnePixelGrowsIntoASevenBySevenSquare) {
    Image img = blackImage(100, 100);
    paint(img, 40, 60, 9, 8, 7);
    fix(img);
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            const bool inside = r >= 37 && r <= 43 && x >= 57 && x <= 63;
            ASSERT_EQ(isColour(img, r, x, 9), inside) << r << "," << x;
        }
}

TEST(FixEdges, PixelInColumnZeroGrowsOnlyRightwards) {
    Image img = blackImage(100, 100);
    paint(img, 50, 0, 9, 8, 7);
    fix(img);
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            const bool inside = r >= 47 && r <= 53 && x <= 3;
            ASSERT_EQ(isColour(img, r, x, 9), inside) << r << "," << x;
        }
}

TEST(FixEdges, ImagesWithoutGapsOrWithoutColourStayAsTheyWere) {
    Image black = blackImage(100, 100);
    fix(black);
    EXPECT_EQ(black.data, blackImage(100, 100).data);
    Image full = blackImage(100, 103);
    for (size_t i = 0; i < full.data.size(); ++i) full.data[i] = uint8_t(i % 3 == 0 ? 1 + i % 250 : 0);
    const Bytes before = full.data;
    fix(full);
    EXPECT_EQ(full.data, before);
}

TEST(FixEdges, FastScanMatchesThePlainPasses) {
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        const int rows = 100 + int(random() % 9), columns = 100 + int(random() % 21);
        Image img = blackImage(rows, columns);
        const unsigned density = 1 + random() % 60;   // per cent of coloured pixels
        for (int r = 0; r < rows; ++r)
            for (int x = 0; x < columns; ++x)
                if (random() % 100 < density) {
                    // Often only one plane is non-zero, so blackness needs all three.
                    const int c = int(random() % 3);
                    paint(img, r, x, c == 0 ? uint8_t(1 + random() % 255) : 0, c == 1 ? 5 : 0, c == 2 ? 6 : 0);
                }
        Image expected = img;
        referenceFixEdges(expected);
        fix(img);
        ASSERT_EQ(img.data, expected.data) << "round " << round;
    }
}

TEST(FixEdges, FileOperationRefusesSmallImages) {
    ScratchDir dir;
    const std::string path = dir.file("e.psd");
    const Bytes small = simplePsd(100, 99, [](int, int, int) { return uint8_t(0); });
    writeFile(path, small);
    EXPECT_EQ(image::fixEdgesPSD(path.c_str()), image::psd::kTooSmall);
    EXPECT_EQ(readFile(path), small);
    writeFile(path, simplePsd(100, 100, [](int, int r, int x) { return uint8_t(r == 50 && x == 50 ? 200 : 0); }, 4));
    ASSERT_EQ(image::fixEdgesPSD(path.c_str()), 0);
    PsdView out = readPsdView(path);
    EXPECT_EQ(out.at(1, 47, 53), 200);
    EXPECT_EQ(out.at(3, 47, 53), 0);   // the fourth plane is left alone
}

}  // namespace
