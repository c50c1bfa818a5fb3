// The OBJ tools on an OBJ far larger than the contiguous memory a 32-bit
// process can count on (about 0.95 GB, OSTREL_LARGE_OBJ_MB=<MB> for another
// size): each must succeed, keeping only what it needs of the text, and
// write what the grid's layout says it must. The file is generated here and
// removed afterwards.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
namespace test = ostrel::test;

constexpr uint32_t kGroups = 8;

// Text written through one large buffer, numbers formatted by hand: the
// generation must not take longer than the tools.
class FastWriter {
public:
    explicit FastWriter(const std::string& path)
        : file_(std::fopen(path.c_str(), "wb")), buffer_(new char[kBufferSize]) {}
    ~FastWriter() { close(); }
    bool close() {
        flush();
        bool ok = file_ && std::fclose(file_) == 0 && !failed_;
        file_ = nullptr;
        return ok;
    }
    void text(const char* s) {
        while (*s) put(*s++);
    }
    void number(uint64_t n) {
        char digits[24];
        int count = 0;
        do digits[count++] = char('0' + n % 10);
        while (n /= 10);
        while (count) put(digits[--count]);
    }
    void put(char c) {
        if (used_ == kBufferSize) flush();
        buffer_[used_++] = c;
    }

private:
    void flush() {
        if (file_ && used_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
        used_ = 0;
    }
    static constexpr size_t kBufferSize = size_t(1) << 20;
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
};

// A side x side grid with "vt" and "vn" lines, its quads written v/vt/vn in
// kGroups groups of whole rows; and the host's positions file for it, its
// vertex lines alone (every vertex is used by a face).
struct Grid {
    uint32_t side;
    uint32_t groupOfRow(uint32_t row) const { return uint32_t(uint64_t(row) * kGroups / (side - 1)); }

    void vertexLine(FastWriter& out, uint32_t row, uint32_t col) const {
        out.text("v ");
        out.number(col);
        out.text(".5 ");
        out.number(row);
        out.text(".25 0.");
        out.number(100 + (row * 7 + col * 3) % 900);
        out.put('\n');
    }

    bool write(const std::string& path, const std::string& positionsPath) const {
        FastWriter out(path), positions(positionsPath);
        out.text("# generated grid\nmtllib grid.mtl\n");
        for (uint32_t row = 0; row < side; ++row)
            for (uint32_t col = 0; col < side; ++col) {
                vertexLine(out, row, col);
                vertexLine(positions, row, col);
            }
        for (uint32_t row = 0; row < side; ++row)
            for (uint32_t col = 0; col < side; ++col) {
                out.text("vt 0.");
                out.number(1000 + col % 9000);
                out.text(" 0.");
                out.number(1000 + row % 9000);
                out.put('\n');
            }
        for (uint64_t i = 0; i < uint64_t(side) * side; ++i) out.text(i % 2 ? "vn 0 0.6 0.8\n" : "vn 0.28 0 0.96\n");
        for (uint32_t row = 0; row + 1 < side; ++row) {
            if (row == 0 || groupOfRow(row) != groupOfRow(row - 1)) {
                out.text("g part");
                out.number(groupOfRow(row));
                out.text("\nusemtl m\n");
            }
            for (uint32_t col = 0; col + 1 < side; ++col) {
                const uint64_t a = uint64_t(row) * side + col + 1;
                out.put('f');
                for (uint64_t c : {a, a + 1, a + side + 1, a + side}) {
                    out.put(' ');
                    out.number(c);
                    out.put('/');
                    out.number(c);
                    out.put('/');
                    out.number(c);
                }
                out.put('\n');
            }
        }
        return out.close() && positions.close();
    }

    // Face rows [first, end) of a group; its vertices are rows first..end.
    uint32_t firstRow(uint32_t group) const {
        uint32_t row = 0;
        while (groupOfRow(row) < group) ++row;
        return row;
    }
    uint64_t groupVertices(uint32_t group) const {
        const uint32_t end = group + 1 < kGroups ? firstRow(group + 1) : side - 1;
        return uint64_t(end - firstRow(group) + 1) * side;
    }
    uint64_t groupFaces(uint32_t group) const {
        const uint32_t end = group + 1 < kGroups ? firstRow(group + 1) : side - 1;
        return uint64_t(end - firstRow(group)) * (side - 1);
    }
    std::string firstVertexLine(uint32_t group) const {
        return "v 0.5 " + std::to_string(firstRow(group)) + ".25 0." +
               std::to_string(100 + (firstRow(group) * 7) % 900);
    }
};

// The first line of a file, without its line end.
std::string firstLine(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

class LargeObj : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* setting = std::getenv("OSTREL_LARGE_OBJ_MB");
        const double megabytes = setting ? std::atof(setting) : 950.0;
        // About 150 bytes of text per vertex.
        grid = new Grid{uint32_t(std::max(3.0, std::sqrt(megabytes * 1e6 / 150.0)))};
        scratch = new test::ScratchDir;
        ASSERT_TRUE(grid->write(path("grid.obj"), path("positions.obj")));
    }
    static void TearDownTestSuite() {
        delete scratch;
        delete grid;
    }
    static std::string path(const std::string& name) { return scratch->file(name); }
    static std::string folder(const std::string& name) {
        fs::create_directories(scratch->path() / name);
        return path(name) + "/";
    }
    float call(const char* name, const std::string& text, double value, std::string mem) {
        return lib.call(name, text, value, mem.data());
    }
    static uint64_t vertices() { return uint64_t(grid->side) * grid->side; }
    // Each group's OBJ in `folder` starts with its lowest vertex; the folder goes afterwards.
    static void expectGroupsStartWithTheirFirstVertex(const std::string& folder) {
        for (uint32_t g = 0; g < kGroups; ++g)
            EXPECT_EQ(firstLine(folder + "part" + std::to_string(g) + ".obj"), grid->firstVertexLine(g)) << g;
        fs::remove_all(folder);
    }

    static Grid* grid;
    static test::ScratchDir* scratch;
    test::Library lib;
};

Grid* LargeObj::grid = nullptr;
test::ScratchDir* LargeObj::scratch = nullptr;

TEST_F(LargeObj, OnePassToolsKeepNothingOfTheText) {
    const std::string input = path("grid.obj");
    ASSERT_EQ(call("ScaleUVs", input, 0.5, path("scaled.obj")), 0);
    EXPECT_GT(fs::file_size(path("scaled.obj")), fs::file_size(input) * 9 / 10);
    fs::remove(path("scaled.obj"));

    lib.call("GroupListClear", nullptr);
    ASSERT_EQ(call("AppendOBJ", input, 0, path("joined.obj")), float(vertices()));
    EXPECT_EQ(firstLine(path("joined.obj")), grid->firstVertexLine(0));
    fs::remove(path("joined.obj"));

    const std::string points = folder("points");
    ASSERT_EQ(call("SplitOBJtoTev", input, 0, points), 0);
    for (uint32_t g = 0; g < kGroups; ++g)
        EXPECT_EQ(fs::file_size(points + "part" + std::to_string(g) + ".Tvt"), 16 + 12 * grid->groupVertices(g)) << g;
    fs::remove_all(points);
}

TEST_F(LargeObj, SplitsKeepTheVertexLinesOnly) {
    const std::string input = path("grid.obj");
    const std::string split = folder("split");
    ASSERT_EQ(call("SplitOBJ", input, 0, split), 0);
    expectGroupsStartWithTheirFirstVertex(split);

    lib.call("GroupListClear", nullptr);
    for (uint32_t g = 0; g < kGroups; ++g)
        ASSERT_EQ(lib.call("GroupListAdd", ("part" + std::to_string(g)).c_str(), double(grid->groupFaces(g))), 0);
    const std::string back = folder("back");
    ASSERT_EQ(call("ListSplitOBJtoOBJ", input, 0, back), 0);
    expectGroupsStartWithTheirFirstVertex(back);
    lib.call("GroupListClear", nullptr);
}

// Both rewrite a file from two inputs read again while they write.
TEST_F(LargeObj, RewritesReadTheirInputsAgain) {
    const std::string input = path("grid.obj"), positions = path("positions.obj");
    ASSERT_EQ(call("PoserExportOBJ", input, 0, positions), 0);
    EXPECT_GT(fs::file_size(positions), fs::file_size(input) * 9 / 10);
    fs::remove(positions);
    ASSERT_EQ(call("SwapVertices", input, 0, input), 0);
    EXPECT_EQ(firstLine(input), "# written by Halvrin plugin for Kelmor");
}

}  // namespace
