// Tev to OBJ throughput on a mesh of 4M vertices with colours and 4M quads:
// MB/s of OBJ written and the ratio to a plain read of the Tev and write of
// the same number of bytes, both measured in the same run, and the peak
// memory of a child process that only converts, relative to the Tev's size. A second benchmark
// runs the same conversion with printf-style formatting into a stdio stream,
// as a side-by-side reference.
//
//   ostrel_tevobj_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/round_times.hpp"
#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_format.hpp"
#include "mesh/tev_to_obj_internal.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr uint32_t kVertices = 4'000'000, kQuads = 4'000'000;

struct Workspace {
    fs::path dir = fs::temp_directory_path() / ("ostrel-tevobj-bench-" + std::to_string(getpid()));
    std::string tev = (dir / "painted.tev").string();
    Workspace() {
        fs::create_directories(dir);
        writeTev();
    }
    ~Workspace() { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    // A 2000 x 2000 grid with coordinates of mixed magnitudes and colours.
    void writeTev() const {
        ostrel::OutputFile out;
        out.open(tev.c_str());
        out.write(ostrel::mesh::kTevHeader);
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagPoints, size_t(kVertices) * 12, kVertices);
        for (uint32_t v = 0; v < kVertices; ++v) {
            out.putF32le(float(v % 2000) * 0.0123f - 12.5f);
            out.putF32le(float(v / 2000) * 0.5f);
            out.putF32le(float(v % 977) * 1.7e-3f);
        }
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagColours, size_t(kVertices) * 4, kVertices);
        for (uint32_t v = 0; v < kVertices; ++v) out.putU32le(v * 2654435761u);
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagFaces, size_t(kQuads) * 16, kQuads);
        for (uint32_t f = 0; f < kQuads; ++f)
            for (uint32_t corner = 0; corner < 4; ++corner) out.putU32le((f + corner * 2000) % kVertices);
        ostrel::mesh::writeBlockHeader(out, 0, 0, 0);
        out.commit();
    }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

// Level 1: each base quad stands for four faces.
void setFaceIDs() {
    auto& ids = ostrel::mesh::meshState().faceID;
    ids.release();
    ids.reserveMore(kQuads / 4);
    uint32_t* out = ids.extendReserved(kQuads / 4);
    for (uint32_t i = 0; i < kQuads / 4; ++i) out[i] = 4;
}

double plainReadWriteSeconds(const std::string& input, size_t outputBytes, const std::string& output) {
    static std::vector<uint8_t> bytes;
    bytes.assign(outputBytes, 'v');
    auto start = Clock::now();
    bytes[0] = uint8_t(ostrel::readWholeFile(input.c_str())->size());
    ostrel::writeWholeFile(output.c_str(), bytes);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The reference: the same text produced with fprintf into a buffered stdio
// stream, the way a straightforward converter writes it.
void convertWithPrintf(const std::string& input, const std::string& output) {
    const auto tev = ostrel::readWholeFile(input.c_str());
    const uint8_t* b = tev->data();
    std::FILE* f = std::fopen(output.c_str(), "w");
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    const uint32_t n = ostrel::loadU32le(b + 40);
    std::fprintf(f, "# File exported by Kelmor plugin\n#Vertex count %u\n#Face count %u\n", n, kQuads);
    const uint8_t* p = b + 48;
    for (uint32_t i = 0; i < n; ++i, p += 12)
        std::fprintf(f, "v %g %g %g\n", double(ostrel::loadF32le(p)), double(ostrel::loadF32le(p + 4)),
                     double(ostrel::loadF32le(p + 8)));
    const uint32_t c = ostrel::loadU32le(p + 8);
    p += 16;
    std::fputs("# The following RGB block ...\n", f);
    for (uint32_t k = 0; k < c; ++k, p += 4) {
        if (k % 32 == 0) std::fputs("#RGB ", f);
        std::fprintf(f, " %02x%02x%02x", p[2], p[1], p[0]);
        if ((k + 1) % 32 == 0) std::fputc('\n', f);
    }
    std::fputs("\n# End of RGB block\n", f);
    const uint32_t faces = ostrel::loadU32le(p + 8);
    p += 16;
    for (uint32_t i = 0; i < faces; ++i, p += 16) {
        if (i % 4 == 0) std::fprintf(f, "#FaceID %u\n", i / 4 + 1);
        std::fprintf(f, "f %d %d %d %d\n", ostrel::loadI32le(p) + 1, ostrel::loadI32le(p + 4) + 1,
                     ostrel::loadI32le(p + 8) + 1, ostrel::loadI32le(p + 12) + 1);
    }
    std::fclose(f);
}

// Peak resident memory of a child that only converts, in bytes.
template <class Convert>
double convertPeakBytes(Convert convert, const std::string& input, const std::string& output) {
    pid_t child = fork();
    if (child == 0) {
        setFaceIDs();
        convert(input, output);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

template <class Convert>
void measure(benchmark::State& state, Convert convert, const char* outputName) {
    Workspace& w = workspace();
    const std::string output = w.path(outputName);
    // Measured first, while this process holds no large buffer a child would inherit.
    const double peak = convertPeakBytes(convert, w.tev, output);
    RoundTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        setFaceIDs();
        state.ResumeTiming();
        auto start = Clock::now();
        convert(w.tev, output);
        const double operation = std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        times.add(operation, plainReadWriteSeconds(w.tev, size_t(fs::file_size(output)), w.path("plain.bin")));
        state.ResumeTiming();
    }
    const double objBytes = double(fs::file_size(output));
    state.counters["OBJ MB/s"] = objBytes / 1e6 / (times.operation / double(state.iterations()));
    state.counters["x plain r+w"] = times.operation / times.plain;
    times.reportBest(state);
    state.counters["OBJ MB"] = objBytes / 1e6;
    state.counters["peak/input"] = peak / double(fs::file_size(w.tev));
}

void BM_TevToObj(benchmark::State& state) {
    measure(
        state,
        [&](const std::string& in, const std::string& out) {
            if (ostrel::mesh::writeOBJfromTev(in.c_str(), out.c_str()) != 0) state.SkipWithError("conversion failed");
        },
        "painted.obj");
}

void BM_TevToObjPrintfReference(benchmark::State& state) {
    measure(state, convertWithPrintf, "painted-printf.obj");
}

BENCHMARK(BM_TevToObj)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TevToObjPrintfReference)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
