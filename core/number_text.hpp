#pragma once
// Locale-free number text. Whatever locale the host process has set, numbers
// are written with a '.' decimal point and read the same way.

#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>

namespace ostrel {

// Longest text formatG6 writes ("-1.17549e-38" and the like) with room to spare.
inline constexpr size_t kNumberTextMax = 32;

// printf("%g") with six significant digits, for the C locale. Returns the end
// of the written text; `out` must have kNumberTextMax bytes.
inline char* formatG6(char* out, double value) noexcept {
    auto result = std::to_chars(out, out + kNumberTextMax, value, std::chars_format::general, 6);
    return result.ptr;
}

// printf("%d").
inline char* formatInt(char* out, int64_t value) noexcept {
    return std::to_chars(out, out + kNumberTextMax, value).ptr;
}

// Reads a decimal floating-point number at the start of [first, last), as
// strtod would in the C locale for the forms text files use: an optional sign
// ('+' included), digits with an optional point and exponent, "inf", "nan".
// Returns the end of the number, or nullptr when there is none.
inline const char* parseDouble(const char* first, const char* last, double& value) noexcept {
    const char* start = first;
    if (start != last && *start == '+') {
        ++start;
        if (start != last && *start == '-') return nullptr;
    }
    auto result = std::from_chars(start, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod: overflow gives an infinity, underflow a zero, both signed.
        bool negative = *start == '-';
        bool underflow = false;
        for (const char* p = start; p != result.ptr; ++p)
            if ((*p == 'e' || *p == 'E') && p + 1 != result.ptr && p[1] == '-') underflow = true;
        double magnitude = underflow ? 0.0 : std::numeric_limits<double>::infinity();
        value = negative ? -magnitude : magnitude;
        return result.ptr;
    }
    if (result.ec != std::errc()) return nullptr;
    return result.ptr;
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
