// Thumbnail geometry: which source pixel each output pixel shows, for wide,
// tall, small and remainder-spreading cases, and the file that is written.

#include <gtest/gtest.h>

#include "image/thumbnail_internal.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/image_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

// Every source pixel encodes its own row and column (and is never black):
// red and green the low bytes, blue 128 + the high bits.
uint8_t encoded(int c, int r, int x) {
    if (c == 0) return uint8_t(r);
    if (c == 1) return uint8_t(x);
    return uint8_t(128 + ((r >> 8) << 3 | (x >> 8)));
}

struct Source {
    int rows, columns;
    Bytes data;
    explicit Source(int r, int c) : rows(r), columns(c), data(makePlanes(r, c, 3, encoded)) {}
    image::RgbPlanes planes() {
        const uint64_t p = uint64_t(rows) * uint64_t(columns);
        return {data.data(), data.data() + p, data.data() + 2 * p, p};
    }
};

struct Shown {
    bool black;
    int row, column;
};

struct Thumb {
    int n;
    image::ThumbnailPlanes planes;
    Shown at(int r, int x) const {
        const size_t i = size_t(r) * size_t(n) + size_t(x);
        const int red = planes.red[i], green = planes.green[i], blue = planes.blue[i];
        if (red == 0 && green == 0 && blue == 0) return {true, -1, -1};
        return {false, red | ((blue - 128) >> 3) << 8, green | ((blue - 128) & 7) << 8};
    }
};

Thumb thumbOf(int rows, int columns, int n) {
    Source s(rows, columns);
    return {n, image::sampleThumbnail(s.planes(), rows, columns, n)};
}

TEST(Thumbnail, WideImageSitsBelowABlackBand) {
    Thumb t = thumbOf(100, 200, 100);
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            Shown s = t.at(r, x);
            if (r < 25 || r >= 75) {
                ASSERT_TRUE(s.black) << r << "," << x;
            } else {
                ASSERT_FALSE(s.black);
                ASSERT_EQ(s.row, 2 * (r - 25));
                ASSERT_EQ(s.column, 2 * x);
            }
        }
}

TEST(Thumbnail, TallImageSitsBetweenBlackColumns) {
    Thumb t = thumbOf(200, 100, 100);
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            Shown s = t.at(r, x);
            if (x < 25 || x >= 75) {
                ASSERT_TRUE(s.black) << r << "," << x;
            } else {
                ASSERT_FALSE(s.black);
                ASSERT_EQ(s.row, 2 * r);
                ASSERT_EQ(s.column, 2 * (x - 25));
            }
        }
}

TEST(Thumbnail, LeftOverColumnsAndRowsAreSpreadByExtraSteps) {
    Thumb t = thumbOf(1000, 1000, 128);
    const int firstColumns[] = {0, 7, 15, 22, 30, 37};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(t.at(0, x).column, firstColumns[x]);
    EXPECT_EQ(t.at(0, 127).column, 952);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(t.at(r, 0).row, firstColumns[r]);
    // 128 pixels a row keep the alternating counter in step from row to row.
    EXPECT_EQ(t.at(1, 1).column, 7);
    EXPECT_EQ(t.at(127, 127).row, 952);
}

TEST(Thumbnail, VeryWideImageShowsOneRow) {
    Thumb t = thumbOf(10, 1000, 100);
    for (int r = 0; r < 100; ++r) {
        Shown s = t.at(r, 3);
        if (r == 49) {
            EXPECT_FALSE(s.black);
            EXPECT_EQ(s.row, 0);
            EXPECT_EQ(s.column, 30);
        } else {
            EXPECT_TRUE(s.black) << r;
        }
    }
}

TEST(Thumbnail, SmallWideImageRepeatsItsFirstRowInTheBand) {
    Thumb t = thumbOf(40, 50, 100);
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            Shown s = t.at(r, x);
            if (r >= 70 || x >= 50) {
                ASSERT_TRUE(s.black) << r << "," << x;
                continue;
            }
            ASSERT_FALSE(s.black) << r << "," << x;
            ASSERT_EQ(s.row, r < 30 ? 0 : r - 30);
            ASSERT_EQ(s.column, x);
        }
}

TEST(Thumbnail, SmallTallImageRepeatsEachRowsFirstPixel) {
    Thumb t = thumbOf(50, 40, 100);   // L = 30
    for (int r = 0; r < 100; ++r)
        for (int x = 0; x < 100; ++x) {
            Shown s = t.at(r, x);
            if (r >= 50 || x >= 70) {
                ASSERT_TRUE(s.black) << r << "," << x;
                continue;
            }
            ASSERT_EQ(s.row, r);
            ASSERT_EQ(s.column, x < 30 ? 0 : x - 30);
        }
}

TEST(Thumbnail, EmptyImageGivesABlackSquare) {
    Thumb t = thumbOf(0, 0, 4);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(t.at(i / 4, i % 4).black);
}

TEST(Thumbnail, FileCarriesThreePlanesOfNByN) {
    ScratchDir dir;
    const std::string path = dir.file("t.psd");
    PsdParts p;
    p.rows = 100;
    p.columns = 200;
    p.channels = 4;
    p.resources = sampleResources();
    p.data = makePlanes(100, 200, 4, encoded);
    writeFile(path, buildPsd(p));
    ASSERT_EQ(image::createThumb(path.c_str(), 20), 0);
    PsdView out = readPsdView(path);
    EXPECT_EQ(out.rows, 20);
    EXPECT_EQ(out.columns, 20);
    EXPECT_EQ(out.channels, 3);
    EXPECT_EQ(out.bytes.size(), psdDataStart(p) + 3 * 20 * 20);
    EXPECT_EQ(out.at(2, 4, 3), 0);    // the last of five band rows: black
    EXPECT_EQ(out.at(0, 5, 3), 0);    // step 10: source row 0, column 30
    EXPECT_EQ(out.at(1, 5, 3), 30);
    EXPECT_EQ(out.at(0, 6, 3), 10);   // source row 10

    // Sizes a version-1 PSD cannot state are refused before anything is
    // written. The limit turns a build that took 30,001 into a failed write
    // instead of 2.7 GB on the disk.
    const Bytes before = readFile(path);
    {
        FileSizeLimit limit(size_t(1) << 20);
        EXPECT_EQ(image::createThumb(path.c_str(), 0), image::kThumbnailSizeOutOfRange);
        EXPECT_EQ(image::createThumb(path.c_str(), image::kLargestThumbnail + 1), image::kThumbnailSizeOutOfRange);
    }
    EXPECT_EQ(readFile(path), before);
}

}  // namespace
