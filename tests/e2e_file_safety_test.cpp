// What no path a script passes can make the library do: block on an input,
// read an endless one, write through a link or a planted file, loosen a
// file's permissions, replace a file the caller may not write, or destroy an
// input by writing an output over it. Driven through the built library.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

#include "tests/support/image_support.hpp"
#include "tests/support/test_support.hpp"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace ostrel::test;
namespace fs = std::filesystem;

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// Valid inputs of every kind, so that the argument under test decides.
struct Fixtures {
    explicit Fixtures(const ScratchDir& dir)
        : tev(dir.file("in.tev")), points(dir.file("in.Tvt")), obj(dir.file("in.obj")), psd(dir.file("in.psd")),
          data(dir.file("5.dat")) {
        writeFile(tev, TevBuilder()
                           .points(cubePoints())
                           .faces(cubeFaces())
                           .groups({1, 1, 1, 2, 2, 2})
                           .colours(std::vector<uint32_t>(8, 0xFF102030))
                           .end()
                           .bytes());
        writeFile(points, pointsFile(cubePoints(1)));
        writeText(obj, "v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\n");
        writeFile(psd, simplePsd(100, 100, [](int c, int r, int x) { return uint8_t(c * 50 + r + x); }));
        writeText(data, "data");
    }
    std::string tev, points, obj, psd, data;
};

enum class Role { Text, Mem };
enum class Other { Output, Tev, Points, Obj, Psd, Data };

struct InputUse {
    const char* exportName;
    Role input;      // which argument names the input under test
    Other other;     // what the other argument names
    double value = 0;
    // The code when the input is refused; by default the code for a missing
    // input, measured in the same run.
    std::optional<float> refused = std::nullopt;
};

// Every export that reads a file named by a script.
const InputUse kInputUses[] = {
    {"AddDatFile", Role::Text, Other::Output},
    {"AddDatFile", Role::Mem, Other::Data, 0, -2.0f},   // a missing project is created
    {"AlignVertices_Tev", Role::Text, Other::Output, 1.001},
    {"AppendOBJ", Role::Text, Other::Output},
    {"AppendOBJ", Role::Mem, Other::Obj, 0, -2.0f},     // a missing target is created
    {"CreateThumbnail", Role::Text, Other::Output, 64},
    {"CropBMPfile", Role::Text, Other::Output},
    {"FileCopyTo", Role::Text, Other::Output},
    {"FixEdgesPSD", Role::Text, Other::Output},
    {"GroupListLoad", Role::Text, Other::Output},
    {"HealImportFile", Role::Text, Other::Output},
    {"HealPSDfiles", Role::Text, Other::Psd},
    {"HealPSDfiles", Role::Mem, Other::Psd},
    {"ListSplitOBJtoOBJ", Role::Text, Other::Output},
    {"ListSplitOBJtoTev", Role::Text, Other::Output},
    {"MakeStencilPSD", Role::Text, Other::Output},
    {"MergePSDfiles", Role::Text, Other::Psd},
    {"MergePSDfiles", Role::Mem, Other::Psd},
    {"OpenNEWPrjFile", Role::Text, Other::Output},
    {"OpenPrjFile", Role::Text, Other::Output},
    {"OpenQPP", Role::Text, Other::Output},
    {"PoserExportOBJ", Role::Text, Other::Obj},
    {"PoserExportOBJ", Role::Mem, Other::Obj},
    {"RGBtoGrayscale", Role::Text, Other::Output},
    {"ScaleUVs", Role::Text, Other::Output, 0.5},
    {"SplitOBJ", Role::Text, Other::Output},
    {"SplitOBJtoTev", Role::Text, Other::Output},
    {"SwapColorsPSD", Role::Text, Other::Output},
    {"SwapVertices", Role::Text, Other::Obj},
    {"SwapVertices", Role::Mem, Other::Obj},
    {"SwapVertices_Tev", Role::Text, Other::Tev},
    {"SwapVertices_Tev", Role::Mem, Other::Points},
    {"addTevFile", Role::Text, Other::Output},
    {"getDaxFile", Role::Text, Other::Output},
    {"getFaceIDs", Role::Text, Other::Output},
    {"tevtoOBJ", Role::Text, Other::Output},
    {"outMRGB", Role::Text, Other::Output},
};

class InputKinds : public ::testing::Test {
protected:
    // Names that open as something other than a regular file.
    std::vector<std::string> notRegularFiles() {
        std::vector<std::string> paths{dir.file("folder")};
        fs::create_directory(paths.back());
#ifdef _WIN32
        paths.push_back("NUL");
#else
        paths.push_back(dir.file("fifo"));
        EXPECT_EQ(::mkfifo(paths.back().c_str(), 0666), 0);
        paths.push_back(dir.file("zero"));
        fs::create_symlink("/dev/zero", paths.back());
#endif
        return paths;
    }

    std::string otherPath(Other other) {
        switch (other) {
        case Other::Output: return dir.file("out.obj");
        case Other::Tev: return fixtures.tev;
        case Other::Points: return fixtures.points;
        case Other::Obj: return fixtures.obj;
        case Other::Psd: return fixtures.psd;
        case Other::Data: return fixtures.data;
        }
        return {};
    }

    float call(const InputUse& use, const std::string& input) {
        // The calls that read the face ids, the group list or the buffers
        // find them as a script would have left them.
        lib.call("getFaceIDs", fixtures.tev);
        lib.call("GroupListClear", nullptr);
        lib.call("GroupListAdd", "a", 8);
        std::string other = otherPath(use.other);
        if (use.input == Role::Text) return lib.call(use.exportName, input, use.value, other.data());
        return lib.call(use.exportName, other, use.value, const_cast<char*>(input.c_str()));
    }

    Library lib;
    ScratchDir dir;
    Fixtures fixtures{dir};
};

TEST_F(InputKinds, OnlyRegularFilesAreReadAndRefusalCreatesNothing) {
#ifndef _WIN32
    // A call that blocked would hang the run: end it with a failure instead.
    ::alarm(60);
#endif
    const auto kinds = notRegularFiles();
    for (const InputUse& use : kInputUses) {
        const auto before = entriesOf(dir.path());
        const float missing = use.refused ? *use.refused : call(use, dir.file("missing.in"));
        ASSERT_LT(missing, 0) << use.exportName;
        for (const std::string& path : kinds) {
            EXPECT_EQ(call(use, path), missing) << use.exportName << " on " << path;
            EXPECT_EQ(entriesOf(dir.path()), before) << use.exportName << " on " << path;
        }
    }
#ifndef _WIN32
    ::alarm(0);
#endif
}

TEST(SameFile, AnOutputNamingItsOwnInputIsRefusedAndTheInputKept) {
    Library lib;
    ScratchDir dir;
    const std::string tevPath = dir.file("m.tev");
    const Bytes tev = TevBuilder()
                          .points(cubePoints())
                          .colours(std::vector<uint32_t>(8, 0x00ff8000))
                          .faces(cubeFaces())
                          .end()
                          .bytes();
    writeFile(tevPath, tev);
    writeFile(dir.file("base.tev"), TevBuilder().faces(cubeFaces()).end().bytes());
    // The same file under another spelling of its path.
    std::string sameTev = (dir.path() / "." / "m.tev").string();
    ASSERT_EQ(lib.call("getFaceIDs", dir.file("base.tev"), 1), 6.0f);
    EXPECT_EQ(lib.call("tevtoOBJ", tevPath, 0, sameTev.data()), -2.0f);
    EXPECT_EQ(lib.call("outMRGB", tevPath, 0, sameTev.data()), -2.0f);
    EXPECT_EQ(readFile(tevPath), tev);
    // The face ids were not used up by the refused conversion.
    EXPECT_EQ(lib.call("tevtoOBJ", tevPath, 0, dir.file("m.obj").data()), 0.0f);

    // A container whose end block is followed by a payload.
    const Bytes container = TevBuilder().points(cubePoints()).end().bytes();
    Bytes withPayload = container;
    withPayload.insert(withPayload.end(), 136, 7);
    writeFile(dir.file("c.tev"), withPayload);
    std::string sameContainer = (dir.path() / "." / "c.tev").string();
    EXPECT_EQ(lib.call("getDaxFile", dir.file("c.tev"), 0, sameContainer.data()), -5.0f);
    EXPECT_EQ(readFile(dir.file("c.tev")), withPayload);

    writeText(dir.file("7.prj"), "project");
    std::string sameProject = (dir.path() / "." / "7.prj").string();
    EXPECT_EQ(lib.call("AddDatFile", dir.file("7.prj"), 0, sameProject.data()), -2.0f);
    EXPECT_EQ(readText(dir.file("7.prj")), "project");
}

TEST(Rename, NeverReplacesAnExistingFile) {
    Library lib;
    ScratchDir dir;
    writeText(dir.file("a.txt"), "a");
    writeText(dir.file("b.txt"), "b");
    std::string b = dir.file("b.txt");
    EXPECT_EQ(lib.call("FileRename", dir.file("a.txt"), 0, b.data()), -1.0f);
    EXPECT_EQ(readText(dir.file("a.txt")), "a");
    EXPECT_EQ(readText(b), "b");
}

#ifndef _WIN32

// Windows paths of the ANSI calls stop at 260 bytes, folder included.
TEST(Replace, TheLongestLegalTargetNameStillWorks) {
    Library lib;
    ScratchDir dir;
    const std::string target = dir.file(std::string(251, 'n') + ".grp");
    lib.call("GroupListClear", nullptr);
    lib.call("GroupListAdd", "a", 3);
    EXPECT_EQ(lib.call("GroupListSave", target), 0.0f);
    EXPECT_EQ(fs::file_size(target), 136u);
    EXPECT_EQ(entriesOf(dir.path()).size(), 1u);
}

TEST(Replace, ALinkedTargetIsReplacedWhereItPointsAndTheLinkStays) {
    Library lib;
    ScratchDir dir;
    fs::create_directory(dir.path() / "real");
    writeText(dir.file("real/list.grp"), "old");
    fs::create_symlink("real/list.grp", dir.path() / "link.grp");
    fs::create_symlink("real/new.grp", dir.path() / "dangling.grp");
    lib.call("GroupListClear", nullptr);
    lib.call("GroupListAdd", "a", 3);
    ASSERT_EQ(lib.call("GroupListSave", dir.file("link.grp")), 0.0f);
    ASSERT_EQ(lib.call("GroupListSave", dir.file("dangling.grp")), 0.0f);
    for (const char* link : {"link.grp", "dangling.grp"}) EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
    EXPECT_EQ(fs::file_size(dir.path() / "real" / "list.grp"), 136u);
    EXPECT_EQ(fs::file_size(dir.path() / "real" / "new.grp"), 136u);
    EXPECT_EQ(entriesOf(dir.path() / "real"), (std::set<std::string>{"list.grp", "new.grp"}));
}

TEST(Replace, AReplacedFileKeepsItsPermissionBits) {
    Library lib;
    ScratchDir dir;
    const std::string target = dir.file("private.grp");
    writeText(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    lib.call("GroupListClear", nullptr);
    lib.call("GroupListAdd", "a", 3);
    ASSERT_EQ(lib.call("GroupListSave", target), 0.0f);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

// Runs `check` in a child process as an unprivileged user when the tests run
// as root, for whom every permission check passes. The child's exit status is
// the number of failed expectations.
template <class Check>
void asUnprivilegedUser(const ScratchDir& dir, Check&& check) {
    if (::geteuid() == 0) fs::permissions(dir.path(), fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "cannot change to an unprivileged user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks in the unprivileged child";
}

TEST(Replace, ATargetTheCallerMayNotWriteIsLeftUntouched) {
    Library lib;
    ScratchDir dir;
    asUnprivilegedUser(dir, [&] {
        int failures = 0;
        auto expect = [&](bool ok) { failures += ok ? 0 : 1; };
        lib.call("GroupListClear", nullptr);
        lib.call("GroupListAdd", "a", 3);
        // Read-only file in a writable folder.
        const std::string readOnly = dir.file("ro.grp");
        writeText(readOnly, "old");
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        expect(lib.call("GroupListSave", readOnly) == -3.0f);
        expect(readText(readOnly) == "old");
        // Writable file in a folder the caller may not write.
        fs::create_directory(dir.path() / "locked");
        const std::string inLocked = dir.file("locked/w.grp");
        writeText(inLocked, "old");
        fs::permissions(dir.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        expect(lib.call("GroupListSave", inLocked) == -3.0f);
        expect(readText(inLocked) == "old");
        fs::permissions(dir.path() / "locked", fs::perms::owner_all);
        return failures;
    });
}

// A shared studio folder: a group member may write another user's file, but
// a replacement would be the member's own file, which the owner could then no
// longer control. It is refused and the file left as it was.
TEST(Replace, AFileWhoseOwnerCannotBeKeptIsLeftUntouched) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a file of another user needs root";
    Library lib;
    ScratchDir dir;
    const std::string shared = dir.file("shared.grp");
    writeText(shared, "old");
    ASSERT_EQ(::chown(shared.c_str(), 0, 65534), 0);
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write;
    fs::permissions(shared, mode);
    asUnprivilegedUser(dir, [&] {
        lib.call("GroupListClear", nullptr);
        lib.call("GroupListAdd", "a", 3);
        return lib.call("GroupListSave", shared) == -3.0f ? 0 : 1;
    });
    EXPECT_EQ(readText(shared), "old");
    struct stat st {};
    ASSERT_EQ(::stat(shared.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(fs::status(shared).permissions() & fs::perms::all, mode);
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{"shared.grp"});
}

#endif

}  // namespace
