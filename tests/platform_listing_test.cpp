// The selection buffer's layouts and count, GetFileInfo's answers, the folder
// listing writer, the dialog filter and settings, and the folder walk.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/dialogs.hpp"
#include "platform/listing.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::platform;

// A buffer holding exactly `bytes`, zero after them.
SelectionBuffer bufferWith(std::string_view bytes) {
    SelectionBuffer buffer{};
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return buffer;
}

using namespace std::string_literals;

TEST(SelectionCount, CountsTheEntriesOfBothLayouts) {
    EXPECT_EQ(selectionCount(bufferWith("C:\\m\\a.obj\0\0"s)), 1);
    EXPECT_EQ(selectionCount(bufferWith("C:\\m\0a.obj\0b.obj\0\0"s)), 2);
    EXPECT_EQ(selectionCount(bufferWith("C:\\m\0a\0b\0c\0\0"s)), 3);
    EXPECT_EQ(selectionCount(SelectionBuffer{}), 1);   // cleared: counts 1
}

TEST(SelectionCount, ABufferWithoutADoubleNulCountsItsNuls) {
    SelectionBuffer buffer;
    buffer.fill('x');
    EXPECT_EQ(selectionCount(buffer), 0);
    buffer[10] = '\0';
    buffer[20] = '\0';
    EXPECT_EQ(selectionCount(buffer), 2);
    // Only the first 65535 bytes are scanned: a NUL in the last byte counts
    // for nothing on its own, but ends a pair that starts just before it.
    buffer[kSelectionBufferSize - 1] = '\0';
    EXPECT_EQ(selectionCount(buffer), 2);
    buffer[kSelectionBufferSize - 2] = '\0';
    EXPECT_EQ(selectionCount(buffer), 2);
    buffer[kSelectionBufferSize - 1] = 'x';
    EXPECT_EQ(selectionCount(buffer), 3);
}

TEST(SelectionEntry, OneEntryLayoutGivesThePathAndTheNameAfterTheLastBackslash) {
    const auto buffer = bufferWith("C:\\models\\cube.obj\0\0"s);
    EXPECT_EQ(selectionEntry(buffer, "fullname", 1), "C:\\models\\cube.obj");
    EXPECT_EQ(selectionEntry(buffer, "name", 1), "cube.obj");
    EXPECT_EQ(selectionEntry(buffer, "name", 2), std::nullopt);
    EXPECT_EQ(selectionEntry(buffer, "name", 0), std::nullopt);
    // A path without a backslash has no name part.
    EXPECT_EQ(selectionEntry(bufferWith("cube.obj\0\0"s), "name", 1), std::nullopt);
}

TEST(SelectionEntry, MultiLayoutJoinsFolderAndName) {
    const auto buffer = bufferWith("C:\\m\0a.obj\0b.obj\0c.obj\0\0"s);
    EXPECT_EQ(selectionEntry(buffer, "fullname", 2), "C:\\m\\b.obj");
    EXPECT_EQ(selectionEntry(buffer, "name", 3), "c.obj");
    EXPECT_EQ(selectionEntry(buffer, "name", 1), "a.obj");
    EXPECT_EQ(selectionEntry(buffer, "fullname", 4), std::nullopt);
    EXPECT_EQ(selectionEntry(buffer, "fullname", -1), std::nullopt);
}

TEST(SelectionEntry, KeywordsAreComparedByteForByte) {
    const auto buffer = bufferWith("C:\\m\0a\0b\0\0"s);
    EXPECT_EQ(selectionEntry(buffer, "Name", 1), std::nullopt);
    EXPECT_EQ(selectionEntry(buffer, "FULLNAME", 1), std::nullopt);
    EXPECT_EQ(selectionEntry(buffer, "fullname ", 1), std::nullopt);
}

TEST(SelectionEntry, ACancelledDialogGivesAnEmptyFullName) {
    const SelectionBuffer cleared{};
    EXPECT_EQ(selectionEntry(cleared, "fullname", 1), "");
    EXPECT_EQ(selectionEntry(cleared, "name", 1), std::nullopt);
}

TEST(SelectionEntry, NamesRunningOffTheBufferEndAreNotRead) {
    // No NUL pair anywhere: two NULs count 2 entries, but the second name runs
    // to the end of the buffer without a NUL and is refused.
    SelectionBuffer buffer;
    buffer.fill('x');
    buffer[3] = '\0';
    buffer[6] = '\0';
    EXPECT_EQ(selectionCount(buffer), 2);
    EXPECT_EQ(selectionEntry(buffer, "name", 1), "xx");
    EXPECT_EQ(selectionEntry(buffer, "name", 2), std::nullopt);
}

TEST(ListingWriter, WritesFolderThenNamesAndAFinalNul) {
    SelectionBuffer buffer{};
    ListingWriter writer(buffer, "C:\\m");
    EXPECT_TRUE(writer.add("a.obj"));
    EXPECT_TRUE(writer.add("b.obj"));
    EXPECT_EQ(writer.finish(), 2);
    const std::string expected = "C:\\m\0a.obj\0b.obj\0\0"s;
    EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
    EXPECT_EQ(selectionEntry(buffer, "fullname", 2), "C:\\m\\b.obj");
}

TEST(ListingWriter, OneEntryBecomesItsFullPath) {
    SelectionBuffer buffer{};
    ListingWriter writer(buffer, "C:\\m");
    EXPECT_TRUE(writer.add("x.obj"));
    EXPECT_EQ(writer.finish(), 1);
    const std::string expected = "C:\\m\\x.obj\0\0"s;
    EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
    EXPECT_EQ(selectionEntry(buffer, "name", 1), "x.obj");
}

TEST(ListingWriter, NothingKeptWritesNothing) {
    SelectionBuffer buffer{};
    ListingWriter writer(buffer, "C:\\m");
    EXPECT_EQ(writer.finish(), 0);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == '\0'; }));
}

TEST(ListingWriter, StopsAtTheFirstNameThatDoesNotFit) {
    SelectionBuffer buffer{};
    ListingWriter writer(buffer, "F");
    const std::string name(99, 'n');   // 100 bytes with its NUL
    int added = 0;
    while (writer.add(name)) ++added;
    // Folder "F\0" takes 2 bytes; every name 100; the position after a name's
    // NUL must stay below 65536.
    EXPECT_EQ(added, (65536 - 2 - 1) / 100);
    EXPECT_FALSE(writer.add("short"));   // the listing has ended
    const int count = writer.finish();
    EXPECT_EQ(count, added);
    EXPECT_EQ(selectionCount(buffer), count);
    EXPECT_EQ(selectionEntry(buffer, "name", count), name);
}

TEST(ListingWriter, RefusesAHeldNameLongerThanAWindowsFileName) {
    SelectionBuffer buffer{};
    ListingWriter writer(buffer, "C:\\m");
    EXPECT_FALSE(writer.add(std::string(300, 'n')));
    EXPECT_EQ(writer.finish(), 0);
}

TEST(DialogFilter, BarsBecomeNulsAndTheListEndsInTwoNuls) {
    EXPECT_EQ(dialogFilter("Meshes|*.obj|All|*.*"), "Meshes\0*.obj\0All\0*.*\0\0"s);
    EXPECT_EQ(dialogFilter(nullptr), "*.*\0\0"s);
    EXPECT_EQ(dialogFilter(""), "\0\0"s);
    const std::string longText(400, 'f');
    EXPECT_EQ(dialogFilter(longText.c_str()), std::string(255, 'f') + "\0\0"s);
}

TEST(DialogSettings, TitleAndStartFolderAreCutAndReset) {
    setDialogTitle("Pick meshes");
    EXPECT_EQ(dialogTitle(), "Pick meshes");
    setDialogTitle(nullptr);
    EXPECT_EQ(dialogTitle(), "Select Files");
    setDialogTitle(std::string(300, 't').c_str());
    EXPECT_EQ(dialogTitle().size(), 255u);
    setDialogTitle(nullptr);

    setDefaultDir(std::string(600, 'd').c_str());
    EXPECT_EQ(defaultDir().size(), 511u);
    setDefaultDir(nullptr);
    EXPECT_EQ(defaultDir(), "");
}

TEST(ChosenFilePath, CountsFromZeroAndCutsAt255Bytes) {
    const std::vector<std::string> files = {"/Users/a/one.obj", "/Users/a/two.obj", std::string(300, 'p')};
    EXPECT_EQ(chosenFilePath(files, 0), "/Users/a/one.obj");
    EXPECT_EQ(chosenFilePath(files, 1), "/Users/a/two.obj");
    EXPECT_EQ(chosenFilePath(files, 2), std::string(255, 'p'));
    EXPECT_EQ(chosenFilePath(files, 3), std::nullopt);
    EXPECT_EQ(chosenFilePath(files, -1), std::nullopt);
    EXPECT_EQ(chosenFilePath({}, 0), std::nullopt);
}

class FolderWalkTest : public ::testing::Test {
protected:
    void TearDown() override { closeWalk(); }
    ostrel::test::ScratchDir dir;
};

TEST_F(FolderWalkTest, HandsOutEveryEntryThenExhaustedUntilClosed) {
    ostrel::test::writeText(dir.file("a.obj"), "a");
    ostrel::test::writeText(dir.file(".hidden"), "h");
    std::filesystem::create_directory(dir.path() / "sub");

    ASSERT_TRUE(openWalk(dir.path().string().c_str()));
    std::set<std::string> names;
    std::string name;
    while (nextWalkEntry(name) == WalkResult::Entry) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{".", "..", ".hidden", "a.obj", "sub"}));
    EXPECT_EQ(nextWalkEntry(name), WalkResult::Exhausted);
    EXPECT_EQ(nextWalkEntry(name), WalkResult::Exhausted);
    EXPECT_TRUE(closeWalk());
    EXPECT_EQ(nextWalkEntry(name), WalkResult::NoWalk);
    EXPECT_FALSE(closeWalk());
}

TEST_F(FolderWalkTest, AFailedOpenLeavesNoWalk) {
    ASSERT_TRUE(openWalk(dir.path().string().c_str()));
    EXPECT_FALSE(openWalk((dir.path() / "missing").string().c_str()));
    std::string name;
    EXPECT_EQ(nextWalkEntry(name), WalkResult::NoWalk);
    EXPECT_FALSE(openWalk(""));
    EXPECT_FALSE(openWalk(nullptr));
    EXPECT_FALSE(walkIsOpen());
}

TEST_F(FolderWalkTest, OpeningAgainRestartsTheWalk) {
    ostrel::test::writeText(dir.file("only.txt"), "x");
    const std::string path = dir.path().string();
    ASSERT_TRUE(openWalk(path.c_str()));
    std::string name;
    int first = 0;
    while (nextWalkEntry(name) == WalkResult::Entry) ++first;
    ASSERT_TRUE(openWalk(path.c_str()));
    int second = 0;
    while (nextWalkEntry(name) == WalkResult::Entry) ++second;
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 3);
}

// A walk of given names, then ending cleanly, ending on an error, or handing
// out fresh names for ever (a file system that never says it is done).
class ScriptedWalk final : public FolderWalk {
public:
    enum class Then { End, Fail, Endless };
    ScriptedWalk(std::vector<std::string> names, Then then) : names_(std::move(names)), then_(then) {}
    std::optional<std::string> next() override {
        if (at_ < names_.size()) return names_[at_++];
        if (then_ == Then::Endless) return std::to_string(at_++);
        return std::nullopt;
    }
    bool failed() const noexcept override { return then_ == Then::Fail && at_ == names_.size(); }

private:
    std::vector<std::string> names_;
    Then then_;
    size_t at_ = 0;
};

TEST(CollectNames, AListingIsTheWholeFolderOrNothing) {
    using Then = ScriptedWalk::Then;
    using Names = std::vector<std::string>;
    const struct {
        Names names;
        Then then;
        std::optional<Names> expected;
    } cases[] = {
        {{".", "a", "..", "b", "c"}, Then::End, Names{"a", "b", "c"}},   // the dots do not count
        {{"a", "b", "c", "d"}, Then::End, std::nullopt},                 // one past the limit
        {{"a"}, Then::Fail, std::nullopt},
        {{}, Then::Endless, std::nullopt},
    };
    for (const auto& c : cases) {
        ScriptedWalk walk(c.names, c.then);
        EXPECT_EQ(collectNames(walk, 3), c.expected) << c.names.size();
    }
}

}  // namespace
