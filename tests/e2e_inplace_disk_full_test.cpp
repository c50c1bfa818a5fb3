// The exports that change a file where it lies are all or nothing: when the
// disk fills halfway through their writes, the file is exactly as it was.

#include <gtest/gtest.h>

#include "tests/support/file_size_limit.hpp"
#include "tests/support/image_support.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::test;

// Limits that fall inside the region each export writes, so the first
// writes arrive and a later one fails.
TEST(InPlaceDiskFull, AFailedWriteLeavesTheFileAsItWas) {
    Library lib;
    ScratchDir dir;
    std::vector<float> nearZero(3 * 2000, 0.0001f);
    const Bytes tev = TevBuilder().points(nearZero).faces(cubeFaces()).end().bytes();
    std::string tevPath = dir.file("m.tev");
    writeFile(tevPath, tev);
    writeFile(dir.file("m.Tvt"), pointsFile(std::vector<float>(nearZero.size(), 5.0f)));
    const Bytes psd = simplePsd(200, 200, [](int c, int r, int x) { return uint8_t(c * 70 + r * 3 + x); });
    writeFile(dir.file("t.psd"), psd);
    {
        FileSizeLimit limit(tev.size() / 2);
        EXPECT_EQ(lib.call("AlignVertices_Tev", tevPath, 1.001), -401.0f);
        EXPECT_EQ(readFile(tevPath), tev);
        EXPECT_EQ(lib.call("SwapVertices_Tev", dir.file("m.Tvt"), 0, tevPath.data()), -401.0f);
        EXPECT_EQ(readFile(tevPath), tev);
    }
    {
        FileSizeLimit limit(psd.size() / 2);
        EXPECT_EQ(lib.call("HealImportFile", dir.file("t.psd")), -201.0f);
        EXPECT_EQ(readFile(dir.file("t.psd")), psd);
    }
    // Without the limit the same calls change the files.
    EXPECT_EQ(lib.call("HealImportFile", dir.file("t.psd")), 0.0f);
    EXPECT_NE(readFile(dir.file("t.psd")), psd);
    EXPECT_EQ(lib.call("SwapVertices_Tev", dir.file("m.Tvt"), 0, tevPath.data()), 0.0f);
    EXPECT_NE(readFile(tevPath), tev);
}

}  // namespace
