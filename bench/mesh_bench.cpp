// Mesh interchange throughput: merging 8 Tev parts of 1M vertices and 1M quads
// (8 appends and one write), swap and align on 1M-vertex files, each of which
// really changes every vertex it may. Each benchmark also times a plain read
// and write of the same bytes in the same run and reports the ratio, and the
// peak memory of a child process that does only the operation, relative to
// the merged file's size or the Tev file's.
//
//   ostrel_mesh_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/round_times.hpp"
#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "mesh/mesh_buffers_internal.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/swap_align_internal.hpp"
#include "mesh/tev_format.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kParts = 8;
constexpr uint32_t kVertices = 1'000'000, kQuads = 1'000'000;

struct Workspace {
    fs::path dir = fs::temp_directory_path() / ("ostrel-bench-" + std::to_string(getpid()));
    std::vector<std::string> parts;
    std::string points[2];   // different positions, so every swap writes them all
    Workspace() {
        fs::create_directories(dir);
        for (int i = 0; i < kParts; ++i) parts.push_back(writePart(i));
        for (int i = 0; i < 2; ++i) {
            points[i] = (dir / ("part" + std::to_string(i) + ".Tvt")).string();
            writePoints(points[i], float(i + 1) * 1e-6f);
        }
    }
    ~Workspace() { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    std::string writePart(int index) const {
        std::string file = (dir / ("part" + std::to_string(index) + ".tev")).string();
        ostrel::OutputFile out;
        out.open(file.c_str());
        out.write(ostrel::mesh::kTevHeader);
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagPoints, size_t(kVertices) * 12, kVertices);
        for (uint32_t v = 0; v < kVertices; ++v) {
            out.putF32le(float(v % 1000) * 0.001f - 0.5f);
            out.putF32le(float(v / 1000) * 0.001f);
            out.putF32le(float(index));
        }
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagFaces, size_t(kQuads) * 16, kQuads);
        for (uint32_t f = 0; f < kQuads; ++f)
            for (uint32_t corner = 0; corner < 4; ++corner) out.putU32le((f + corner) % kVertices);
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagGroups, size_t(kQuads) * 2, kQuads);
        for (uint32_t f = 0; f < kQuads; ++f) out.putU16le(uint16_t(index + 1));
        ostrel::mesh::writeBlockHeader(out, 0, 0, 0);
        out.commit();
        return file;
    }
    void writePoints(const std::string& file, float step) const {
        ostrel::OutputFile out;
        out.open(file.c_str());
        ostrel::mesh::writeBlockHeader(out, ostrel::mesh::kTagPoints, size_t(kVertices) * 12, kVertices);
        for (uint32_t v = 0; v < kVertices * 3; ++v) out.putF32le(float(v) * step);
        out.commit();
    }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

// A plain read of the inputs and a write of `outputBytes` bytes: the floor
// each operation is measured against. The merge writes a new file; swap and
// align overwrite bytes of an existing one, so their floor does the same.
enum class PlainWrite { NewFile, InPlace };
double plainReadWriteSeconds(const std::vector<std::string>& inputs, size_t outputBytes, const std::string& output,
                             PlainWrite mode) {
    std::vector<uint8_t> bytes(outputBytes, 1);   // prepared outside the timed part
    if (mode == PlainWrite::InPlace && (!fs::exists(output) || fs::file_size(output) < outputBytes))
        ostrel::writeWholeFile(output.c_str(), bytes);
    auto start = Clock::now();
    size_t total = 0;
    for (const auto& input : inputs) total += ostrel::readWholeFile(input.c_str())->size();
    bytes[0] = uint8_t(total);
    if (mode == PlainWrite::NewFile) {
        ostrel::writeWholeFile(output.c_str(), bytes);
    } else {
        ostrel::File file = ostrel::File::openForUpdate(output.c_str());
        if (!file.seek(48) || !file.writeAll(bytes.data(), bytes.size())) std::abort();
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

size_t fileSize(const std::string& path) { return size_t(fs::file_size(path)); }

void merge(const std::string& output) {
    ostrel::mesh::clearTevVectors();
    int32_t offset = 0;
    for (const auto& part : workspace().parts) offset += int32_t(ostrel::mesh::AddTev(part.c_str(), offset, 0));
    ostrel::mesh::WriteTev(output.c_str());
}

// Peak resident memory of a child that only runs `operation`, in bytes.
// Heap memory this process has freed is given back first, so the child
// starts with none of it.
template <class Operation>
double childPeakBytes(Operation operation) {
    malloc_trim(0);
    pid_t child = fork();
    if (child == 0) {
        operation();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

// Puts the original positions back into a Tev file that align has snapped.
void restorePositions(const std::string& tev, const ostrel::ByteBuffer& original) {
    ostrel::File file = ostrel::File::openForUpdate(tev.c_str());
    if (!file.seek(0) || !file.writeAll(original.data(), original.size())) std::abort();
}

void reportRatio(benchmark::State& state, const RoundTimes& times, size_t bytes) {
    state.counters["MB/s"] = double(bytes) / 1e6 / (times.operation / double(state.iterations()));
    state.counters["x plain r+w"] = times.operation / times.plain;
    times.reportBest(state);
}

void BM_MergeEightParts(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string output = w.path("merged.tev");
    // Measured first, while this process holds no large buffer a child would inherit.
    const double peak = childPeakBytes([&] { merge(w.path("merged-child.tev")); });
    RoundTimes times;
    for (auto _ : state) {
        auto start = Clock::now();
        merge(output);
        const double operation = std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        times.add(operation,
                  plainReadWriteSeconds(w.parts, fileSize(output), w.path("plain.bin"), PlainWrite::NewFile));
        state.ResumeTiming();
    }
    const size_t merged = fileSize(output);
    size_t inputs = 0;
    for (const auto& part : w.parts) inputs += fileSize(part);
    reportRatio(state, times, inputs + merged);
    state.counters["peak/merged"] = peak / double(merged);
}

void BM_SwapVertices(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& tev = w.parts[0];
    const double peak = childPeakBytes([&] { ostrel::mesh::swapVerticesTev(tev.c_str(), w.points[1].c_str()); });
    RoundTimes times;
    size_t round = 0;
    for (auto _ : state) {
        const std::string& points = w.points[round++ % 2];
        auto start = Clock::now();
        if (ostrel::mesh::swapVerticesTev(tev.c_str(), points.c_str()) != 0) state.SkipWithError("swap failed");
        const double operation = std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        times.add(operation, plainReadWriteSeconds({tev, points}, size_t(kVertices) * 12, w.path("inplace.bin"),
                                                   PlainWrite::InPlace));
        state.ResumeTiming();
    }
    reportRatio(state, times, fileSize(tev) + fileSize(w.points[0]) + size_t(kVertices) * 12);
    state.counters["peak/tev"] = peak / double(fileSize(tev));
}

// Every vertex's x lies in [-0.5, 0.5): three in a thousand snap, spread over
// the whole payload, which is written back as a whole.
void BM_AlignVertices(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string& tev = w.parts[1];
    const double peak = childPeakBytes([&] { ostrel::mesh::alignVerticesTev(tev.c_str(), 0.001f, 1); });
    w.writePart(1);
    const ostrel::ByteBuffer original = std::move(*ostrel::readWholeFile(tev.c_str()));
    RoundTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        restorePositions(tev, original);
        state.ResumeTiming();
        auto start = Clock::now();
        if (ostrel::mesh::alignVerticesTev(tev.c_str(), 0.001f, 1) != 0) state.SkipWithError("align failed");
        const double operation = std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        times.add(operation,
                  plainReadWriteSeconds({tev}, size_t(kVertices) * 12, w.path("inplace.bin"), PlainWrite::InPlace));
        state.ResumeTiming();
    }
    restorePositions(tev, original);
    reportRatio(state, times, fileSize(tev) + size_t(kVertices) * 12);
    state.counters["peak/tev"] = peak / double(fileSize(tev));
}

BENCHMARK(BM_MergeEightParts)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_SwapVertices)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_AlignVertices)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
