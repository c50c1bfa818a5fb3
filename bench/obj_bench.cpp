// OBJ tools throughput on a generated OBJ: a grid of side x side vertex, "vt"
// and "vn" lines and its quads written v/vt/vn, in 64 groups; side 2000
// makes about 600 MB, OSTREL_BENCH_GRID_SIDE=<side> another size (1414 about
// 0.3 GB, 3370 about 1.7 GB).
//
// Every operation runs in a child process, so that its peak memory is its
// own ("peak MiB", and "peak/input"); it is timed there. In the same run the
// parent times the floors and reports the ratio to each: `cat` copying the
// input to a file ("x cat copy") and reading it to /dev/null ("x cat
// null"), a plain read of the whole input into memory, then a write of as
// many bytes as the operation wrote ("x plain r+w"), and the input read
// through a small buffer while a second thread writes those bytes ("x
// streamed r+w"), which no two-core tool can beat. Further runs show how time
// grows with the file (a quarter-size file), what the number of groups costs
// (1 against 1000 groups), and how the reading compares with tinyobjloader
// loading the same file (when found). Each figure is the best of
// OSTREL_BENCH_REPETITIONS runs (3).
//
//   ostrel_obj_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/file_io.hpp"
#include "core/number_text.hpp"
#include "core/pod_buffer.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_rewrite_internal.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_small_tools.hpp"
#include "obj/obj_split.hpp"

#ifdef OSTREL_HAVE_TINYOBJLOADER
#include <tiny_obj_loader.h>
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace ostrel;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void putNumber(OutputFile& out, double value) {
    char text[kNumberTextMax];
    out.write(text, size_t(formatG6(text, value) - text));
}
void putIndex(OutputFile& out, uint64_t value) {
    char text[kNumberTextMax];
    out.write(text, size_t(formatInt(text, int64_t(value)) - text));
}

// A grid of side x side vertices, one "vt" and "vn" line per vertex, and its
// (side - 1)^2 quads in `groups` runs of whole rows.
struct GridObj {
    std::string path;
    uint32_t side;
    uint32_t groups;
    mutable bool written = false;

    // The grid's path, written first when it is not there yet.
    const std::string& file() const {
        if (!written) write();
        written = true;
        return path;
    }

    uint64_t groupOfRow(uint32_t row) const { return uint64_t(row) * groups / (side - 1); }

    void write() const {
        OutputFile out;
        out.open(path.c_str());
        out.write("# generated grid\nmtllib grid.mtl\n");
        for (uint32_t row = 0; row < side; ++row)
            for (uint32_t col = 0; col < side; ++col) {
                out.write("v ");
                putNumber(out, col * 0.00137);
                out.put(' ');
                putNumber(out, row * 0.00071);
                out.put(' ');
                putNumber(out, ((row * 7 + col * 3) % 1000) * 0.0001);
                out.put('\n');
            }
        for (uint32_t row = 0; row < side; ++row)
            for (uint32_t col = 0; col < side; ++col) {
                out.write("vt ");
                putNumber(out, double(col) / side);
                out.put(' ');
                putNumber(out, double(row) / side);
                out.put('\n');
            }
        for (uint32_t i = 0; i < side * side; ++i) out.write(i % 2 ? "vn 0 0.6 0.8\n" : "vn 0.28 0 0.96\n");
        for (uint32_t row = 0; row + 1 < side; ++row) {
            if (row == 0 || groupOfRow(row) != groupOfRow(row - 1)) {
                out.write("g part");
                putIndex(out, groupOfRow(row));
                out.write("\nusemtl m\n");
            }
            for (uint32_t col = 0; col + 1 < side; ++col) {
                const uint64_t a = uint64_t(row) * side + col + 1;
                const uint64_t corners[4] = {a, a + 1, a + side + 1, a + side};
                out.put('f');
                for (uint64_t c : corners) {
                    out.put(' ');
                    putIndex(out, c);
                    out.put('/');
                    putIndex(out, c);
                    out.put('/');
                    putIndex(out, c);
                }
                out.put('\n');
            }
        }
        out.commit();
    }
};

uint32_t environmentNumber(const char* name, uint32_t otherwise) {
    const char* text = std::getenv(name);
    const long value = text ? std::strtol(text, nullptr, 10) : 0;
    return value > 0 ? uint32_t(value) : otherwise;
}
uint32_t gridSide() { return std::max<uint32_t>(2, environmentNumber("OSTREL_BENCH_GRID_SIDE", 2000)); }

struct Workspace {
    fs::path dir = fs::temp_directory_path() / ("ostrel-obj-bench-" + std::to_string(getpid()));
    GridObj main{(dir / "grid64.obj").string(), gridSide(), 64};
    GridObj quarter{(dir / "quarter64.obj").string(), 1000, 64};
    GridObj oneGroup{(dir / "quarter1.obj").string(), 1000, 1};
    GridObj thousandGroups{(dir / "quarter1000.obj").string(), 1000, 999};
    std::string positions = (dir / "positions.obj").string();

    Workspace() {
        fs::create_directories(dir);
        main.file();
        writePositions();
    }
    ~Workspace() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    // The host's positions file for the figure export: every vertex line of
    // the grid (all of them are used by its faces).
    void writePositions() const {
        auto input = readWholeFile(main.path.c_str());
        OutputFile out;
        out.open(positions.c_str());
        const std::string_view text(reinterpret_cast<const char*>(input->data()), input->size());
        obj::forEachLine(text, [&](std::string_view line) {
            if (obj::isVertexLine(line)) obj::writeLine(out, line);
        });
        out.commit();
    }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

uint64_t bytesUnder(const fs::path& path) {
    if (fs::is_regular_file(path)) return fs::file_size(path);
    uint64_t total = 0;
    if (fs::is_directory(path))
        for (const auto& entry : fs::recursive_directory_iterator(path))
            if (entry.is_regular_file()) total += entry.file_size();
    return total;
}

struct ChildRun {
    double seconds = 0;
    double peakBytes = 0;
    bool ok = false;
};

// Runs `operation` in a child process; its time is measured there, its peak
// resident memory comes back from the kernel.
ChildRun runInChild(const std::function<bool()>& operation) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        auto start = Clock::now();
        bool ok = operation();
        double seconds = ok ? secondsSince(start) : -1.0;
        ssize_t written = ::write(pipeEnds[1], &seconds, sizeof seconds);
        _exit(written == sizeof seconds ? 0 : 1);
    }
    close(pipeEnds[1]);
    ChildRun run;
    double seconds = -1;
    ssize_t got = ::read(pipeEnds[0], &seconds, sizeof seconds);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.ok = got == sizeof seconds && seconds >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.seconds = seconds;
    run.peakBytes = double(usage.ru_maxrss) * 1024.0;
    return run;
}

// The floor: reading the inputs whole into memory, then writing
// `outputBytes` new bytes.
double plainReadWriteSeconds(const std::vector<std::string>& inputs, uint64_t outputBytes) {
    const std::string target = workspace().path("plain.bin");
    std::vector<char> chunk(size_t(1) << 20, 'x');
    auto start = Clock::now();
    size_t total = 0;
    for (const auto& input : inputs) total += readWholeFile(input.c_str())->size();
    std::FILE* file = std::fopen(target.c_str(), "wb");
    chunk[0] = char(total);
    for (uint64_t left = outputBytes; left > 0;) {
        size_t n = size_t(std::min<uint64_t>(left, chunk.size()));
        std::fwrite(chunk.data(), 1, n, file);
        left -= n;
    }
    std::fclose(file);
    double seconds = secondsSince(start);
    fs::remove(target);
    return seconds;
}

// A stricter floor for tools that stream: every input read through one
// reused 1 MiB buffer (no whole-file memory to fault in) while a second
// thread writes `outputBytes`. No tool that reads all of its input and writes
// its output on two cores can beat it.
double streamedReadWriteSeconds(const std::vector<std::string>& inputs, uint64_t outputBytes) {
    const std::string target = workspace().path("plain.bin");
    auto start = Clock::now();
    std::thread writer([&] {
        std::vector<char> chunk(size_t(1) << 20, 'x');
        std::FILE* file = std::fopen(target.c_str(), "wb");
        for (uint64_t left = outputBytes; left > 0;) {
            size_t n = size_t(std::min<uint64_t>(left, chunk.size()));
            std::fwrite(chunk.data(), 1, n, file);
            left -= n;
        }
        std::fclose(file);
    });
    std::vector<char> chunk(size_t(1) << 20);
    for (const auto& input : inputs) {
        File file = File::openInput(input.c_str());
        while (file.readSome(chunk.data(), chunk.size()).value_or(0) > 0) {
        }
    }
    writer.join();
    double seconds = secondsSince(start);
    fs::remove(target);
    return seconds;
}

// `cat` of the inputs into a new file, or to /dev/null.
double catSeconds(const std::vector<std::string>& inputs, bool toNull) {
    const std::string target = toNull ? std::string("/dev/null") : workspace().path("cat.out");
    auto start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || dup2(out, 1) < 0) _exit(127);
        std::vector<char*> args{const_cast<char*>("cat")};
        for (const auto& input : inputs) args.push_back(const_cast<char*>(input.c_str()));
        args.push_back(nullptr);
        execvp("cat", args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    double seconds = secondsSince(start);
    if (!toNull) fs::remove(target);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

struct Operation {
    std::vector<std::string> inputs;
    std::string output;                 // file or folder whose bytes were written
    std::function<void()> prepare;      // untimed, before each run
    std::function<bool()> run;
};

void measure(benchmark::State& state, const Operation& op) {
    double plain = 0;
    for (auto _ : state) {
        if (op.prepare) op.prepare();
        uint64_t inputBytes = 0;
        for (const auto& input : op.inputs) inputBytes += fs::file_size(input);
        // The disk's pending writes of earlier runs are flushed first, so that
        // neither timing pays for the other's.
        ::sync();
        ChildRun run = runInChild(op.run);
        if (!run.ok) {
            state.SkipWithError("operation failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        const uint64_t outputBytes = bytesUnder(op.output);
        ::sync();
        plain = plainReadWriteSeconds(op.inputs, outputBytes);
        ::sync();
        const double streamed = streamedReadWriteSeconds(op.inputs, outputBytes);
        ::sync();
        const double catCopy = catSeconds(op.inputs, false);
        ::sync();
        const double catNull = catSeconds(op.inputs, true);
        state.counters["x cat copy"] = run.seconds / catCopy;
        state.counters["x cat null"] = run.seconds / catNull;
        state.counters["peak MiB"] = run.peakBytes / double(1 << 20);
        state.counters["MB/s"] = double(inputBytes + outputBytes) / 1e6 / run.seconds;
        state.counters["x plain r+w"] = run.seconds / plain;
        state.counters["x streamed r+w"] = run.seconds / streamed;
        state.counters["peak/input"] = run.peakBytes / double(inputBytes);
        state.counters["input MB"] = double(inputBytes) / 1e6;
    }
}

// A fresh, empty output folder; returns it with a trailing "/". The last
// run's folder is moved aside, not deleted: deleting a thousand files on a
// file system mounted with discard stalls the file creations that follow,
// which would charge the next run for this one's clean-up.
std::string freshFolder(const std::string& name) {
    static int moved = 0;
    const std::string folder = workspace().path(name);
    if (fs::exists(folder)) fs::rename(folder, workspace().path("old-" + std::to_string(++moved)));
    fs::create_directories(folder);
    return folder + "/";
}

void groupListByRows(const GridObj& grid) {
    obj::resetGroupListState();
    for (uint32_t g = 0; g < grid.groups; ++g) {
        uint64_t firstRow = (uint64_t(g) * (grid.side - 1) + grid.groups - 1) / grid.groups;
        uint64_t endRow = (uint64_t(g + 1) * (grid.side - 1) + grid.groups - 1) / grid.groups;
        obj::addToGroupsList("part" + std::to_string(g), int32_t((endRow - firstRow) * (grid.side - 1)));
    }
}

Operation splitObj(const GridObj& grid, const std::string& name) {
    const std::string folder = workspace().path(name);
    return {{grid.file()}, folder, [name] { freshFolder(name); },
            [grid, folder] { return obj::LeanSplitOBJ(grid.path.c_str(), (folder + "/").c_str()) == 0; }};
}

void BM_SplitOBJ(benchmark::State& state) { measure(state, splitObj(workspace().main, "split")); }

void BM_ListSplitOBJtoOBJ(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    const std::string folder = workspace().path("listsplit");
    measure(state, {{grid.path}, folder,
                    [&grid] {
                        freshFolder("listsplit");
                        groupListByRows(grid);
                    },
                    [&grid, folder] { return obj::ListSplitOBJ(grid.path.c_str(), (folder + "/").c_str()) == 0; }});
}

void BM_SplitOBJtoTev(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    const std::string folder = workspace().path("points");
    measure(state, {{grid.path}, folder, [] { freshFolder("points"); },
                    [&grid, folder] { return obj::LeanSplitTev(grid.path.c_str(), (folder + "/").c_str()) == 0; }});
}

void BM_SwapVertices(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    const std::string a = workspace().path("swap_a.obj");
    measure(state, {{a, grid.path}, a, [&grid, a] { fs::copy_file(grid.path, a, fs::copy_options::overwrite_existing); },
                    [&grid, a] { return obj::LeanSwapVerts(a.c_str(), grid.path.c_str()) == 0; }});
}

void BM_PoserExportOBJ(benchmark::State& state) {
    const Workspace& w = workspace();
    const std::string p = w.path("posed.obj");
    measure(state, {{w.main.path, p}, p,
                    [&w, p] { fs::copy_file(w.positions, p, fs::copy_options::overwrite_existing); },
                    [&w, p] { return obj::OutKelmorOBJ(w.main.path.c_str(), p.c_str()) == 0; }});
}

void BM_AppendOBJ(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    const std::string target = workspace().path("appended.obj");
    measure(state, {{grid.path}, target,
                    [target] {
                        fs::remove(target);
                        obj::resetGroupListState();
                    },
                    [&grid, target] { return obj::LeanAddGroupOBJ(grid.path.c_str(), 0, target.c_str()) >= 0; }});
}

void BM_ScaleUVs(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    const std::string out = workspace().path("scaled.obj");
    // A new output each time, as `cat` writes: replacing one would add its
    // flush to the disk.
    measure(state, {{grid.path}, out, [out] { fs::remove(out); },
                    [&grid, out] { return obj::scaleUVs(grid.path.c_str(), 0.5, out.c_str()) == 0; }});
}

// Growth with the file, and the cost of many groups: the same split on a
// quarter-size file with 64, 1 and 999 groups.
void BM_SplitOBJ_QuarterFile(benchmark::State& state) { measure(state, splitObj(workspace().quarter, "q64")); }
void BM_SplitOBJ_QuarterOneGroup(benchmark::State& state) { measure(state, splitObj(workspace().oneGroup, "q1")); }
void BM_SplitOBJ_QuarterThousandGroups(benchmark::State& state) {
    measure(state, splitObj(workspace().thousandGroups, "q1000"));
}

// Reading alone, side by side with tinyobjloader: the whole file loaded and
// every vertex position and face parsed.
void BM_ReadOstrel(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    measure(state, {{grid.path}, workspace().path("none"), nullptr, [&grid] {
                        StreamedInput input;
                        if (!input.open(grid.path.c_str())) return false;
                        PodBuffer<float> positions;
                        obj::GroupedObj scanned = obj::scanGroupedFaces(
                            input, true, [&](std::string_view line) {
                                positions.reserveMore(3);
                                obj::readFloats(obj::lineBody(line), positions.extendReserved(3), 3);
                            });
                        return input.finish() && scanned.scan.verdict(-1.0f) == 0 && scanned.scan.vertexLines == uint64_t(grid.side) * grid.side;
                    }});
}

// Other builds and tests share the machine: each figure is the best of three
// single runs.
void bestOfThree(benchmark::internal::Benchmark* b) {
    const int repetitions = int(environmentNumber("OSTREL_BENCH_REPETITIONS", 3));
    b->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime()->Repetitions(repetitions)->ReportAggregatesOnly(true);
    b->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

#ifdef OSTREL_HAVE_TINYOBJLOADER
void BM_ReadTinyobjloader(benchmark::State& state) {
    const GridObj& grid = workspace().main;
    measure(state, {{grid.path}, workspace().path("none"), nullptr, [&grid] {
                        tinyobj::attrib_t attrib;
                        std::vector<tinyobj::shape_t> shapes;
                        std::vector<tinyobj::material_t> materials;
                        std::string warn, err;
                        tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, grid.path.c_str(), nullptr,
                                         false);
                        return attrib.vertices.size() == size_t(grid.side) * grid.side * 3;
                    }});
}
BENCHMARK(BM_ReadTinyobjloader)->Apply(bestOfThree);
#endif

BENCHMARK(BM_ReadOstrel)->Apply(bestOfThree);
BENCHMARK(BM_SplitOBJ)->Apply(bestOfThree);
BENCHMARK(BM_ListSplitOBJtoOBJ)->Apply(bestOfThree);
BENCHMARK(BM_SplitOBJtoTev)->Apply(bestOfThree);
BENCHMARK(BM_SwapVertices)->Apply(bestOfThree);
BENCHMARK(BM_PoserExportOBJ)->Apply(bestOfThree);
BENCHMARK(BM_AppendOBJ)->Apply(bestOfThree);
BENCHMARK(BM_ScaleUVs)->Apply(bestOfThree);
BENCHMARK(BM_SplitOBJ_QuarterFile)->Apply(bestOfThree);
BENCHMARK(BM_SplitOBJ_QuarterOneGroup)->Apply(bestOfThree);
BENCHMARK(BM_SplitOBJ_QuarterThousandGroups)->Apply(bestOfThree);

}  // namespace

BENCHMARK_MAIN();
