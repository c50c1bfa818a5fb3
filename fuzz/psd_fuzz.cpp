// PSD reader: header parse and plane checks on arbitrary bytes, then the
// in-memory pixel passes on whatever the checks accept. The input's bytes are
// the file; nothing may be read or written outside them.

#include <cstdint>
#include <cstring>
#include <memory>

#include "image/psd_file.hpp"
#include "image/psd_ops_internal.hpp"
#include "image/thumbnail_internal.hpp"

using namespace ostrel;

namespace {

// Keeps each run quick: the passes are linear, so small images cover them.
constexpr uint64_t kMaxPixels = uint64_t(1) << 16;

void runPasses(uint8_t* bytes, size_t size, const image::PsdHeader& header) {
    ByteBuffer file(size);
    std::memcpy(file.data(), bytes, size);
    const image::RgbPlanes planes = image::rgbPlanes(file, header);
    image::fixEdgesPlanes(planes, uint32_t(header.rows), uint32_t(header.columns));
    const int32_t n = 1 + int32_t(size % 37);
    auto thumb = image::sampleThumbnail(planes, header.rows, header.columns, n);
    // Merging the file onto its own copy reads and writes every sample once.
    ByteBuffer other(size);
    std::memcpy(other.data(), bytes, size);
    image::mergePlanes(planes, image::rgbPlanes(other, header), float(thumb.red[0]));
    volatile uint8_t sink = thumb.blue[size_t(n) * size_t(n) - 1];
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A private copy of exactly `size` bytes, so that any overread is caught.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(copy.get(), data, size);
    image::PsdHeader header;
    // The in-place heal parses only the first 1000 bytes.
    image::parsePsdHeader({copy.get(), size < 1000 ? size : 1000}, header);
    if (image::parsePsdHeader({copy.get(), size}, header) != 0) return 0;
    if (image::checkRgbPlanes(header, size) != 0) return 0;
    if (header.planeSize() > kMaxPixels) return 0;
    runPasses(copy.get(), size, header);
    return 0;
}
