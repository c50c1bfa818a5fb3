#pragma once
// PSD files as the image tools read and write them: version 1, no colour-mode
// data, raw image data. The header is parsed from the bytes before the image
// data (or the whole file in memory); every field and section length is
// checked against the bytes present and the file's length, so a short or
// lying file is refused before any pixel is touched.

#include <cstdint>
#include <span>

#include "core/file_io.hpp"

#include "core/result_codes.hpp"

namespace ostrel::image {

// Results of loading and parsing. -1 to -5 are the PSD codes the host knows
// (-5 is kOutputCannotWrite); -11 and -12 refuse files the operations could
// not address safely.
namespace psd {
inline constexpr float kCannotOpenOrNotPsd = -1;   // missing path, unreadable, or no "8BPS"
inline constexpr float kBadVersion = -2;           // version is not 1
inline constexpr float kColourModeData = -3;       // colour-mode data present (or, for grayscale, not RGB)
inline constexpr float kCompressed = -4;           // image data is not raw
inline constexpr float kSizeMismatch = -6;         // two files of different rows or columns
inline constexpr float kTooSmall = -9;             // fewer than 100 rows or columns
inline constexpr float kTruncated = -11;           // header, sections or planes run past the bytes present
inline constexpr float kNotRgb8 = -12;             // fewer than three channels, or depth other than 8
inline constexpr float kCannotUpdate = -201;       // in-place update failed
}  // namespace psd

// Byte offsets of the fixed header fields that operations rewrite.
inline constexpr size_t kPsdChannelsAt = 12;
inline constexpr size_t kPsdRowsAt = 14;
inline constexpr size_t kPsdColumnsAt = 18;
inline constexpr size_t kPsdModeAt = 24;
inline constexpr uint16_t kPsdModeGrayscale = 1;
inline constexpr uint16_t kPsdModeRgb = 3;

struct PsdHeader {
    int16_t version = 0;
    int16_t channels = 0;
    int32_t rows = 0;
    int32_t columns = 0;
    int16_t depth = 0;
    int16_t colourMode = 0;
    int32_t colourModeDataLength = 0;
    int32_t imageResourcesLength = 0;
    int32_t layerMaskLength = 0;
    int32_t compression = 0;
    // Offset of the first image data byte: the byte after the compression field.
    uint64_t dataStart = 0;

    // Samples in one plane; rows and columns are never negative after a
    // successful parse.
    uint64_t planeSize() const noexcept { return uint64_t(rows) * uint64_t(columns); }
};

// Parses the header of the file in `bytes`: 0, or -1 to -4, or kTruncated when
// a field or section lies past the end or the dimensions are negative.
float parsePsdHeader(std::span<const uint8_t> bytes, PsdHeader& header) noexcept;

// Three one-byte planes taken as red, green and blue, each planeSize bytes.
struct RgbPlanes {
    uint8_t* red;
    uint8_t* green;
    uint8_t* blue;
    uint64_t size;
};

// 0 when the file holds three 8-bit planes in full after its data start, else
// kNotRgb8 or kTruncated.
float checkRgbPlanes(const PsdHeader& header, uint64_t fileSize) noexcept;
RgbPlanes rgbPlanes(ByteBuffer& file, const PsdHeader& header) noexcept;

// A whole PSD file in memory with its parsed header.
struct PsdImage {
    ByteBuffer bytes;
    PsdHeader header;
};

// Reads the file whole and parses it; 0 or a parse code (-1 when the path is
// missing or cannot be read).
float loadPsd(const char* path, PsdImage& image);
// loadPsd followed by checkRgbPlanes.
float loadRgbPsd(const char* path, PsdImage& image);

// A PSD file opened to be read in slices: its bytes before the image data,
// the parsed header and the file's length. Operations that need each sample
// once, or only a few rows, read through it instead of loading the file, so
// they hold no memory in proportion to the image. The parse sees exactly the
// bytes a whole-file load would give it, so the answers are the same.
struct PsdSource {
    File file;
    ByteBuffer head;   // bytes [0, header.dataStart) as they are in the file
    PsdHeader header;
    uint64_t size = 0;

    // `count` samples of plane `plane` (0 to 2) from sample `first` on; false
    // when the file cannot give them all.
    bool readPlane(uint32_t plane, uint64_t first, uint8_t* to, size_t count);
    // The bytes after the three planes (further channels and anything else),
    // appended to `out` as they are; false on a read failure.
    bool copyTail(OutputFile& out);
};

// As loadPsd and loadRgbPsd, but reading only the header sections.
float openPsd(const char* path, PsdSource& source);
float openRgbPsd(const char* path, PsdSource& source);

// Samples per slice in the streaming operations: a few slices of three planes
// stay within the processor's caches.
inline constexpr size_t kPsdSlice = size_t(1) << 20;

// Replaces `path` with the buffer as it is: 0 or kCannotWrite.
float writeWholePsd(const char* path, const ByteBuffer& bytes);

// Big-endian patches of header fields inside a loaded file.
void patchShort(ByteBuffer& bytes, size_t at, uint16_t value) noexcept;
void patchLong(ByteBuffer& bytes, size_t at, uint32_t value) noexcept;

}  // namespace ostrel::image
