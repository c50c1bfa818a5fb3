// The names the built library exports are exactly the table's exports of this
// build (Linux, macOS, or the Windows build the test runs in), and each answers
// a null text or memBlock as the table says; every frame's own checks hold
// before any worker runs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/export_table.hpp"
#include "tests/support/test_support.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using namespace ostrel::exports;

#if defined(_WIN64)
constexpr Build kThisBuild = kWin64;
#elif defined(_WIN32)
constexpr Build kThisBuild = kWin32;
#elif defined(__APPLE__)
constexpr Build kThisBuild = kMac;
#else
constexpr Build kThisBuild = kLinux;
#endif

std::set<std::string> tableNames() {
    std::set<std::string> names;
    for (const Export& e : kExports)
        if (e.builds & kThisBuild) names.insert(e.name);
    return names;
}

#ifdef _WIN32
// The names in the loaded DLL's export directory, as the host's lookup sees them.
std::set<std::string> exportedNames() {
    std::set<std::string> names;
    const auto* base = reinterpret_cast<const unsigned char*>(LoadLibraryA(OSTREL_LIBRARY_PATH));
    if (!base) return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    return names;
}
#else
// The global text symbols the library defines, as nm lists them: the dynamic
// symbol table of an ELF file; the external symbols of a Mach-O file, whose C
// names carry a leading underscore that dlsym does not take.
std::set<std::string> exportedNames() {
    std::set<std::string> names;
#ifdef __APPLE__
    std::string command = std::string("nm -gU ") + OSTREL_LIBRARY_PATH;
    constexpr std::string_view kCPrefix = "_";
#else
    std::string command = std::string("nm -D --defined-only ") + OSTREL_LIBRARY_PATH;
    constexpr std::string_view kCPrefix = "";
#endif
    FILE* pipe = popen(command.c_str(), "r");
    char line[512];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) != 3 || std::string(type) != "T") continue;
        const std::string_view symbol(name);
        names.insert(std::string(symbol.substr(symbol.starts_with(kCPrefix) ? kCPrefix.size() : 0)));
    }
    if (pipe) pclose(pipe);
    return names;
}
#endif

TEST(ExportTable, LibraryExportsExactlyTheBuiltNamesOfThisBuild) {
    EXPECT_EQ(exportedNames(), tableNames());
}

// --list names exactly this build's exports, each with its purpose; --help
// prints an export's section with every code the table gives it.
TEST(HostDriver, ListsTheLibrarysExportsAndPrintsTheirSections) {
    const ostrel::test::HostRun list = ostrel::test::runHost("", "--list");
    ASSERT_EQ(list.status, 0);
    size_t lines = 0;
    for (char c : list.output) lines += c == '\n';
    EXPECT_EQ(lines, tableNames().size());
    for (const Export& e : kExports) {
        const bool listed = list.output.find(std::string(e.name) + " ") != std::string::npos &&
                            list.output.find(e.about.purpose) != std::string::npos;
        EXPECT_EQ(listed, (e.builds & kThisBuild) != 0) << e.name;
    }
    for (const char* name : {"SplitOBJ", "GetFile", "CheckName"}) {
        const ostrel::test::HostRun help = ostrel::test::runHost("", std::string("--help ") + name);
        ASSERT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.output.rfind(std::string("### `") + name + "`", 0), 0u) << help.output;
        for (const Code& code : findExport(name)->codes())
            EXPECT_NE(help.output.find(code.meaning), std::string::npos) << name << " " << code.value;
    }
    EXPECT_EQ(ostrel::test::runHost("", "--help NoSuchExport").status, 1);
}

TEST(ExportTable, CountsPerBuildMatchTheDeliverables) {
    int win64 = 0, win32 = 0, mac = 0, linux = 0;
    for (const Export& e : kExports) {
        win64 += (e.builds & kWin64) != 0;
        win32 += (e.builds & kWin32) != 0;
        mac += (e.builds & kMac) != 0;
        linux += (e.builds & kLinux) != 0;
    }
    EXPECT_EQ(win64, 71);
    EXPECT_EQ(win32, 71);
    EXPECT_EQ(mac, 61);
    EXPECT_EQ(linux, 60);
}

class Frames : public ::testing::Test {
protected:
    ostrel::test::Library lib;
    void SetUp() override {
        lib.call("clearVectors", nullptr);
        lib.call("GroupListClear", nullptr);
        lib.call("ClearNameSet", nullptr);
        lib.call("ClearTPoseList", nullptr);
    }
};

TEST_F(Frames, VersionIgnoresItsArguments) {
    char mem[8] = "x";
    EXPECT_FLOAT_EQ(lib.call("Version", nullptr), 4.4f);
    EXPECT_FLOAT_EQ(lib.call("Version", "anything", NAN, mem, -5), 4.4f);
}

TEST_F(Frames, ValueChecksComeBeforePointerChecks) {
    EXPECT_EQ(lib.call("addTevFile", nullptr, -1), -1);
    EXPECT_EQ(lib.call("addTevFile", nullptr, -0.5), -9);   // truncates to 0, then the text check
    EXPECT_EQ(lib.call("GroupListAdd", nullptr, 0.9), -2);
    EXPECT_EQ(lib.call("GroupListAdd", nullptr, 3), -1);
    EXPECT_EQ(lib.call("AddTPoseRef", nullptr, -3), -1);
    EXPECT_EQ(lib.call("AddTPoseRef", nullptr, NAN), -2);   // NaN is not "0 or below"
}

// Every export of this build, called with a null text and then a null
// memBlock, answers as the table says; the other pointer names a file that is
// not there and the value (1) passes every value check. None of the calls
// creates a file.
TEST_F(Frames, NullArgumentsGetTheTablesAnswers) {
    ostrel::test::ScratchDir dir;
    std::string path = dir.file("absent");
    std::vector<char> mem(path.begin(), path.end());
    mem.resize(4096, '\0');
    for (const Export& e : kExports) {
        if (!(e.builds & kThisBuild)) continue;
        for (bool textIsNull : {true, false}) {
            const NullAnswer answer = textIsNull ? e.nullText : e.nullMem;
            if (answer.kind != NullAnswer::Refused && answer.kind != NullAnswer::ReportedLater) continue;
            // The state checks that come before a null check pass: the T-pose
            // list holds a reference and a folder listing is open.
            ASSERT_EQ(lib.call("AddTPoseRef", "ref", 1, const_cast<char*>("info")), 0);
            ASSERT_EQ(lib.call("OpenFolder", dir.path().string()), 0);
            const float result = textIsNull ? lib.call(e.name, nullptr, 1, mem.data(), int(mem.size()))
                                            : lib.call(e.name, path, 1, nullptr, 0);
            const char* which = textIsNull ? " with a null text" : " with a null memBlock";
            if (answer.kind == NullAnswer::Refused)
                EXPECT_EQ(result, answer.code) << e.name << which;
            else
                EXPECT_LT(result, 0) << e.name << which;
        }
    }
    lib.call("CloseFolder", nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Frames, SetGroupsAcceptsZeroAndRefusesNaN) {
    EXPECT_EQ(lib.call("setGroups", nullptr, 0), 0);
    EXPECT_EQ(lib.call("setGroups", nullptr, NAN), -1);
    EXPECT_EQ(lib.call("setGroups", nullptr, -0.1), -1);
}

TEST_F(Frames, ValuesOutsideInt32Saturate) {
    // A huge group size is accepted as INT32_MAX faces; a huge negative one refused.
    EXPECT_EQ(lib.call("GroupListAdd", "g", 1e300), 0);
    EXPECT_EQ(lib.call("GroupListAdd", "g", -1e300), -2);
    EXPECT_EQ(lib.call("GroupListAdd", "g", NAN), -2);
    EXPECT_EQ(lib.call("addTevFile", nullptr, INFINITY), -9);
}

TEST_F(Frames, GroupListGetNameIndexRules) {
    char mem[128] = "untouched";
    EXPECT_EQ(lib.call("GroupListGetName", nullptr, -1, mem), -1);
    EXPECT_STREQ(mem, "untouched");
    EXPECT_EQ(lib.call("GroupListGetName", nullptr, NAN, mem), -1);
    EXPECT_EQ(lib.call("GroupListAdd", "first", 2), 0);
    EXPECT_EQ(lib.call("GroupListGetName", nullptr, -0.5, mem), 0);
    EXPECT_STREQ(mem, "first");
    EXPECT_EQ(lib.call("GroupListGetName", nullptr, 1, mem), 0);
    EXPECT_STREQ(mem, "null");
}

TEST_F(Frames, MemBlockWritesStayWithinAPositiveSize) {
    char mem[8];
    std::memset(mem, 'x', sizeof mem);
    EXPECT_EQ(lib.call("GroupListAdd", "a_long_group_name", 2), 0);
    EXPECT_EQ(lib.call("GroupListGetName", nullptr, 0, mem, 4), 0);
    EXPECT_STREQ(mem, "a_l");
    EXPECT_EQ(mem[4], 'x');
}

// CheckName remembers exactly the names it hands back: one that does not fit
// the block is refused and not remembered, so the next call may hand it out.
TEST_F(Frames, CheckNameRemembersOnlyWhatFitsTheBlock) {
    struct Step {
        const char* name;
        int size;
        float answer;
        const char* handedBack;
    };
    const Step steps[] = {
        {"head", 5, 0, "head"},
        {"head", 5, -2, ""},             // head_copy1 would need 11 bytes
        {"head", 11, 0, "head_copy1"},   // so the refused one was not taken
        {"head_copy1", 0, 0, "head_copy2"},
        {"a_copyb_copy", 0, 0, "a_copyb_copy"},
        {"a_copyb_copy", 8, 0, "a_copy1"},   // too long itself, but taken: its copy fits
    };
    for (const Step& step : steps) {
        char mem[32];
        std::memset(mem, 'x', sizeof mem);
        EXPECT_EQ(lib.call("CheckName", step.name, 0, mem, step.size), step.answer) << step.name << " " << step.size;
        EXPECT_STREQ(mem, step.handedBack) << step.name << " " << step.size;
    }
}

TEST_F(Frames, TPoseExportsFollowTheirTestOrder) {
    char mem[300] = {};
    EXPECT_EQ(lib.call("GetTPoseRef", nullptr, 0, mem), -5);   // empty list first
    EXPECT_EQ(lib.call("AddTPoseRef", "arm", 0), -1);
    EXPECT_EQ(lib.call("AddTPoseRef", "arm", 0.5, const_cast<char*>("info")), 0);
    EXPECT_EQ(lib.call("AddTPoseRef", "arm", NAN, const_cast<char*>("second")), 0);
    EXPECT_EQ(lib.call("GetTPoseRef", "arm", 0, mem), 0);
    EXPECT_STREQ(mem, "info");
    EXPECT_EQ(lib.call("GetTPoseRef", "leg", 0, mem), -1);
    EXPECT_EQ(lib.call("SetPrjModfier", nullptr, 0), -1);
    EXPECT_EQ(lib.call("SetPrjModfier", nullptr, 7.9), 0);
    EXPECT_EQ(lib.call("GetPrjModfier", nullptr, 1), 7);
    EXPECT_EQ(lib.call("GetPrjModfier", nullptr, 0), 0);
    EXPECT_EQ(lib.call("ClearTPoseList", nullptr), 0);
    EXPECT_EQ(lib.call("GetPrjModfier", nullptr, 1), 0);
}

}  // namespace
