// The OBJ line reader: line ends, classification, face bodies, vertex number
// checks and coordinate parsing.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "obj/obj_text.hpp"

namespace {

using namespace ostrel::obj;

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    forEachLine(text, [&](std::string_view line) { out.emplace_back(line); });
    return out;
}

// Both readings of a face body, which must agree.
std::vector<int64_t> faceNumbers(std::string_view body) {
    std::vector<int64_t> general, quick;
    FaceNumberReader reader(body);
    for (int64_t n; reader.next(n);) general.push_back(n);
    forEachFaceNumber(body, [&](int64_t n) { quick.push_back(n); });
    EXPECT_EQ(general, quick) << body;
    return general;
}

using Numbers = std::vector<int64_t>;

TEST(ObjLines, LfAndCrLfEndLinesAndTheCrIsDropped) {
    EXPECT_EQ(lines("a\nb\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(lines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(lines("x\r"), (std::vector<std::string>{"x"}));
    // A CR inside a line is content.
    EXPECT_EQ(lines("a\rb\n"), (std::vector<std::string>{"a\rb"}));
    EXPECT_TRUE(lines("").empty());
}

TEST(ObjLines, OnlyTheFirstCharactersClassify) {
    EXPECT_TRUE(isVertexLine("v 1 2 3"));
    EXPECT_FALSE(isVertexLine("vt 1 2"));
    EXPECT_FALSE(isVertexLine("vn 1 2 3"));
    EXPECT_FALSE(isVertexLine("v"));
    EXPECT_FALSE(isVertexLine("v\t1 2 3"));
    EXPECT_TRUE(isFaceLine("f"));
    EXPECT_TRUE(isGroupLine("g"));
    EXPECT_TRUE(isUvLine("vt"));
    EXPECT_EQ(lineBody("g arm left"), "arm left");
    EXPECT_EQ(lineBody("g"), "");
    EXPECT_EQ(lineBody("f "), "");
}

TEST(FaceBody, SlashedTokensKeepOnlyTheirVertexNumber) {
    EXPECT_EQ(faceNumbers("1/4/7 2/5/8 3/6/9"), (Numbers{1, 2, 3}));
    EXPECT_EQ(faceNumbers("1//1 2//2 3//3"), (Numbers{1, 2, 3}));
    EXPECT_EQ(faceNumbers("5/1/1   6/2/2 7/3/3 "), (Numbers{5, 6, 7}));
    EXPECT_EQ(faceNumbers("-3/-3 -2/-2 -1/-1"), (Numbers{-3, -2, -1}));
    // A tab is no token separator when the body holds a "/": the token
    // "1\t2/9" keeps "1\t2", which reads as two numbers.
    EXPECT_EQ(faceNumbers("1\t2/9 3/9"), (Numbers{1, 2, 3}));
}

TEST(FaceBody, PlainBodiesReadWhitespaceSeparatedIntegers) {
    EXPECT_EQ(faceNumbers("1 2 3 4"), (Numbers{1, 2, 3, 4}));
    EXPECT_EQ(faceNumbers("1\t2\t\t3"), (Numbers{1, 2, 3}));
    EXPECT_EQ(faceNumbers("+4 -1"), (Numbers{4, -1}));
    EXPECT_TRUE(faceNumbers("").empty());
    EXPECT_TRUE(faceNumbers("   ").empty());
}

TEST(FaceBody, ReadingStopsAtTheFirstItemThatIsNoInteger) {
    EXPECT_EQ(faceNumbers("1 2 x 3"), (Numbers{1, 2}));
    EXPECT_EQ(faceNumbers("1 2abc 3"), (Numbers{1, 2}));
    EXPECT_EQ(faceNumbers("1 - 3"), (Numbers{1}));
    EXPECT_EQ(faceNumbers("1.5 2"), (Numbers{1}));
}

TEST(FaceBody, HugeNumbersSaturateInsteadOfOverflowing) {
    EXPECT_EQ(faceNumbers("99999999999999999999999999 1"), (Numbers{kHugeVertexNumber, 1}));
    EXPECT_EQ(faceNumbers("-99999999999999999999999999"), (Numbers{-kHugeVertexNumber}));
}

TEST(VertexNumbers, RelativeNumbersCountBackFromTheLastVertexRead) {
    VertexNumberCheck check;
    EXPECT_EQ(check.resolve(-1, 5), 5u);
    EXPECT_EQ(check.resolve(-5, 5), 1u);
    EXPECT_EQ(check.resolve(3, 0), 3u);   // a vertex line may follow the face
    EXPECT_TRUE(check.allValid(3));
    EXPECT_FALSE(check.allValid(2));
}

TEST(VertexNumbers, ZeroAndNumbersBeforeTheFirstVertexAreInvalid) {
    VertexNumberCheck zero;
    zero.resolve(0, 10);
    EXPECT_FALSE(zero.allValid(10));
    VertexNumberCheck tooFarBack;
    tooFarBack.resolve(-6, 5);
    EXPECT_FALSE(tooFarBack.allValid(100));
    VertexNumberCheck huge;
    huge.resolve(kHugeVertexNumber, 10);
    EXPECT_FALSE(huge.allValid(kMaxVertexLines));
    VertexNumberCheck hugeBack;
    hugeBack.resolve(-kHugeVertexNumber, 10);
    EXPECT_FALSE(hugeBack.allValid(10));
}

TEST(Coordinates, ReadFloatsTakesWhatIsThereAndZeroesTheRest) {
    float xyz[3];
    EXPECT_EQ(readFloats("1.5 -2 3e2 7", xyz, 3), 3);
    EXPECT_EQ(xyz[0], 1.5f);
    EXPECT_EQ(xyz[1], -2.0f);
    EXPECT_EQ(xyz[2], 300.0f);
    EXPECT_EQ(readFloats("  +0.25", xyz, 3), 1);
    EXPECT_EQ(xyz[0], 0.25f);
    EXPECT_EQ(xyz[1], 0.0f);
    EXPECT_EQ(xyz[2], 0.0f);
    EXPECT_EQ(readFloats("4 x 5", xyz, 3), 1);
    EXPECT_EQ(xyz[2], 0.0f);
    EXPECT_EQ(readFloats("1e60 1e-60", xyz, 2), 2);
    EXPECT_TRUE(std::isinf(xyz[0]));
    EXPECT_EQ(xyz[1], 0.0f);
}

TEST(Coordinates, ReadFloatsRoundsOnceToFloat) {
    // The nearest float of this text differs from the float of its nearest double.
    float value;
    readFloats("1.00000005960464477550", &value, 1);
    EXPECT_EQ(value, 1.00000011920928955078125f);
}

}  // namespace
