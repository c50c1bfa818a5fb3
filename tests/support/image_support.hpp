#pragma once
// Test helpers for the image tools: a small PSD writer, BMP and PSD files made
// by ImageMagick (the peer implementation), and ImageMagick's reading of the
// files the library writes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/test_support.hpp"

namespace ostrel::test {

struct PsdParts {
    int32_t rows = 0;
    int32_t columns = 0;
    uint16_t channels = 3;
    uint16_t depth = 8;
    uint16_t mode = 3;
    uint16_t version = 1;
    uint16_t compression = 0;
    Bytes resources;   // the image resources section, as stored
    Bytes layers;      // the layer and mask section, as stored
    Bytes data;        // planes, channel 0 first
};

// Sample of channel `c` at row `r`, column `x`.
using SampleFn = std::function<uint8_t(int c, int r, int x)>;
Bytes makePlanes(int32_t rows, int32_t columns, int channels, const SampleFn& sample);
Bytes buildPsd(const PsdParts& parts);
// An RGB PSD with the given samples, no resources and an empty layer section.
Bytes simplePsd(int32_t rows, int32_t columns, const SampleFn& sample, int channels = 3);
// A valid image resources section (one block) and layer section (no layers),
// the shapes other programs expect to find there.
Bytes sampleResources();
Bytes emptyLayerSection();
// Offset of the image data in a file built by buildPsd.
size_t psdDataStart(const PsdParts& parts);

// Samples of a PSD file's planes, from the file's own header.
struct PsdView {
    int32_t rows = 0, columns = 0, channels = 0;
    size_t dataStart = 0;
    Bytes bytes;
    uint8_t at(int c, int r, int x) const {
        return bytes[dataStart + size_t(c) * size_t(rows) * size_t(columns) + size_t(r) * size_t(columns) + size_t(x)];
    }
};
PsdView readPsdView(const std::string& path);

// The grayscale the library must write for one pixel: ((R x 0.333 + G x 0.333)
// + B x 0.333) + 0.5 in double precision, truncated, then the black level.
uint8_t referenceGray(int red, int green, int blue, int level);

// ImageMagick's convert, when installed (the stand-in some machines carry does
// not count).
std::optional<std::string> imageMagickConvert();
// Runs convert with the arguments; true on exit status 0.
bool magick(const std::string& arguments);
// Pixels of the first image of a file as ImageMagick reads them: 8-bit
// samples, interleaved, in `format` ("rgb" or "gray"). Empty when it fails.
Bytes magickPixels(const std::string& path, const std::string& format = "rgb");
// "WIDTHxHEIGHT" as ImageMagick sees the first image.
std::string magickSize(const std::string& path);

#define OSTREL_SKIP_WITHOUT_IMAGEMAGICK()                                                                \
    if (!::ostrel::test::imageMagickConvert())                                                           \
    GTEST_SKIP() << "ImageMagick is not installed (apt-get install imagemagick); peer comparison skipped"

}  // namespace ostrel::test
