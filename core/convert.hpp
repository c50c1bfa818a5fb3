#pragma once
// Conversions of the host's double argument. Both are defined for every double:
// the host's scripts may pass NaN or values far outside 32-bit range.

#include <cmath>
#include <cstdint>
#include <limits>

namespace ostrel {

// Toward zero to a signed 32-bit integer; NaN gives 0 and out-of-range values
// saturate at the nearest bound.
constexpr int32_t trunc(double value) noexcept {
    if (value != value) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Narrowing to float; values beyond float's range become the matching infinity
// instead of the undefined conversion.
constexpr float narrow(double value) noexcept {
    constexpr double maxFloat = std::numeric_limits<float>::max();
    if (value > maxFloat) return std::numeric_limits<float>::infinity();
    if (value < -maxFloat) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace ostrel
