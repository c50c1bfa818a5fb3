// Every file-system call and every allocation an export call makes, failed one
// at a time: each scenario runs once to count them, then once per failed call
// k, each run in a forked child with a fresh library. Whatever fails, the
// export must answer one of its own codes (or succeed, with every output as
// a clean run writes it, where the failure does not matter), leave every
// existing file as it was unless it succeeded, leave no temporary file and no
// open descriptor behind, and afterwards work as a fresh library does.
//
// The power-cut test records the calls of each replacing and in-place export
// and checks that what it replaces reaches the disk in the right order.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "host/frame.hpp"
#include "tests/faults/interpose.hpp"
#include "tests/faults/scenarios.hpp"

// Exports of other builds are not linked in: weak, they resolve to null.
#define OSTREL_FAULT_PRAGMA(text) _Pragma(#text)
#define OSTREL_FAULT_WEAK(name, ...) OSTREL_FAULT_PRAGMA(weak name)
OSTREL_EXPORT_LIST(OSTREL_FAULT_WEAK)
#undef OSTREL_FAULT_WEAK

namespace ostrel::faults {
namespace {

namespace fs = std::filesystem;
using Export = float (*)(const char*, double, char*, int) noexcept;

Export exportNamed(const std::string& name) {
    static const std::map<std::string, Export> table = {
#define OSTREL_FAULT_ENTRY(name, ...) {#name, &::name},
        OSTREL_EXPORT_LIST(OSTREL_FAULT_ENTRY)
#undef OSTREL_FAULT_ENTRY
    };
    const auto found = table.find(name);
    return found == table.end() ? nullptr : found->second;
}

bool documented(const char* name, float answer) {
    const exports::Export* row = exports::findExport(name);
    return row && exports::meaningOf(*row, answer) != nullptr;
}

uint64_t environmentNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// ---- Messages from a child: numbers and strings in a byte string -----------------

struct Message {
    std::string bytes;
    size_t at = 0;
    void put(uint64_t v) { bytes.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void put(const std::string& s) {
        put(uint64_t(s.size()));
        bytes += s;
    }
    uint64_t number() {
        uint64_t v = 0;
        if (at + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + at, sizeof v);
        at += sizeof v;
        return v;
    }
    std::string text() {
        const size_t n = size_t(number());
        std::string s = at <= bytes.size() ? bytes.substr(at, n) : std::string();
        at += n;
        return s;
    }
};

// ---- A folder's contents ---------------------------------------------------------

struct Entry {
    bool folder = false;
    uint32_t mode = 0;
    uint64_t size = 0;
    uint64_t hash = 0;
    std::string bytes;   // kept for the start state only
    bool operator==(const Entry& o) const {
        return folder == o.folder && mode == o.mode && size == o.size && hash == o.hash;
    }
};
using Folder = std::map<std::string, Entry>;

uint64_t hashOf(const std::string& bytes) { return std::hash<std::string>{}(bytes); }

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Folder snapshot(const fs::path& root, bool keepBytes) {
    Folder folder;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        struct stat st;
        if (::lstat(item.path().c_str(), &st) != 0) continue;
        Entry e;
        e.folder = S_ISDIR(st.st_mode);
        e.mode = st.st_mode & 07777;
        if (!e.folder) {
            std::string bytes = readAll(item.path());
            e.size = bytes.size();
            e.hash = hashOf(bytes);
            if (keepBytes) e.bytes = std::move(bytes);
        }
        folder[fs::relative(item.path(), root).string()] = std::move(e);
    }
    return folder;
}

void put(Message& m, const Folder& folder) {
    m.put(folder.size());
    for (const auto& [path, e] : folder) {
        m.put(path);
        m.put(uint64_t(e.folder) | uint64_t(e.mode) << 1);
        m.put(e.size);
        m.put(e.hash);
    }
}

Folder takeFolder(Message& m) {
    Folder folder;
    for (uint64_t n = m.number(); n > 0; --n) {
        std::string path = m.text();
        Entry e;
        const uint64_t bits = m.number();
        e.folder = bits & 1;
        e.mode = uint32_t(bits >> 1);
        e.size = m.number();
        e.hash = m.number();
        folder[path] = e;
    }
    return folder;
}

void restore(const fs::path& root, const Folder& start) {
    fs::remove_all(root);
    fs::create_directories(root);
    for (const auto& [path, e] : start) {
        const fs::path at = root / path;
        if (e.folder) {
            fs::create_directories(at);
        } else {
            std::ofstream(at, std::ios::binary).write(e.bytes.data(), std::streamsize(e.bytes.size()));
        }
        ::chmod(at.c_str(), e.mode);
    }
}

bool isTemporaryName(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.size() == 14 && name.rfind(".~", 0) == 0 &&
           std::all_of(name.begin() + 2, name.end(), [](char c) { return std::isalnum(uint8_t(c)); });
}

std::set<std::string> openDescriptors() {
    std::set<std::string> open;
    for (const auto& item : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const fs::path target = fs::read_symlink(item.path(), error);
        if (!error && target.string().find("/proc/") == std::string::npos)
            open.insert(item.path().filename().string() + " -> " + target.string());
    }
    return open;
}

// ---- Running a scenario --------------------------------------------------------

// The scenario's files, made in the parent once, so each child only writes them.
struct Start {
    std::vector<std::pair<std::string, std::string>> files;   // path, bytes ("" path: a folder)
    std::vector<std::string> folders;
};

Start startOf(const Scenario& s) {
    static std::map<std::string, std::string> large;
    Start start;
    for (const std::string entry : s.files) {
        if (entry.back() == '/') {
            start.folders.push_back(entry);
            continue;
        }
        const size_t eq = entry.find('=');
        const std::string path = entry.substr(0, eq), source = entry.substr(eq + 1);
        if (source.rfind("large:", 0) == 0) {
            if (!large.count(source)) large[source] = fileSource(source, path);
            start.files.emplace_back(path, large[source]);
        } else {
            start.files.emplace_back(path, fileSource(source, path));
        }
    }
    return start;
}

struct Trial {
    const Scenario& scenario;
    const Start& start;
    fs::path root;

    std::string path(const char* arg) const {
        return arg && arg[0] == '/' ? root.string() + arg : std::string(arg ? arg : "");
    }
    // The answer and what the export left in memBlock; counted only in the
    // export itself when `counting`.
    std::pair<float, std::string> invoke(const Call& call, bool counting = false) const {
        const Export fn = exportNamed(call.name);
        if (!fn) return {NAN, std::string("no export ") + call.name};
        const std::string text = path(call.text);
        std::vector<char> mem(4096, '\0');
        if (call.mem) std::strncpy(mem.data(), path(call.mem).c_str(), mem.size() - 1);
        if (counting) resume();
        const float answer = fn(call.text ? text.c_str() : nullptr, call.value, call.mem ? mem.data() : nullptr,
                                call.mem ? int(mem.size()) : 0);
        if (counting) pause();
        return {answer, mem.data()};
    }
    std::string setUp(const std::vector<Call>& calls) const {
        std::string failed;
        for (const Call& call : calls)
            if (const float answer = invoke(call).first; !(answer >= 0))
                failed += std::string(call.name) + " answered " + std::to_string(answer) + "; ";
        return failed;
    }
    void makeFiles() const {
        fs::remove_all(root);
        fs::create_directories(root);
        for (const std::string& folder : start.folders) fs::create_directories(root / folder);
        for (const auto& [file, bytes] : start.files)
            std::ofstream(root / file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    // The export call, with the listing drained for OpenFolder: the answer and
    // a text of everything else it gave back.
    std::pair<float, std::string> exportCall(bool counting) const {
        auto [answer, mem] = invoke(scenario.call, counting);
        std::string result = mem;
        if ((scenario.flags & kDrainsListing) && answer == scenario.success) {
            std::set<std::string> names;
            for (;;) {
                const auto [more, name] = invoke({"GetFile", nullptr, 0, "/"}, counting);
                if (more != 0) {
                    // A listing that could not be read to its end says so: that
                    // is the call's answer.
                    if (more != -3 && documented("GetFile", more)) return {more, result};
                    if (more != -3) names.insert("GetFile answered " + std::to_string(more));
                    break;
                }
                names.insert(name);
            }
            for (const auto& name : names) result += "|" + name;
        }
        return {answer, result};
    }
    std::string probe() const {
        std::string result;
        for (const Call& call : scenario.probes) {
            const auto [answer, mem] = invoke(call);
            result += std::string(call.name) + "=" + std::to_string(answer) + " " + mem + "\n";
        }
        return result;
    }
};

// The clean run of a scenario.
struct Reference {
    float answer = 0;
    std::string result;
    Folder after;
    uint64_t calls = 0, allocations = 0;
    std::string kinds;   // of each counted file-system call
    std::string problem;
};

struct Outcome {
    float answer = 0;
    Fault fault;
    std::vector<std::string> problems;
};

// Runs `body` in a forked child under a time limit, and gives back what it sent.
bool inChild(const std::function<void(Message&)>& body, Message& out, std::string& death) {
    int channel[2];
    if (::pipe(channel) != 0) return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::alarm(unsigned(environmentNumber("OSTREL_FAULT_TIMEOUT", 30)));
        Message m;
        try {
            body(m);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "the harness failed in a child: %s\n", e.what());
            ::_exit(4);
        }
        for (size_t at = 0; at < m.bytes.size();) {
            const ssize_t n = ::write(channel[1], m.bytes.data() + at, m.bytes.size() - at);
            if (n <= 0) ::_exit(3);
            at += size_t(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[65536];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) out.bytes.append(buffer, size_t(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        death = WTERMSIG(status) == SIGALRM ? "hung (no answer within the time limit)"
                                            : std::string("crashed: ") + strsignal(WTERMSIG(status));
    else if (WEXITSTATUS(status) != 0)
        death = "child exited with status " + std::to_string(WEXITSTATUS(status));
    return death.empty();
}

void applyThreads(bool oneThread) {
    if (oneThread) ::setenv("OSTREL_THREADS", "1", 1);
}

Reference reference(const Trial& run, bool oneThread, bool record, std::vector<std::string>* powerCut);

// The power-cut rules over the recorded calls of one clean run.
std::vector<std::string> checkDurability(const Trial& run, const Folder& before);

Reference reference(const Trial& run, bool oneThread, bool record, std::vector<std::string>* powerCut) {
    Message m;
    std::string death;
    inChild(
        [&](Message& out) {
            applyThreads(oneThread);
            run.makeFiles();
            std::string problem = run.setUp(run.scenario.prepare);
            const Folder before = snapshot(run.root, false);
            problem += run.setUp(run.scenario.state);
            arm(Counting::FileSystem, 0, false, record);
            pause();
            auto [answer, result] = run.exportCall(true);
            disarm();
            result += run.probe();
            out.put(uint64_t(std::bit_cast<uint32_t>(answer)));
            out.put(result);
            put(out, snapshot(run.root, false));
            out.put(counted(Counting::FileSystem));
            out.put(counted(Counting::Allocation));
            std::string kinds;
            for (size_t i = 0; i < std::min<size_t>(counted(Counting::FileSystem), recordCapacity()); ++i)
                kinds += char(countedKind(i));
            out.put(kinds);
            out.put(problem);
            std::vector<std::string> order = record ? checkDurability(run, before) : std::vector<std::string>{};
            out.put(order.size());
            for (const auto& line : order) out.put(line);
        },
        m, death);
    Reference ref;
    ref.answer = std::bit_cast<float>(uint32_t(m.number()));
    ref.result = m.text();
    ref.after = takeFolder(m);
    ref.calls = m.number();
    ref.allocations = m.number();
    ref.kinds = m.text();
    ref.problem = death.empty() ? m.text() : death;
    for (uint64_t n = death.empty() ? m.number() : 0; n > 0; --n)
        if (powerCut) powerCut->push_back(m.text());
    return ref;
}

// Whether a call that failed could have been ignored with no harm: a success
// answer is then allowed, with every output as the clean run wrote it.
bool failureMatters(const Fault& f) {
    if (f.kind == Kind::Flush) return !f.onFolder;   // the folder's flush after a rename is not reported
    if (f.kind == Kind::Close) return f.onWritten;
    return false;
}

std::string describeEntry(const std::string& path, const Folder& folder) {
    const auto found = folder.find(path);
    if (found == folder.end()) return "missing";
    std::ostringstream text;
    text << (found->second.folder ? "folder" : "file") << " mode " << std::oct << found->second.mode << std::dec
         << ", " << found->second.size << " bytes";
    return text.str();
}

// Compares `after` with `expected`; the entries `allowed` accepts may instead
// be as they were in `before`.
void compareFolders(const Folder& after, const Folder& expected, const Folder& before, bool allowStart,
                    const char* what, std::vector<std::string>& problems) {
    std::set<std::string> names;
    for (const auto& [p, e] : after) names.insert(p);
    for (const auto& [p, e] : expected) names.insert(p);
    for (const std::string& p : names) {
        const auto a = after.find(p), x = expected.find(p), b = before.find(p);
        const bool same = a != after.end() && x != expected.end() ? a->second == x->second
                                                                  : (a == after.end()) == (x == expected.end());
        if (same) continue;
        const bool asStart = a != after.end() && b != before.end() ? a->second == b->second
                                                                   : (a == after.end()) == (b == before.end());
        if (allowStart && asStart) continue;
        problems.push_back(std::string(what) + ": " + p + " is " + describeEntry(p, after) + ", expected " +
                           describeEntry(p, expected));
    }
}

Outcome injectFault(const Trial& run, const Reference& ref, bool oneThread, Counting counting, uint64_t k,
                    bool second) {
    Message m;
    std::string death;
    inChild(
        [&](Message& out) {
            applyThreads(oneThread);
            std::vector<std::string> problems;
            const Scenario& s = run.scenario;
            run.makeFiles();
            run.setUp(s.prepare);
            const Folder before = snapshot(run.root, true);
            run.setUp(s.state);
            const auto descriptors = openDescriptors();
            arm(counting, k, second, false);
            pause();
            auto [answer, result] = run.exportCall(true);
            disarm();
            const Fault f = fault();
            const bool success = answer == s.success;
            const Folder after = snapshot(run.root, false);
            for (const auto& d : openDescriptors())
                if (!descriptors.count(d)) problems.push_back("a descriptor is left open: " + d);
            for (const auto& [p, e] : after)
                if (isTemporaryName(p)) problems.push_back("a temporary file is left: " + p);
            const bool listingFailed = (s.flags & kDrainsListing) && answer != 0 && documented("GetFile", answer);
            if (!success && !documented(s.call.name, answer) && !listingFailed)
                problems.push_back("answered " + std::to_string(answer) + ", not a code of " + s.call.name);
            if (success) {
                if (f.injected && failureMatters(f)) problems.push_back("answered success although the call failed");
                result += run.probe();
                if (result != ref.result) problems.push_back("gave back \"" + result + "\", not \"" + ref.result + "\"");
                // The narrow exceptions: a file EmptyFolder cannot remove stays; a
                // data file the project unpack cannot create is skipped.
                const bool mayKeep = ((s.flags & kIgnoresUndeletable) && (f.kind == Kind::Unlink || f.kind == Kind::Stat)) ||
                                     ((s.flags & kSkipsUncreatable) &&
                                      (f.kind == Kind::Open || f.kind == Kind::Stat || f.kind == Kind::Access ||
                                       f.kind == Kind::Read || f.kind == Kind::Permissions));
                // A package that left out a slot it could not open differs from
                // the clean one throughout; the files it replaced are checked
                // by the rerun below.
                const bool leftOut = (s.flags & kPassesOverUnopenable) && (f.kind == Kind::Open || f.kind == Kind::Stat);
                if (!(f.injected && leftOut))
                    compareFolders(after, ref.after, before, f.injected && mayKeep, "after success", problems);
            } else {
                // An output finished before the failure may stand, whole, where
                // the export writes several.
                auto finished = [&](const std::string& p) {
                    return (s.flags & kMultiOutput) && after.count(p) && ref.after.count(p) &&
                           after.at(p) == ref.after.at(p);
                };
                for (const auto& [p, e] : before)
                    if ((!after.count(p) || !(after.at(p) == e)) && !finished(p))
                        problems.push_back("after failure " + p + " is " + describeEntry(p, after) + ", was " +
                                           describeEntry(p, before));
                if (!(s.flags & kMultiOutput))
                    for (const auto& [p, e] : after)
                        if (!before.count(p)) problems.push_back("after failure a new " + p + " is left");
            }
            // The library afterwards: the same call on the same files answers
            // and writes what a fresh library does.
            restore(run.root, before);
            if (success) run.setUp(s.state);
            auto [again, againResult] = run.exportCall(false);
            againResult += run.probe();
            if (again != ref.answer)
                problems.push_back("called again it answers " + std::to_string(again) + ", a fresh library " +
                                   std::to_string(ref.answer));
            else if (againResult != ref.result)
                problems.push_back("called again it gives back \"" + againResult + "\"");
            compareFolders(snapshot(run.root, false), ref.after, before, false, "called again", problems);
            fs::remove_all(run.root);
            out.put(uint64_t(std::bit_cast<uint32_t>(answer)));
            out.bytes.append(reinterpret_cast<const char*>(&f), sizeof f);
            out.put(problems.size());
            for (const auto& p : problems) out.put(p);
        },
        m, death);
    Outcome o;
    if (!death.empty()) {
        o.problems.push_back(death);
        return o;
    }
    o.answer = std::bit_cast<float>(uint32_t(m.number()));
    std::memcpy(&o.fault, m.bytes.data() + m.at, sizeof o.fault);
    m.at += sizeof o.fault;
    for (uint64_t n = m.number(); n > 0; --n) o.problems.push_back(m.text());
    return o;
}

// Every k up to the cap, then a quarter of the cap's count spread evenly over
// the rest. A scenario with large files takes an eighth of the cap: each of
// its runs writes and reads megabytes.
std::vector<uint64_t> plan(uint64_t n, bool large) {
    const uint64_t cap = std::max<uint64_t>(1, environmentNumber("OSTREL_FAULT_CAP", 200) / (large ? 8 : 1));
    std::vector<uint64_t> ks;
    for (uint64_t k = 1; k <= std::min(n, cap); ++k) ks.push_back(k);
    if (n > cap) {
        const uint64_t extra = std::min(n - cap, std::max<uint64_t>(1, cap / 4));
        for (uint64_t i = 1; i <= extra; ++i) ks.push_back(cap + (n - cap) * i / extra);
    }
    return ks;
}

// Under OSTREL_FAULT_DIR, else in memory (/dev/shm) where there is one: the
// children write and read the scenario's files thousands of times.
fs::path scratchRoot() {
    const char* chosen = std::getenv("OSTREL_FAULT_DIR");
    std::error_code error;
    fs::path base = chosen && *chosen                       ? fs::path(chosen)
                    : fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                        ? fs::path("/dev/shm")
                        : fs::temp_directory_path();
    std::string pattern = (base / "ostrel-faults-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    return pattern;
}

struct Case {
    const Scenario* scenario;
    bool oneThread;
};

std::vector<Case> cases() {
    std::vector<Case> all;
    for (const Scenario& s : scenarios()) all.push_back({&s, false});
    for (const Scenario& s : scenarios()) all.push_back({&s, true});
    return all;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(info.param.scenario->id) + (info.param.oneThread ? "_OneThread" : "");
}

class EveryFault : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        base_ = scratchRoot();
        ASSERT_FALSE(base_.empty());
    }
    void TearDown() override { fs::remove_all(base_); }
    fs::path base_;
};

TEST_P(EveryFault, IsHandled) {
    const Scenario& s = *GetParam().scenario;
    const bool oneThread = GetParam().oneThread;
    const Start start = startOf(s);
    // One path for every child, so outputs that name paths compare equal.
    const Trial run{s, start, base_ / "w"};
    const Reference ref = reference(run, oneThread, false, nullptr);
    ASSERT_EQ(ref.problem, "") << s.id;
    ASSERT_EQ(ref.answer, s.success) << s.id << " answers " << ref.answer << " on a clean run";

    std::vector<std::string> failures;
    uint64_t injected = 0, handled = 0, runs = 0;
    auto inject = [&](Counting counting, uint64_t k, bool second) {
        ++runs;
        const Outcome o = injectFault(run, ref, oneThread, counting, k, second);
        if (o.fault.injected) ++injected;
        if (o.fault.injected && o.problems.empty()) ++handled;
        for (const auto& p : o.problems)
            failures.push_back(std::string(counting == Counting::Allocation ? "allocation" : "call") + " " +
                               std::to_string(k) + " (" + describe(o.fault) + "; answered " +
                               std::to_string(o.answer) + "): " + p);
    };
    for (uint64_t k : plan(ref.calls, s.flags & kLarge)) {
        inject(Counting::FileSystem, k, false);
        const Kind kind = k <= ref.kinds.size() ? Kind(ref.kinds[k - 1]) : Kind::Read;
        if (kind == Kind::Open || kind == Kind::Flush) inject(Counting::FileSystem, k, true);
    }
    for (uint64_t k : plan(ref.allocations, s.flags & kLarge)) inject(Counting::Allocation, k, false);

    std::printf("[ faults   ] %-26s %s: %5llu calls, %6llu allocations counted; %5llu faults injected, %5llu handled\n",
                s.id, oneThread ? "1 thread " : "threads  ", (unsigned long long)ref.calls,
                (unsigned long long)ref.allocations, (unsigned long long)injected, (unsigned long long)handled);
    EXPECT_GT(injected, 0u);
    std::string report;
    for (size_t i = 0; i < failures.size() && i < 40; ++i) report += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " problems in " << runs << " runs of " << s.id << ":\n"
                                  << report;
}

INSTANTIATE_TEST_SUITE_P(Exports, EveryFault, ::testing::ValuesIn(cases()), caseName);

// ---- Power cuts ------------------------------------------------------------------

std::string normalPath(std::string p) {
    for (size_t at; (at = p.find("//")) != std::string::npos;) p.erase(at, 1);
    for (size_t at; (at = p.find("/./")) != std::string::npos;) p.erase(at, 2);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string folderOf(const std::string& p) {
    const size_t slash = p.rfind('/');
    return slash == 0 ? "/" : p.substr(0, slash);
}

// Index of the first record after `from` (up to `end`) flushing `fd` while it
// is still the descriptor opened at `opened`; -1 when there is none.
long flushOf(const Record* r, long from, long end, int fd) {
    for (long i = from + 1; i < end; ++i) {
        if (r[i].fd != fd) continue;
        if (r[i].kind == Kind::Flush && r[i].result == 0) return i;
        if (r[i].kind == Kind::Close || r[i].kind == Kind::Open) return -1;
    }
    return -1;
}

long lastWrite(const Record* r, long opened, long end, int fd) {
    long last = opened;
    for (long i = opened + 1; i < end; ++i) {
        if (r[i].fd == fd && r[i].kind == Kind::Close) break;
        if (r[i].fd == fd && r[i].kind == Kind::Write && r[i].result >= 0) last = i;
    }
    return last;
}

std::vector<std::string> checkDurability(const Trial& run, const Folder& before) {
    std::vector<std::string> problems;
    const Record* r = records();
    const long n = long(std::min(recordCount(), recordCapacity()));
    if (recordCount() > recordCapacity()) problems.push_back("more calls than the record keeps");
    const std::string root = normalPath(run.root.string());
    auto relative = [&](const char* p) {
        const std::string full = normalPath(p);
        return full.rfind(root + "/", 0) == 0 ? full.substr(root.size() + 1) : full;
    };
    bool replaced = false;
    for (long i = 0; i < n; ++i) {
        if (r[i].kind != Kind::Rename || r[i].result != 0) continue;
        const std::string to = normalPath(r[i].path[1]);
        if (!before.count(relative(to.c_str()))) continue;
        replaced = true;
        const std::string from = normalPath(r[i].path[0]), name = relative(to.c_str());
        long opened = -1;
        for (long j = i - 1; j >= 0 && opened < 0; --j)
            if (r[j].kind == Kind::Open && r[j].result >= 0 && normalPath(r[j].path[0]) == from) opened = j;
        if (opened < 0) {
            problems.push_back(name + ": the file renamed over it was not opened in this call");
            continue;
        }
        const int fd = r[opened].fd;
        const long written = lastWrite(r, opened, i, fd);
        const long flushed = flushOf(r, written, i, fd);
        if (flushed < 0)
            problems.push_back(name + ": the new file is not flushed after its last write (" +
                               functionName(r[written].function) + ") and before the rename over the old one");
        bool folderFlushed = false;
        for (long j = i + 1; j < n && !folderFlushed; ++j) {
            if (r[j].kind != Kind::Flush || r[j].result != 0) continue;
            for (long o = j - 1; o >= 0; --o)
                if (r[o].kind == Kind::Open && r[o].fd == r[j].fd) {
                    folderFlushed = normalPath(r[o].path[0]) == folderOf(to) && flushOf(r, o, j + 1, r[j].fd) == j;
                    break;
                }
        }
        if (!folderFlushed) problems.push_back(name + ": its folder is not flushed after the rename");
    }
    if ((run.scenario.flags & kReplaces) && !replaced) problems.push_back("no rename over an existing file seen");
    const unsigned inPlace = run.scenario.flags & (kInPlaceText | kInPlaceMem);
    if (inPlace) {
        const std::string target = normalPath(run.path(inPlace == kInPlaceText ? run.scenario.call.text
                                                                               : run.scenario.call.mem).c_str());
        bool wrote = false;
        for (long o = 0; o < n; ++o) {
            if (r[o].kind != Kind::Open || r[o].result < 0 || normalPath(r[o].path[0]) != target ||
                (r[o].flags & O_ACCMODE) == O_RDONLY)
                continue;
            const long written = lastWrite(r, o, n, r[o].fd);
            if (written == o) continue;
            wrote = true;
            if (flushOf(r, written, n, r[o].fd) < 0)
                problems.push_back(relative(target.c_str()) + ": updated in place but not flushed after its last "
                                   "write and before it is closed");
        }
        if (!wrote) problems.push_back("no write to the file updated in place seen");
    }
    return problems;
}

std::vector<const Scenario*> durableScenarios() {
    std::vector<const Scenario*> all;
    for (const Scenario& s : scenarios())
        if (s.flags & (kReplaces | kInPlaceText | kInPlaceMem)) all.push_back(&s);
    return all;
}

class PowerCut : public ::testing::TestWithParam<const Scenario*> {};

TEST_P(PowerCut, WhatIsReplacedReachesTheDiskFirst) {
    const Scenario& s = *GetParam();
    const fs::path base = scratchRoot();
    ASSERT_FALSE(base.empty());
    const Start start = startOf(s);
    const Trial run{s, start, base / "w"};
    std::vector<std::string> problems;
    const Reference ref = reference(run, false, true, &problems);
    fs::remove_all(base);
    ASSERT_EQ(ref.problem, "");
    ASSERT_EQ(ref.answer, s.success);
    std::string report;
    for (const auto& p : problems) report += p + "\n";
    EXPECT_TRUE(problems.empty()) << s.id << ":\n" << report;
}

std::string scenarioName(const ::testing::TestParamInfo<const Scenario*>& info) { return info.param->id; }

INSTANTIATE_TEST_SUITE_P(Exports, PowerCut, ::testing::ValuesIn(durableScenarios()), scenarioName);

// ---- The interposed names are the ones the library calls --------------------------

TEST(Interposition, CoversEveryFileSystemAndAllocationCallOfTheLibrary) {
    std::set<std::string> interposed;
    for (const char* const* name = interposedNames(); *name; ++name) interposed.insert(*name);
    // The C names of the families the harness must see (each also with "64").
    const std::set<std::string> watched = {
        "open", "openat", "creat", "__open_2", "fopen", "opendir", "fdopendir", "read", "pread", "readv", "readlink",
        "readdir", "write", "pwrite", "writev", "stat", "fstat", "lstat", "fstatat", "statx", "close", "closedir",
        "fsync", "fdatasync", "sync_file_range", "syncfs", "rename", "renameat", "renameat2", "unlink", "unlinkat",
        "remove", "rmdir", "mkdir", "mkdirat", "truncate", "ftruncate", "chmod", "fchmod", "fchmodat", "chown",
        "fchown", "fchownat", "lseek", "access", "faccessat", "posix_fadvise", "posix_fallocate", "fallocate",
        "ioctl", "copy_file_range", "sendfile", "splice", "fcntl", "dup", "dup2", "dup3", "fread", "fwrite",
        "fclose", "fflush", "fputs", "fprintf", "mmap", "malloc", "calloc", "realloc", "aligned_alloc",
        "posix_memalign", "memalign", "pthread_create"};
    auto isWatched = [&](const std::string& name) {
        const bool sixtyFour = name.size() > 2 && name.compare(name.size() - 2, 2, "64") == 0;
        return watched.count(name) || (sixtyFour && watched.count(name.substr(0, name.size() - 2)));
    };
    std::set<std::string> seen;
    std::stringstream archives(OSTREL_FAULT_ARCHIVES);
    for (std::string archive; std::getline(archives, archive, '|');) {
        FILE* nm = ::popen(("nm -u --format=posix '" + archive + "' 2>/dev/null").c_str(), "r");
        ASSERT_NE(nm, nullptr);
        char line[4096];
        while (std::fgets(line, sizeof line, nm)) {
            std::string name = line;
            name = name.substr(0, name.find_first_of(" @\n"));
            if (isWatched(name)) seen.insert(name);
            if (name.rfind("_Znw", 0) == 0 || name.rfind("_Zna", 0) == 0) seen.insert("operator new");
        }
        ASSERT_EQ(::pclose(nm), 0) << "nm could not read " << archive;
    }
    EXPECT_TRUE(seen.count("open64") && seen.count("read") && seen.count("operator new")) << "nm output not understood";
    for (const std::string& name : seen) EXPECT_TRUE(interposed.count(name)) << "the library calls " << name;
}

}  // namespace
}  // namespace ostrel::faults
