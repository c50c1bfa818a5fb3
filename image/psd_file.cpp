#include "image/psd_file.hpp"

#include <algorithm>
#include <cstring>

#include "core/byte_cursor.hpp"

namespace ostrel::image {
namespace {

constexpr uint8_t kSignature[4] = {'8', 'B', 'P', 'S'};
constexpr size_t kVersionAt = 4;
constexpr size_t kResourcesLengthAt = 30;

// Reads a big-endian section length at the cursor and skips the section. A
// negative length, or one that runs past the end, fails.
bool skipSection(ByteCursor& cursor, int32_t& length) noexcept {
    auto field = cursor.readU32be();
    if (!field) return false;
    length = static_cast<int32_t>(*field);
    return length >= 0 && cursor.skip(static_cast<size_t>(length));
}

}  // namespace

float parsePsdHeader(std::span<const uint8_t> bytes, PsdHeader& header) noexcept {
    ByteCursor cursor(bytes);
    auto signature = cursor.readBytes(sizeof kSignature);
    if (!signature) return psd::kTruncated;
    if (std::memcmp(signature->data(), kSignature, sizeof kSignature) != 0) return psd::kCannotOpenOrNotPsd;

    cursor.seek(kVersionAt);
    auto version = cursor.readU16be();
    if (!version) return psd::kTruncated;
    header.version = static_cast<int16_t>(*version);
    if (*version != 1) return psd::kBadVersion;

    if (!cursor.seek(kPsdChannelsAt)) return psd::kTruncated;
    auto channels = cursor.readU16be();
    auto rows = cursor.readU32be();
    auto columns = cursor.readU32be();
    auto depth = cursor.readU16be();
    auto mode = cursor.readU16be();
    auto modeDataLength = cursor.readU32be();
    // A failed read leaves fewer than four bytes, so the last, four-byte read
    // fails whenever any read before it did.
    if (!modeDataLength) return psd::kTruncated;
    header.channels = static_cast<int16_t>(*channels);
    header.rows = static_cast<int32_t>(*rows);
    header.columns = static_cast<int32_t>(*columns);
    header.depth = static_cast<int16_t>(*depth);
    header.colourMode = static_cast<int16_t>(*mode);
    header.colourModeDataLength = static_cast<int32_t>(*modeDataLength);
    if (header.colourModeDataLength != 0) return psd::kColourModeData;

    cursor.seek(kResourcesLengthAt);
    if (!skipSection(cursor, header.imageResourcesLength)) return psd::kTruncated;
    if (!skipSection(cursor, header.layerMaskLength)) return psd::kTruncated;
    auto compression = cursor.readU16be();
    if (!compression) return psd::kTruncated;
    header.compression = static_cast<int16_t>(*compression);
    if (header.compression != 0) return psd::kCompressed;
    if (header.rows < 0 || header.columns < 0) return psd::kTruncated;
    header.dataStart = cursor.position();
    return 0;
}

float checkRgbPlanes(const PsdHeader& header, uint64_t fileSize) noexcept {
    if (header.channels < 3 || header.depth != 8) return psd::kNotRgb8;
    // rows and columns are below 2^31, so three planes fit in 64 bits.
    if (!rangeFits(header.dataStart, 3 * header.planeSize(), fileSize)) return psd::kTruncated;
    return 0;
}

RgbPlanes rgbPlanes(ByteBuffer& file, const PsdHeader& header) noexcept {
    const uint64_t size = header.planeSize();
    uint8_t* red = file.data() + header.dataStart;
    return {red, red + size, red + 2 * size, size};
}

float loadPsd(const char* path, PsdImage& image) {
    auto bytes = readWholeFile(path);
    if (!bytes) return psd::kCannotOpenOrNotPsd;
    image.bytes = std::move(*bytes);
    return parsePsdHeader(image.bytes.bytes(), image.header);
}

float loadRgbPsd(const char* path, PsdImage& image) {
    if (float code = loadPsd(path, image)) return code;
    return checkRgbPlanes(image.header, image.bytes.size());
}

namespace {

// Grows `head` to the first `want` bytes of the file (fewer when the file is
// shorter); false on a read failure.
bool readHeadTo(File& file, uint64_t fileSize, uint64_t want, ByteBuffer& head) {
    want = std::min(want, fileSize);
    if (want <= head.size()) return true;
    ByteBuffer grown{size_t(want)};
    if (head.size()) std::memcpy(grown.data(), head.data(), head.size());
    if (!file.seek(head.size()) || !file.readExact(grown.data() + head.size(), size_t(want) - head.size())) return false;
    head = std::move(grown);
    return true;
}

}  // namespace

float openPsd(const char* path, PsdSource& source) {
    source.file = File::openInput(path);
    const auto size = source.file.size();
    if (!source.file.isOpen() || !size || *size > SIZE_MAX) return psd::kCannotOpenOrNotPsd;
    source.size = *size;
    source.head = ByteBuffer();
    // The fixed fields and the resources' length, then each section's length
    // field as the one before gives its place, then the compression field:
    // parsing stops asking once it answers anything but "truncated" or the
    // whole file is in, and never reads a section's contents twice.
    uint64_t want = kResourcesLengthAt + 4;
    for (int step = 0;; ++step) {
        if (!readHeadTo(source.file, source.size, want, source.head)) return psd::kCannotOpenOrNotPsd;
        const float code = parsePsdHeader(source.head.bytes(), source.header);
        if (code != psd::kTruncated || source.head.size() == source.size || step == 2) {
            // The last field read is the compression field: the head is
            // exactly the bytes before the image data.
            return code;
        }
        // The length field that ends the bytes read so far gives the next
        // section's size; a negative one is refused as the parse refuses it.
        const int32_t length = int32_t(loadU32be(source.head.data() + want - 4));
        if (length < 0) return psd::kTruncated;
        want += uint64_t(length) + (step == 0 ? 4 : 2);
    }
}

float openRgbPsd(const char* path, PsdSource& source) {
    if (float code = openPsd(path, source)) return code;
    return checkRgbPlanes(source.header, source.size);
}

bool PsdSource::readPlane(uint32_t plane, uint64_t first, uint8_t* to, size_t count) {
    return file.seek(header.dataStart + plane * header.planeSize() + first) && file.readExact(to, count);
}

bool PsdSource::copyTail(OutputFile& out) {
    const uint64_t tail = header.dataStart + 3 * header.planeSize();
    if (tail >= size) return true;
    return file.seek(tail) && out.writeFrom(file);
}

float writeWholePsd(const char* path, const ByteBuffer& bytes) {
    return writeWholeFile(path, bytes.bytes()) ? 0.0f : ostrel::kOutputCannotWrite;
}

void patchShort(ByteBuffer& bytes, size_t at, uint16_t value) noexcept { storeU16be(bytes.data() + at, value); }
void patchLong(ByteBuffer& bytes, size_t at, uint32_t value) noexcept { storeU32be(bytes.data() + at, value); }

}  // namespace ostrel::image
