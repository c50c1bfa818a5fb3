// Project store and file copy throughput on a gigabyte of data:
//  - a project written (header, references, 8 data files of 128 MiB) and
//    opened again into another folder, against a plain copy of the same bytes
//    there and back (read + write each way);
//  - FileCopyTo of a 1 GiB file against `cp` of the same file.
// Both are measured in the same run; peak memory of a child that only opens
// the project is reported relative to the project's size.
//
//   ostrel_project_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_io.hpp"
#include "platform/platform.hpp"
#include "project/project_file_internal.hpp"
#include "project/tpose.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kDataFiles = 8;
constexpr size_t kDataBytes = size_t(128) << 20;

struct Workspace {
    fs::path dir = fs::temp_directory_path() / ("ostrel-project-bench-" + std::to_string(getpid()));
    std::vector<std::string> data;
    Workspace() {
        fs::create_directories(dir / "open");
        fs::create_directories(dir / "plain");
        std::vector<uint8_t> bytes(kDataBytes);
        for (int i = 0; i < kDataFiles; ++i) {
            for (size_t b = 0; b < bytes.size(); b += 4096) bytes[b] = uint8_t(i + b);
            data.push_back((dir / (std::to_string(i + 1) + "X.dat")).string());
            ostrel::writeWholeFile(data.back().c_str(), bytes);
        }
    }
    ~Workspace() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void writeProject(const Workspace& w, const std::string& prj) {
    ostrel::project::clearTPoseList();
    for (uint32_t i = 1; i <= 20; ++i) ostrel::project::addTPoseRef(i, "pose", "information");
    ostrel::project::WritePrjFile(prj.c_str());
    for (const auto& file : w.data) ostrel::project::AddDatFile(file.c_str(), 0, prj.c_str());
}

void openProject(const Workspace& w, const std::string& prj) {
    ostrel::project::OpenProjectFile(prj.c_str(), w.path("open/target").c_str(),
                                     ostrel::project::ProjectLayout::Current);
}

// Peak resident memory of a child that only opens the project, in bytes.
double openPeakBytes(const Workspace& w, const std::string& prj) {
    pid_t child = fork();
    if (child == 0) {
        openProject(w, prj);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

// The same bytes copied plainly: each data file into the plain folder (the
// write) and back out of it (the open).
double plainCopySeconds(const Workspace& w) {
    auto start = Clock::now();
    for (int i = 0; i < kDataFiles; ++i) {
        const auto bytes = ostrel::readWholeFile(w.data[size_t(i)].c_str());
        ostrel::writeWholeFile(w.path("plain/in" + std::to_string(i)).c_str(), bytes->bytes());
    }
    for (int i = 0; i < kDataFiles; ++i) {
        const auto bytes = ostrel::readWholeFile(w.path("plain/in" + std::to_string(i)).c_str());
        ostrel::writeWholeFile(w.path("plain/out" + std::to_string(i)).c_str(), bytes->bytes());
    }
    return seconds(start);
}

void BM_ProjectWriteAndOpen(benchmark::State& state) {
    Workspace& w = workspace();
    const std::string prj = w.path("scene.prj");
    double operation = 0, plain = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        writeProject(w, prj);
        openProject(w, prj);
        operation += seconds(start);
        state.PauseTiming();
        plain += plainCopySeconds(w);
        state.ResumeTiming();
    }
    const double bytes = 2.0 * kDataFiles * double(kDataBytes);
    state.counters["MB/s"] = bytes / 1e6 / (operation / double(state.iterations()));
    state.counters["x plain copy"] = operation / plain;
    state.counters["open peak/project"] = openPeakBytes(w, prj) / double(fs::file_size(prj));
}

void BM_FileCopyTo(benchmark::State& state) {
    Workspace& w = workspace();
    // One 1 GiB source made of the data files.
    const std::string source = w.path("big.bin"), target = w.path("big-copy.bin"), cpTarget = w.path("big-cp.bin");
    if (!fs::exists(source)) {
        ostrel::OutputFile out;
        out.open(source.c_str());
        for (const auto& file : w.data) out.write(ostrel::readWholeFile(file.c_str())->bytes());
        out.commit();
    }
    const std::string cp = "cp '" + source + "' '" + cpTarget + "'";
    // Alike for both: the source is in the cache, each replaces a target of
    // its own in the same folder, and each starts with no write-back of the
    // other's gigabyte still pending (sync, untimed), which would otherwise
    // be charged to whichever copy runs next.
    double operation = 0, plain = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sync();
        state.ResumeTiming();
        auto start = Clock::now();
        if (!ostrel::copyFile(source.c_str(), target.c_str())) state.SkipWithError("copy failed");
        operation += seconds(start);
        state.PauseTiming();
        sync();
        start = Clock::now();
        if (std::system(cp.c_str()) != 0) state.SkipWithError("cp failed");
        plain += seconds(start);
        state.ResumeTiming();
    }
    state.counters["MB/s"] = double(fs::file_size(source)) / 1e6 / (operation / double(state.iterations()));
    state.counters["x cp"] = operation / plain;
}

BENCHMARK(BM_ProjectWriteAndOpen)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FileCopyTo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
