// The project's own number text: printf("%g")-style formatting and correctly
// rounded parsing of doubles and floats. Where the C++ library has the
// floating-point std::to_chars and std::from_chars (libstdc++ on glibc), every
// result is compared bit for bit with them over random and boundary inputs;
// the cases whose answer is known are checked on every build.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/number_text.hpp"

#if defined(__GLIBCXX__) && defined(__GLIBC__)
#include <charconv>
#define OSTREL_HAVE_REFERENCE 1
#endif

namespace {

using namespace ostrel;

std::string formatted(double value) {
    char out[kNumberTextMax];
    return std::string(out, formatG6(out, value));
}

// The parse's value and how much of the text it took (-1: no number).
template <class Float>
std::pair<Float, long> parsed(const std::string& text) {
    Float value = Float(-12345);
    const char* end = nullptr;
    if constexpr (std::is_same_v<Float, double>) end = parseDouble(text.data(), text.data() + text.size(), value);
    else end = parseFloat(text.data(), text.data() + text.size(), value);
    return {value, end ? long(end - text.data()) : -1L};
}

template <class Float>
auto bitsOf(Float value) {
    if constexpr (std::is_same_v<Float, double>) return std::bit_cast<uint64_t>(value);
    else return std::bit_cast<uint32_t>(value);
}

TEST(FormatG6, RoundsTheExactValueHalfToEven) {
    EXPECT_EQ(formatted(1234565.0), "1.23456e+06");   // exact ties
    EXPECT_EQ(formatted(1234575.0), "1.23458e+06");
    EXPECT_EQ(formatted(999999.5), "1e+06");
    EXPECT_EQ(formatted(999998.5), "999998");
    EXPECT_EQ(formatted(0.1), "0.1");
    EXPECT_EQ(formatted(2.5e-5), "2.5e-05");
    EXPECT_EQ(formatted(0.0001), "0.0001");
    EXPECT_EQ(formatted(123456.4999999), "123456");
    EXPECT_EQ(formatted(-0.000123456789), "-0.000123457");
}

TEST(FormatG6, CoversTheWholeDoubleRange) {
    EXPECT_EQ(formatted(std::numeric_limits<double>::max()), "1.79769e+308");
    EXPECT_EQ(formatted(std::numeric_limits<double>::denorm_min()), "4.94066e-324");
    EXPECT_EQ(formatted(-std::numeric_limits<double>::min()), "-2.22507e-308");
    EXPECT_EQ(formatted(1e100), "1e+100");
    EXPECT_EQ(formatted(0.0), "0");
    EXPECT_EQ(formatted(-0.0), "-0");
    EXPECT_EQ(formatted(-INFINITY), "-inf");
    EXPECT_EQ(formatted(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(formatted(-std::numeric_limits<double>::quiet_NaN()), "-nan");
}

TEST(ParseDouble, RoundsCorrectlyWhereTheFastPathCannot) {
    // 2^53 + 1 lies halfway between two doubles: ties to even, unless any
    // digit however far behind tips it.
    EXPECT_EQ(parsed<double>("9007199254740993").first, 9007199254740992.0);
    EXPECT_EQ(parsed<double>("9007199254740993." + std::string(900, '0') + "1").first, 9007199254740994.0);
    EXPECT_EQ(parsed<double>("9007199254740995").first, 9007199254740996.0);
    EXPECT_EQ(parsed<double>("2.4703282292062328e-324").first, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(parsed<double>("2.4703282292062327e-324").first, 0.0);
    EXPECT_EQ(parsed<double>("1.7976931348623157e308").first, std::numeric_limits<double>::max());
    EXPECT_EQ(parsed<double>("0.1").first, 0.1);
    EXPECT_EQ(parsed<double>("1e23").first, 1e23);
    EXPECT_EQ(parsed<double>(std::string(400, '9')).first, INFINITY);
    // Underflow by leading zeros as well as by the exponent.
    const auto tiny = parsed<double>("-0." + std::string(400, '0') + "1");
    EXPECT_EQ(tiny.first, 0.0);
    EXPECT_TRUE(std::signbit(tiny.first));
    EXPECT_EQ(parsed<double>("1e-99999999999999999999").first, 0.0);
    EXPECT_EQ(parsed<double>("-1e99999999999999999999").first, -INFINITY);
    EXPECT_EQ(parsed<double>("0e99999").first, 0.0);
}

TEST(ParseDouble, TakesTheNumbersFormAndNoMore) {
    EXPECT_EQ(parsed<double>("1e").second, 1);
    EXPECT_EQ(parsed<double>("1e+").second, 1);
    EXPECT_EQ(parsed<double>("1.e5x"), std::make_pair(1e5, 4L));
    EXPECT_EQ(parsed<double>("-.5"), std::make_pair(-0.5, 3L));
    EXPECT_EQ(parsed<double>("0x10"), std::make_pair(0.0, 1L));
    EXPECT_EQ(parsed<double>("1.5.5").second, 3);
    EXPECT_EQ(parsed<double>("+-1").second, -1);
    EXPECT_EQ(parsed<double>("-+1").second, -1);
    EXPECT_EQ(parsed<double>(".").second, -1);
    EXPECT_EQ(parsed<double>(".e1").second, -1);
    EXPECT_EQ(parsed<double>("").second, -1);
    EXPECT_EQ(parsed<double>(" 1").second, -1);
    EXPECT_EQ(parsed<double>("-Infinity"), std::make_pair(-HUGE_VAL, 9L));
    EXPECT_EQ(parsed<double>("infinit"), std::make_pair(HUGE_VAL, 3L));
    EXPECT_EQ(parsed<double>("nan(abc_1)").second, 10);
    EXPECT_EQ(parsed<double>("nan(a-b)").second, 3);
    EXPECT_TRUE(std::signbit(parsed<double>("-NaN").first));
}

TEST(ParseFloat, RoundsOnceFromTheText) {
    // The nearest float of this text differs from the float of its nearest double.
    EXPECT_EQ(parsed<float>("1.00000005960464477550").first, 1.00000011920928955078125f);
    EXPECT_EQ(parsed<float>("1.000000059604644775390625").first, 1.0f);   // exact tie
    EXPECT_EQ(parsed<float>("3.40282356e38").first, std::numeric_limits<float>::max());
    EXPECT_EQ(parsed<float>("3.4028235677973366e38").first, std::numeric_limits<float>::max());
    EXPECT_EQ(parsed<float>("340282356779733661637539395458142568448").first, INFINITY);   // halfway to 2^128
    EXPECT_EQ(parsed<float>("7.0064923217e-46").first, std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(parsed<float>("7.0064923e-46").first, 0.0f);
    EXPECT_EQ(parsed<float>("-1e-60").first, 0.0f);
    EXPECT_EQ(parsed<float>("1e39").first, INFINITY);
}

TEST(ParseFloat, ShortDecimalsReadExactlyAsTheGeneralParserReadsThem) {
    // Digits near 2^24, many fraction digits, signs, and values just beside
    // float rounding boundaries: both readings must give the same bits.
    uint64_t state = 12345;
    auto next = [&] { return state = state * 6364136223846793005ull + 1442695040888963407ull; };
    for (int i = 0; i < 200000; ++i) {
        std::string text = (next() >> 63) ? "-" : "";
        std::string digits = std::to_string((next() >> 33) % (i % 2 ? 16777300u : 100000u));
        size_t point = (next() >> 40) % (digits.size() + 1);
        text += digits.substr(0, point) + "." + digits.substr(point);
        if (i % 7 == 0) text += std::string(size_t((next() >> 60) % 4), '0');
        float fast = 0, general = 0;
        const char* end = text.data() + text.size();
        const char* fastEnd = parseShortDecimal(text.data(), end, fast);
        const char* generalEnd = parseFloatText(text.data(), end, general);
        ASSERT_EQ(generalEnd, end) << text;
        if (!fastEnd) continue;
        ASSERT_EQ(fastEnd, end) << text;
        ASSERT_EQ(std::bit_cast<uint32_t>(fast), std::bit_cast<uint32_t>(general)) << text;
    }
}

#if defined(OSTREL_HAVE_REFERENCE)

// Texts that reach every path of the parsers: short and long digit strings,
// exponents from underflow to overflow, exact halfway points between two
// neighbours of the target type and the texts just beside them.
class TextSource {
public:
    explicit TextSource(uint32_t seed) : random_(seed) {}

    template <class Float>
    std::string next() {
        switch (random_() % 4) {
        case 0: return digitsAndExponent();
        case 1: return std::to_string(random_()) + "." + std::to_string(random_()) + std::to_string(random_());
        case 2: return halfway<Float>();
        default: return shortest<Float>();
        }
    }

private:
    std::string digitsAndExponent() {
        std::string text = random_() % 2 ? "-" : "";
        const size_t digits = 1 + random_() % (random_() % 8 ? 20 : 60);
        for (size_t i = 0; i < digits; ++i) text += char('0' + random_() % 10);
        if (random_() % 2) text.insert(text.size() - random_() % digits, 1, '.');
        text += 'e';
        text += std::to_string(int(random_() % 700) - 360);
        return text;
    }

    // A random value of the type, uniform over its bit patterns.
    template <class Float>
    Float randomValue() {
        for (;;) {
            Float value;
            if constexpr (std::is_same_v<Float, double>)
                value = std::bit_cast<double>((uint64_t(random_()) << 32 | uint32_t(random_())) & ~(uint64_t(1) << 63));
            else value = std::bit_cast<float>(uint32_t(random_() & 0x7FFFFFFFu));
            if (std::isfinite(value)) return value;
        }
    }

    // The exact decimal of the point halfway from a value to the next one up,
    // as it is, cut short, or with a digit added far behind.
    template <class Float>
    std::string halfway() {
        Float low, high;
        do {
            low = randomValue<Float>();
            high = std::nextafter(low, std::numeric_limits<Float>::infinity());
        } while (!std::isfinite(high));
        const long double middle = (static_cast<long double>(low) + static_cast<long double>(high)) / 2;
        char text[1200];
        std::snprintf(text, sizeof text, "%.800Le", middle);
        std::string exact = text;
        const size_t e = exact.find('e');
        std::string mantissa = exact.substr(0, e), exponent = exact.substr(e);
        while (mantissa.back() == '0') mantissa.pop_back();
        switch (random_() % 3) {
        case 0: return mantissa + exponent;
        case 1: return mantissa.substr(0, mantissa.size() - 1) + exponent;
        default: return mantissa + "0000001" + exponent;
        }
    }

    template <class Float>
    std::string shortest() {
        char text[64];
        std::to_chars_result result = std::to_chars(text, text + sizeof text, randomValue<Float>());
        return std::string(text, result.ptr);
    }

    std::mt19937 random_;
};

template <class Float>
void expectSameAsFromChars(const std::string& text) {
    Float expected = 0;
    auto reference = std::from_chars(text.data(), text.data() + text.size(), expected);
    const auto [value, length] = parsed<Float>(text);
    ASSERT_EQ(length, reference.ptr - text.data()) << text;
    if (reference.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone there; strtod's answers apply.
        const bool underflow = std::fabs(value) == 0;
        ASSERT_TRUE(underflow || std::isinf(value)) << text;
        ASSERT_EQ(std::signbit(value), text[0] == '-') << text;
        return;
    }
    ASSERT_EQ(reference.ec, std::errc()) << text;
    ASSERT_EQ(bitsOf(value), bitsOf(expected)) << text;
}

TEST(NumberTextAgainstTheCppLibrary, DoublesParseBitForBitAsFromChars) {
    TextSource source(11);
    for (int i = 0; i < 40000; ++i) ASSERT_NO_FATAL_FAILURE(expectSameAsFromChars<double>(source.next<double>()));
}

TEST(NumberTextAgainstTheCppLibrary, FloatsParseBitForBitAsFromChars) {
    TextSource source(12);
    for (int i = 0; i < 40000; ++i) ASSERT_NO_FATAL_FAILURE(expectSameAsFromChars<float>(source.next<float>()));
}

TEST(NumberTextAgainstTheCppLibrary, DoublesFormatAsToChars) {
    std::mt19937_64 random(13);
    auto expectSame = [](double value) {
        char expected[kNumberTextMax];
        auto result = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::general, 6);
        ASSERT_EQ(formatted(value), std::string(expected, result.ptr)) << std::bit_cast<uint64_t>(value);
    };
    for (int i = 0; i < 100000; ++i) ASSERT_NO_FATAL_FAILURE(expectSame(std::bit_cast<double>(random())));
    // Beside every power of ten, where the exponent guess and the rounding
    // of six digits are decided, in the fast path's range and beyond it.
    for (int exponent = -323; exponent <= 308; ++exponent) {
        for (double scale : {1.0, 0.9999995, 1.0000005, 0.5}) {
            double value = std::pow(10.0, exponent) * scale;
            for (int step = 0; step < 20; ++step) value = std::nextafter(value, 0.0);
            for (int step = 0; step < 40; ++step, value = std::nextafter(value, INFINITY))
                ASSERT_NO_FATAL_FAILURE(expectSame(value));
        }
    }
}

#else

TEST(NumberTextAgainstTheCppLibrary, Skipped) {
    GTEST_SKIP() << "this C++ library has no floating-point std::from_chars and std::to_chars to compare with";
}

#endif

}  // namespace
