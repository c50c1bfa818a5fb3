#include "tests/support/image_support.hpp"

#include <cstdio>
#include <filesystem>

namespace ostrel::test {
namespace {

void putU16be(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}
void putU32be(Bytes& out, uint32_t v) {
    putU16be(out, uint16_t(v >> 16));
    putU16be(out, uint16_t(v));
}
uint32_t loadU32be(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

Bytes runCapture(const std::string& command) {
    Bytes out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.insert(out.end(), chunk, chunk + got);
    if (pclose(pipe) != 0) out.clear();
    return out;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

Bytes makePlanes(int32_t rows, int32_t columns, int channels, const SampleFn& sample) {
    Bytes data;
    data.reserve(size_t(rows) * size_t(columns) * size_t(channels));
    for (int c = 0; c < channels; ++c)
        for (int r = 0; r < rows; ++r)
            for (int x = 0; x < columns; ++x) data.push_back(sample(c, r, x));
    return data;
}

Bytes buildPsd(const PsdParts& p) {
    Bytes out = {'8', 'B', 'P', 'S'};
    putU16be(out, p.version);
    out.insert(out.end(), 6, 0);
    putU16be(out, p.channels);
    putU32be(out, uint32_t(p.rows));
    putU32be(out, uint32_t(p.columns));
    putU16be(out, p.depth);
    putU16be(out, p.mode);
    putU32be(out, 0);
    putU32be(out, uint32_t(p.resources.size()));
    out.insert(out.end(), p.resources.begin(), p.resources.end());
    putU32be(out, uint32_t(p.layers.size()));
    out.insert(out.end(), p.layers.begin(), p.layers.end());
    putU16be(out, p.compression);
    out.insert(out.end(), p.data.begin(), p.data.end());
    return out;
}

size_t psdDataStart(const PsdParts& p) { return 30 + 4 + p.resources.size() + 4 + p.layers.size() + 2; }

Bytes simplePsd(int32_t rows, int32_t columns, const SampleFn& sample, int channels) {
    PsdParts parts;
    parts.rows = rows;
    parts.columns = columns;
    parts.channels = uint16_t(channels);
    parts.data = makePlanes(rows, columns, channels, sample);
    return buildPsd(parts);
}

Bytes sampleResources() {
    // "8BIM", resource id 1000, empty padded name, 4 bytes of data.
    Bytes out = {'8', 'B', 'I', 'M'};
    putU16be(out, 1000);
    putU16be(out, 0);
    putU32be(out, 4);
    putU32be(out, 0x01020304);
    return out;
}

Bytes emptyLayerSection() { return Bytes(8, 0); }

PsdView readPsdView(const std::string& path) {
    PsdView v;
    v.bytes = readFile(path);
    const Bytes& b = v.bytes;
    v.channels = b[12] << 8 | b[13];
    v.rows = int32_t(loadU32be(b, 14));
    v.columns = int32_t(loadU32be(b, 18));
    size_t at = 30;
    at += 4 + loadU32be(b, at);
    at += 4 + loadU32be(b, at);
    v.dataStart = at + 2;
    return v;
}

namespace {
// Stored through memory, so that x87 arithmetic rounds each step to double.
double rounded(double value) {
    volatile double stored = value;
    return stored;
}
}  // namespace

uint8_t referenceGray(int red, int green, int blue, int level) {
    const double sum = rounded(rounded(rounded(red * 0.333) + rounded(green * 0.333)) + rounded(blue * 0.333));
    int v = int(rounded(sum + 0.5));
    if (v > 255) v = 255;
    if (v == 255) return 255;
    if (v <= level) return 0;
    const int q = (level - 1) * (255 - v) / (255 - level);
    return uint8_t(v - q < 0 ? 0 : v - q);
}

std::optional<std::string> imageMagickConvert() {
#ifdef _WIN32
    return std::nullopt;   // the peer runs on the Linux builds only
#endif
    static const std::optional<std::string> found = []() -> std::optional<std::string> {
        for (const char* candidate : {"/usr/bin/convert", "convert"}) {
            if (std::string(candidate).front() == '/' && !std::filesystem::exists(candidate)) continue;
            Bytes version = runCapture(std::string(candidate) + " -version 2>/dev/null");
            std::string text(version.begin(), version.end());
            if (text.find("Version: ImageMagick") != std::string::npos) return std::string(candidate);
        }
        return std::nullopt;
    }();
    return found;
}

bool magick(const std::string& arguments) {
    auto convert = imageMagickConvert();
    if (!convert) return false;
    return std::system((*convert + " " + arguments + " 2>/dev/null").c_str()) == 0;
}

Bytes magickPixels(const std::string& path, const std::string& format) {
    auto convert = imageMagickConvert();
    if (!convert) return {};
    return runCapture(*convert + " " + quoted(path + "[0]") + " -depth 8 " + format + ":- 2>/dev/null");
}

std::string magickSize(const std::string& path) {
    auto convert = imageMagickConvert();
    if (!convert) return {};
    std::string identify = *convert;
    identify.replace(identify.rfind("convert"), 7, "identify");
    Bytes out = runCapture(identify + " -format '%wx%h' " + quoted(path + "[0]") + " 2>/dev/null");
    return std::string(out.begin(), out.end());
}

}  // namespace ostrel::test
