// The shared core: conversions of the host's number, bounded memBlock writes,
// the byte cursor, locale-free numbers and all-or-nothing output files.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "core/byte_cursor.hpp"
#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "core/number_text.hpp"
#include "core/text_out.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

TEST(Convert, TruncIsDefinedForEveryDouble) {
    EXPECT_EQ(ostrel::trunc(2.9), 2);
    EXPECT_EQ(ostrel::trunc(-2.9), -2);
    EXPECT_EQ(ostrel::trunc(-0.5), 0);
    EXPECT_EQ(ostrel::trunc(NAN), 0);
    EXPECT_EQ(ostrel::trunc(INFINITY), INT32_MAX);
    EXPECT_EQ(ostrel::trunc(-INFINITY), INT32_MIN);
    EXPECT_EQ(ostrel::trunc(3e9), INT32_MAX);
    EXPECT_EQ(ostrel::trunc(-3e9), INT32_MIN);
    EXPECT_EQ(ostrel::trunc(2147483647.9), INT32_MAX);
    EXPECT_EQ(ostrel::trunc(-2147483648.9), INT32_MIN);
}

TEST(Convert, NarrowSaturatesToInfinityAndKeepsNaN) {
    EXPECT_EQ(narrow(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(narrow(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(narrow(NAN)));
    EXPECT_EQ(narrow(0.25), 0.25f);
}

TEST(MemBlock, PositiveSizeCutsAndTerminates) {
    char block[6];
    std::memset(block, 'x', sizeof block);
    copyToMemBlock(block, 4, "abcdef");
    EXPECT_STREQ(block, "abc");
    EXPECT_EQ(block[4], 'x');
    copyToMemBlock(block, 1, "abc");
    EXPECT_STREQ(block, "");
    copyToMemBlock(block, 0, "abcde");   // no size given: the whole text
    EXPECT_STREQ(block, "abcde");
}

TEST(ByteCursor, ShortReadsFailWithoutMoving) {
    const uint8_t bytes[] = {0x11, 0x27, 0x00, 0x00, 0xFF, 0xFF, 0xFF};
    ByteCursor cursor(bytes);
    EXPECT_EQ(cursor.readI32le(), 10001);
    EXPECT_FALSE(cursor.readU32le());
    EXPECT_EQ(cursor.position(), 4u);
    EXPECT_EQ(cursor.readU16be(), 0xFFFF);
    EXPECT_FALSE(cursor.readBytes(2));
    EXPECT_FALSE(cursor.seek(8));
    const uint8_t minusOne[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ByteCursor(minusOne).readI32le(), -1);
    EXPECT_TRUE(rangeFits(4, 3, 7));
    EXPECT_FALSE(rangeFits(5, UINT64_MAX, 7));
}

TEST(NumberText, IgnoresACommaDecimalLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    bool haveComma = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    char out[kNumberTextMax];
    EXPECT_EQ(std::string(out, formatG6(out, 0.25)), "0.25");
    EXPECT_EQ(std::string(out, formatG6(out, 1234567.0)), "1.23457e+06");
    EXPECT_EQ(std::string(out, formatG6(out, 1e-5)), "1e-05");
    EXPECT_EQ(std::string(out, formatG6(out, 100.0)), "100");
    double value = 0;
    const char text[] = "+0.5e1x";
    EXPECT_EQ(parseDouble(text, text + 6, value), text + 6);
    EXPECT_EQ(value, 5.0);
    std::setlocale(LC_ALL, saved.c_str());
    if (!haveComma) GTEST_SKIP() << "no comma-decimal locale installed; checked in the C locale only";
}

TEST(NumberText, OutOfRangeAndMalformedNumbers) {
    double value = 0;
    const char huge[] = "1e999", tiny[] = "-1e-999", bad[] = "+-1", dot[] = ".";
    EXPECT_NE(parseDouble(huge, huge + 5, value), nullptr);
    EXPECT_TRUE(std::isinf(value));
    EXPECT_NE(parseDouble(tiny, tiny + 7, value), nullptr);
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(std::signbit(value));
    EXPECT_EQ(parseDouble(bad, bad + 3, value), nullptr);
    EXPECT_EQ(parseDouble(dot, dot + 1, value), nullptr);
    int64_t integer = 0;
    const char big[] = "99999999999999999999";
    EXPECT_EQ(parseInt64(big, big + 20, integer), nullptr);
}

TEST(OutputFile, CommitReplacesAndFailureKeepsTheOldFile) {
    ScratchDir dir;
    std::string target = dir.file("out.bin");
    writeText(target, "old contents");
    {
        OutputFile out;
        ASSERT_TRUE(out.open(target.c_str()));
        out.write(std::string_view("new"));
        // Dropped without commit: the target stays.
    }
    EXPECT_EQ(readText(target), "old contents");
    {
        FileSizeLimit diskFull(1000);
        OutputFile out;
        ASSERT_TRUE(out.open(target.c_str()));
        std::string big(5000, 'z');
        out.write(std::string_view(big));
        EXPECT_FALSE(out.commit());
    }
    EXPECT_EQ(readText(target), "old contents");
    std::string large(3 << 20, 'q');   // larger than the buffer: written through
    OutputFile out;
    ASSERT_TRUE(out.open(target.c_str()));
    out.write(std::string_view("ab"));
    out.write(std::string_view(large));
    out.put('!');
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(readText(target), "ab" + large + "!");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(out.open(dir.file("missing/x").c_str()));
}

// Outputs of several buffers are written on a second thread while the next
// buffer fills: the bytes must come out in order whatever mix of small
// writes, writes larger than a buffer and copies from a file made them, and a
// write that fails on that thread must fail the commit and keep the old file.
// A new file that must replace nothing: refused when the name is taken, and
// when a file takes the name while it is being written, that file stays.
TEST(OutputFile, ANewOnlyOutputNeverReplacesAFile) {
    ScratchDir dir;
    const std::string taken = dir.file("taken.obj"), late = dir.file("late.obj");
    writeText(taken, "keep");
    OutputFile out;
    EXPECT_FALSE(out.open(taken.c_str(), OutputFile::Existing::Refuse));
    ASSERT_TRUE(out.open(late.c_str(), OutputFile::Existing::Refuse));
    out.write(std::string_view("new"));
    writeText(late, "planted");
    EXPECT_FALSE(out.commit());
    EXPECT_EQ(readText(late), "planted");
    EXPECT_EQ(readText(taken), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(OutputFile, ManyBufferOutputsAreExactOnOneThreadOrTwo) {
    ScratchDir dir;
    const std::string target = dir.file("out.bin"), piece = dir.file("piece.bin");
    writeText(piece, std::string(300000, 'p'));
    std::string expected;
    // Answers whether every copy from the file went through.
    auto produce = [&](OutputFile& out) {
        bool copied = true;
        expected.clear();
        for (int i = 0; i < 4000; ++i) {
            const std::string line = std::to_string(i) + std::string(size_t(i % 997), char('a' + i % 26)) + "\n";
            out.write(std::string_view(line));
            expected += line;
            if (i % 1000 == 500) {
                const std::string block(size_t(1.5 * (1 << 20)), char('A' + i / 1000));
                out.write(std::string_view(block));
                expected += block;
                File in = File::openInput(piece.c_str());
                copied = out.writeFrom(in) && copied;
                expected += std::string(300000, 'p');
            }
        }
        return copied;
    };
    for (const char* threads : {"1", static_cast<const char*>(nullptr)}) {
        ScopedEnvironment setting("OSTREL_THREADS", threads);
        OutputFile out;
        ASSERT_TRUE(out.open(target.c_str()));
        ASSERT_TRUE(produce(out));
        ASSERT_TRUE(out.commit());
        ASSERT_TRUE(readText(target) == expected);
#ifndef _WIN32   // Windows has no file size limit to lower
        {
            FileSizeLimit diskFull(expected.size() / 2);
            OutputFile failing;
            ASSERT_TRUE(failing.open(target.c_str()));
            produce(failing);
            EXPECT_FALSE(failing.commit());
        }
        EXPECT_TRUE(readText(target) == expected);
#endif
    }
}

TEST(ReadWholeFile, MissingFileAndFolderGiveNothing) {
    ScratchDir dir;
    EXPECT_FALSE(readWholeFile(dir.file("none").c_str()));
    EXPECT_FALSE(readWholeFile(dir.path().string().c_str()));
    EXPECT_FALSE(readWholeFile(nullptr));
    writeText(dir.file("empty"), "");
    auto empty = readWholeFile(dir.file("empty").c_str());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 0u);
}


// Whatever the chunk size and thread mode, the pieces handed over are the
// file's bytes in order, each ending at a line end (all but the file's last
// line): a line longer than the window is handed over whole, and a CR LF or
// an empty line split between chunks stays where it was. A second reading
// after rewind() gives the same, and a caller that stops early is told the
// file was not all handed over.
TEST(StreamedInput, HandsOverWholeLinesThroughAnyWindow) {
    ScratchDir dir;
    std::string longLine(5003, '7');
    longLine[0] = 'f';
    longLine.replace(5001, 2, "\r\n");
    std::string longLines = "g a\n";
    for (const std::string& part : {longLine, std::string("f 1 2 3\n"), longLine, longLine, longLine.substr(0, 3000)})
        longLines += part;
    const std::vector<std::string> texts = {"", "x", "\n", "\n\n\r\n", "v 1 2 3\r\nvt 0 1\r\n", "a\nb\nc", "no end\r",
                                            longLines};
    const std::string path = dir.file("in.obj");
    for (const char* threads : {"1", static_cast<const char*>(nullptr)})
        for (const char* chunk : {"1", "2", "3", "7", "61", "4096", static_cast<const char*>(nullptr)})
            for (const std::string& text : texts) {
                ScopedEnvironment threadSetting("OSTREL_THREADS", threads), chunkSetting("OSTREL_READ_CHUNK", chunk);
                const std::string where = std::string("chunk ") + (chunk ? chunk : "default") + (threads ? ", one thread" : "") +
                                          ", text of " + std::to_string(text.size());
                writeText(path, text);
                StreamedInput input;
                ASSERT_TRUE(input.open(path.c_str())) << where;
                for (int pass = 0; pass < 2; ++pass) {
                    std::string got;
                    for (std::string_view piece; !(piece = input.nextLines()).empty();) {
                        got += piece;
                        EXPECT_TRUE(piece.back() == '\n' || got.size() == text.size()) << where;
                    }
                    EXPECT_TRUE(got == text) << where;
                    EXPECT_TRUE(input.allHandedOver()) << where;
                    ASSERT_TRUE(input.rewind()) << where;
                }
                if (const size_t firstEnd = text.find('\n'); firstEnd != std::string::npos && firstEnd + 1 < text.size()) {
                    EXPECT_FALSE(input.nextLines().empty());
                    EXPECT_FALSE(input.finish()) << where << ": stopped after the first piece";
                }
                input.finish();
                EXPECT_FALSE(input.rewind()) << where << ": closed";
            }
}

}  // namespace
