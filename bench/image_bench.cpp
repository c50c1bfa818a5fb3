// Image tools throughput on an 8192 x 8192 RGB PSD (about 200 MB), a
// 4096 x 4096 one (about 50 MB) and a 16384 x 1024 BMP; the argument of a
// PSD benchmark is the side. Each benchmark also times a plain read and write
// of the same bytes in the same run ("x plain r+w": every input read whole
// into an uninitialised buffer, and as many bytes as the operation wrote
// written from it), reports the memory a child process adds at its peak
// while doing the operation once, relative to the (first) input file
// ("peak/file"), and, where ImageMagick does a comparable job, how many times
// longer ImageMagick takes on the same file ("IM x slower"): at 4096 under
// Debian's own policy, at 8192 with the room that policy refuses.
//
// The inputs live in the temporary folder (TMPDIR): on a disk the write-back
// of hundreds of megabytes dominates every figure, so run it with TMPDIR on a
// memory file system (TMPDIR=/dev/shm) to see the operations themselves.
//
//   TMPDIR=/dev/shm ostrel_image_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "image/bmp_crop_internal.hpp"
#include "image/psd_ops_internal.hpp"
#include "image/thumbnail_internal.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr uint32_t kSide = 8192, kSmallSide = 4096;
constexpr uint32_t kBmpWidth = 16384, kBmpHeight = 1024;
constexpr int32_t kThumb = 512;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A texture with soft gradients and black gaps along a grid, as painted UV
// layouts have.
uint8_t textureSample(uint32_t plane, uint32_t r, uint32_t c, uint32_t seed) {
    if ((r + seed) % 97 < 3 || (c + seed) % 89 < 2) return 0;
    return uint8_t(16 + (r * (plane + 1) + c * (3 - plane) + seed * 31) % 230);
}

void writePsd(const std::string& path, uint32_t seed, uint32_t side = kSide) {
    ostrel::OutputFile out;
    out.open(path.c_str());
    uint8_t header[26] = {'8', 'B', 'P', 'S', 0, 1};
    ostrel::storeU16be(header + 12, 3);
    ostrel::storeU32be(header + 14, side);
    ostrel::storeU32be(header + 18, side);
    ostrel::storeU16be(header + 22, 8);
    ostrel::storeU16be(header + 24, 3);
    out.write(header, sizeof header);
    const uint8_t sections[14] = {};   // no mode data, resources or layers; raw data
    out.write(sections, sizeof sections);
    std::vector<uint8_t> row(side);
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (uint32_t r = 0; r < side; ++r) {
            for (uint32_t c = 0; c < side; ++c) row[c] = textureSample(plane, r, c, seed);
            out.write(row.data(), row.size());
        }
    out.commit();
}

void writeBmp(const std::string& path) {
    ostrel::OutputFile out;
    out.open(path.c_str());
    const uint32_t rowSize = kBmpWidth * 3, image = rowSize * kBmpHeight;
    uint8_t header[54] = {'B', 'M'};
    ostrel::storeU32le(header + 2, 54 + image);
    ostrel::storeU32le(header + 10, 54);
    ostrel::storeU32le(header + 14, 40);
    ostrel::storeU32le(header + 18, kBmpWidth);
    ostrel::storeU32le(header + 22, kBmpHeight);
    ostrel::storeU16le(header + 26, 1);
    ostrel::storeU16le(header + 28, 24);
    ostrel::storeU32le(header + 34, image);
    out.write(header, sizeof header);
    std::vector<uint8_t> row(rowSize);
    for (uint32_t r = 0; r < kBmpHeight; ++r) {
        for (uint32_t i = 0; i < rowSize; ++i) row[i] = uint8_t(r + i * 7);
        out.write(row.data(), row.size());
    }
    out.commit();
}

struct Workspace {
    fs::path dir = fs::temp_directory_path() / ("ostrel-image-bench-" + std::to_string(getpid()));
    std::string a = path("a.psd"), b = path("b.psd"), small = path("small.psd"), bmp = path("strip.bmp");
    Workspace() {
        fs::create_directories(dir);
        writeMagickPolicy();
        writePsd(a, 1);
        writePsd(b, 2);
        writePsd(small, 1, kSmallSide);
        writeBmp(bmp);
    }
    ~Workspace() { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    // Debian's ImageMagick policy caps the pixel cache at 256 MiB of memory
    // and 1 GiB of disk and images at 16000 pixels a side, which refuses the
    // grayscale of the 8192 x 8192 file and the 16384-wide BMP outright. The
    // comparison runs ImageMagick with room enough to work in memory.
    void writeMagickPolicy() const {
        fs::create_directories(dir / "magick");
        std::FILE* policy = std::fopen((dir / "magick" / "policy.xml").string().c_str(), "w");
        std::fputs("<policymap>\n"
                   "  <policy domain=\"resource\" name=\"memory\" value=\"8GiB\"/>\n"
                   "  <policy domain=\"resource\" name=\"map\" value=\"8GiB\"/>\n"
                   "  <policy domain=\"resource\" name=\"width\" value=\"64KP\"/>\n"
                   "  <policy domain=\"resource\" name=\"height\" value=\"64KP\"/>\n"
                   "  <policy domain=\"resource\" name=\"area\" value=\"1GP\"/>\n"
                   "  <policy domain=\"resource\" name=\"disk\" value=\"16GiB\"/>\n"
                   "</policymap>\n",
                   policy);
        std::fclose(policy);
    }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

size_t fileSize(const std::string& path) { return size_t(fs::file_size(path)); }

// Reads the inputs whole, each into an uninitialised buffer, and writes
// `outputBytes` of those bytes as a file, replacing the one the last call
// wrote: the floor of every operation here.
double plainReadWriteSeconds(const std::vector<std::string>& inputs, size_t outputBytes) {
    const auto start = Clock::now();
    std::vector<ostrel::ByteBuffer> read;
    for (const auto& input : inputs) read.push_back(std::move(*ostrel::readWholeFile(input.c_str())));
    ostrel::OutputFile out;
    out.open(workspace().path("plain.bin").c_str());
    for (size_t left = outputBytes; left > 0;)
        for (const auto& bytes : read) {
            const size_t n = std::min(left, bytes.size());
            out.write(bytes.data(), n);
            left -= n;
        }
    out.commit();
    return secondsSince(start);
}

// A field of /proc/self/status ("VmRSS", "VmHWM"), in bytes.
double statusBytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double kib = 0;
    const size_t length = std::strlen(field);
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') kib = std::strtod(line + length + 1, nullptr);
    if (status) std::fclose(status);
    return kib * 1024.0;
}

// Peak resident memory, in bytes, that a child running the operation once
// adds to what it started with (the pages it shares with this process).
double peakBytes(const std::function<void()>& operation) {
    int channel[2];
    if (pipe(channel) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        const double start = statusBytes("VmRSS");
        operation();
        const double added = statusBytes("VmHWM") - start;
        (void)!write(channel[1], &added, sizeof added);
        _exit(0);
    }
    double added = 0;
    (void)!read(channel[0], &added, sizeof added);
    int status = 0;
    waitpid(child, &status, 0);
    close(channel[0]);
    close(channel[1]);
    return added;
}

// Seconds ImageMagick takes for a command line, or 0 when it is not there or
// fails; under Debian's installed policy or the roomier one of the workspace.
double imageMagickSeconds(const std::string& arguments, bool debianPolicy) {
    if (std::system("/usr/bin/convert -version 2>/dev/null | grep -q 'Version: ImageMagick'") != 0) return 0;
    const auto start = Clock::now();
    const std::string policy = debianPolicy ? "" : "MAGICK_CONFIGURE_PATH='" + workspace().path("magick") + "' ";
    const int status = std::system((policy + "/usr/bin/convert " + arguments + " >/dev/null 2>&1").c_str());
    return status == 0 ? secondsSince(start) : 0;
}

struct Job {
    std::vector<std::string> inputs;     // files the operation reads
    std::function<std::string()> prepare;   // untimed setup; returns the output path
    std::function<float()> run;
    std::string magickArguments;         // empty: no comparable ImageMagick job
    bool debianPolicy = false;           // ImageMagick under Debian's policy
};

// Touches and frees `bytes` of memory, untimed, before each timed part. On
// a virtual machine the first touch of memory the system has not handed out
// for a while costs far more than a touch of memory just freed, so whichever
// part ran second would otherwise get the pages the first one freed: the
// operation and its floor each start with the same recently freed memory.
void settleMemory(size_t bytes) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes]);
    std::memset(block.get(), 1, bytes);
    benchmark::DoNotOptimize(block.get());
}

// Best of the iterations for the operation and for its floor, each timed
// after the same untimed preparation, in turns: the floor first in every
// other iteration, so neither always runs in the wake of the other. One
// untimed run first gives the output's size.
void measure(benchmark::State& state, const Job& job) {
    double operation = 1e30, plain = 1e30;
    size_t inputBytes = 0;
    for (const auto& input : job.inputs) inputBytes += fileSize(input);
    size_t outputBytes = fileSize([&] {
        const std::string output = job.prepare();
        job.run();
        return output;
    }());
    bool floorFirst = false;
    for (auto _ : state) {
        double thisRun = 0;
        for (int part = 0; part < 2; ++part) {
            const bool timeFloor = (part == 0) == floorFirst;
            job.prepare();
            settleMemory(inputBytes + inputBytes / 4);
            if (timeFloor) {
                plain = std::min(plain, plainReadWriteSeconds(job.inputs, outputBytes));
                continue;
            }
            const auto start = Clock::now();
            if (job.run() != 0) state.SkipWithError("operation failed");
            thisRun = secondsSince(start);
            operation = std::min(operation, thisRun);
        }
        floorFirst = !floorFirst;
        state.SetIterationTime(thisRun);
    }
    state.counters["ms"] = operation * 1e3;
    state.counters["MB/s"] = double(inputBytes + outputBytes) / 1e6 / operation;
    state.counters["x plain r+w"] = operation / plain;
    job.prepare();
    state.counters["peak/file"] = peakBytes([&] { job.run(); }) / double(fileSize(job.inputs.front()));
    if (!job.magickArguments.empty()) {
        const double magick = imageMagickSeconds(job.magickArguments, job.debianPolicy);
        if (magick > 0) state.counters["IM x slower"] = magick / operation;
    }
}

// The input of a one-file benchmark: the file of the side it is given.
const std::string& inputOf(const benchmark::State& state) {
    return state.range(0) == kSmallSide ? workspace().small : workspace().a;
}
bool debianPolicy(const benchmark::State& state) { return state.range(0) == kSmallSide; }

// A fresh copy of A (of the side given) for operations that change their file.
std::string freshCopy(const std::string& from = workspace().a) {
    Workspace& w = workspace();
    const std::string work = w.path("work.psd");
    fs::copy_file(from, work, fs::copy_options::overwrite_existing);
    return work;
}

void BM_Grayscale(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& in = inputOf(state);
    const std::string out = w.path("gray.psd");
    measure(state, {{in}, [&] { return out; }, [&] { return ostrel::image::grayscalePSD(in.c_str(), out.c_str(), 40); },
                    "'" + in + "' -colorspace Gray -compress None '" + w.path("im-gray.psd") + "'", debianPolicy(state)});
}

void BM_SwapColours(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& in = inputOf(state);
    const std::string work = freshCopy(in);
    measure(state, {{work}, [&] { return work; },
                    [&] { return ostrel::image::convertPSD(work.c_str(), 0, 16711680, ostrel::image::ConvertMode::Swap); },
                    "'" + in + "' -fill red -opaque black -compress None '" + w.path("im-swap.psd") + "'",
                    debianPolicy(state)});
}

void BM_Stencil(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& in = inputOf(state);
    const std::string work = freshCopy(in);
    measure(state, {{work}, [&] { return work; },
                    [&] { return ostrel::image::convertPSD(work.c_str(), 0, 255, ostrel::image::ConvertMode::Stencil); },
                    "'" + in + "' -fill blue +opaque black -compress None '" + w.path("im-stencil.psd") + "'",
                    debianPolicy(state)});
}

void BM_FixEdges(benchmark::State& state) {
    const std::string work = freshCopy();
    measure(state, {{work}, [&] { return freshCopy(); }, [&] { return ostrel::image::fixEdgesPSD(work.c_str()); }, ""});
}

void BM_Merge(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string work = freshCopy();
    measure(state, {{work, w.b}, [&] { return work; },
                    [&] { return ostrel::image::mergePSD(work.c_str(), w.b.c_str(), 0); }, ""});
}

void BM_HealEdges(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string work = freshCopy();
    measure(state, {{work, w.b}, [&] { return work; },
                    [&] { return ostrel::image::mergeSeamlessPSD(work.c_str(), w.b.c_str(), true); }, ""});
}

void BM_Thumbnail(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& in = inputOf(state);
    const std::string work = w.path("work.psd");
    measure(state, {{in}, [&] { return freshCopy(in); }, [&] { return ostrel::image::createThumb(work.c_str(), kThumb); },
                    "'" + in + "' -sample 512x512 -compress None '" + w.path("im-thumb.psd") + "'", debianPolicy(state)});
}

void BM_CropBmp(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string out = w.path("crop.bmp");
    measure(state, {{w.bmp}, [&] { return out; },
                    [&] { return ostrel::image::cropBMP(w.bmp.c_str(), out.c_str(), 4096, 8192); },
                    "'" + w.bmp + "' -crop 8192x1021+4096+2 +repage '" + w.path("im-crop.bmp") + "'"});
}

BENCHMARK(BM_Grayscale)->Arg(kSide)->Arg(kSmallSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_SwapColours)->Arg(kSide)->Arg(kSmallSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_Stencil)->Arg(kSide)->Arg(kSmallSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_FixEdges)->Arg(kSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_Merge)->Arg(kSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_HealEdges)->Arg(kSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_Thumbnail)->Arg(kSide)->Arg(kSmallSide)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_CropBmp)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
