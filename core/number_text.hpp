#pragma once
// Locale-free number text. Whatever locale the host process has set, numbers
// are written with a '.' decimal point and read the same way.
//
// Floating-point text is converted by the project's own code, exactly: the
// results are the correctly rounded ones, bit for bit the same on every build.
// No floating-point std::to_chars or std::from_chars is used, as the C++
// library of macOS has no floating from_chars and its floating to_chars needs
// macOS 13.3.

#include <charconv>
#include <cstddef>
#include <cstdint>

namespace ostrel {

// Longest text formatG6 writes ("-1.17549e-308" and the like) with room to spare.
inline constexpr size_t kNumberTextMax = 32;

// printf("%g") with six significant digits, for the C locale: the exact value
// rounded to six digits with ties to even, trailing zeros dropped, exponent
// form below 1e-4 and from 1e6 on; "inf", "-inf", "nan", "-nan" (by the sign
// bit) and "-0" as printf writes them. Returns the end of the written text;
// `out` must have kNumberTextMax bytes.
char* formatG6(char* out, double value) noexcept;

// printf("%d").
inline char* formatInt(char* out, int64_t value) noexcept {
    return std::to_chars(out, out + kNumberTextMax, value).ptr;
}

// Reads a decimal floating-point number at the start of [first, last), as
// strtod would in the C locale for the forms text files use: an optional sign
// ('+' included, "+-" refused), digits with an optional point and an optional
// exponent (an 'e' without digits after it is not part of the number),
// "inf"/"infinity" and "nan"/"nan(chars)" in any case. The value is the
// correctly rounded one; overflow gives an infinity and underflow a zero, both
// signed. Returns the end of the number, or nullptr when there is none.
const char* parseDouble(const char* first, const char* last, double& value) noexcept;

// The same for a float, rounded once from the text (never through a double).
const char* parseFloatText(const char* first, const char* last, float& value) noexcept;

// The common short decimal ("-0.25", "12.5", "3") read without the general
// parser: with at most 2^24 as the digits' value and at most 10 digits after
// the point, both the digits and the power of ten are exact floats, so one
// float division gives the correctly rounded value, the same as the general
// parser gives. Returns the end of the number, or nullptr when the text needs
// the general parser (more digits, an exponent, inf, nan).
inline const char* parseShortDecimal(const char* p, const char* end, float& value) noexcept {
    static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    // Digits beyond nine wrap `digits` round, but then the text is refused.
    uint32_t digits = 0;
    const char* const integerStart = p;
    for (uint32_t d; p != end && (d = uint32_t(uint8_t(*p)) - '0') < 10; ++p) digits = digits * 10 + d;
    size_t significant = size_t(p - integerStart), fraction = 0;
    if (p != end && *p == '.') {
        const char* const fractionStart = ++p;
        for (uint32_t d; p != end && (d = uint32_t(uint8_t(*p)) - '0') < 10; ++p) digits = digits * 10 + d;
        fraction = size_t(p - fractionStart);
        significant += fraction;
    }
    if (significant == 0 || significant > 9 || fraction > 10 || digits > (1u << 24)) return nullptr;
    if (p != end && (*p == 'e' || *p == 'E')) return nullptr;
    const float magnitude = float(digits) / kPowersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    return p;
}

// parseFloatText with the short decimals of OBJ coordinates taken first.
inline const char* parseFloat(const char* first, const char* last, float& value) noexcept {
    if (const char* end = parseShortDecimal(first, last, value)) return end;
    return parseFloatText(first, last, value);
}

// Reads an optionally signed decimal integer without overflow. Returns the end
// of the digits, or nullptr when there are none or the value leaves int64.
inline const char* parseInt64(const char* first, const char* last, int64_t& value) noexcept {
    const char* start = first;
    if (start != last && *start == '+') ++start;
    auto result = std::from_chars(start, last, value);
    if (result.ec != std::errc()) return nullptr;
    return result.ptr;
}

}  // namespace ostrel
