// Decimal text of floating-point numbers, both ways, exactly.
//
// Each direction has a fast path in double arithmetic whose error is bounded,
// used only when that bound proves the result; every other number goes through
// exact integer arithmetic on large integers. Both give the correctly rounded
// result, so the text does not depend on the C++ library or the processor.

#include "core/number_text.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace ostrel {
namespace {

// ---- Exact arithmetic ------------------------------------------------------

// An unsigned integer of up to kLimbs 32-bit limbs, least significant first.
// The conversions below bound their operands well inside it (under 3,800
// bits: an 801-digit decimal times 2^1076, or 10^1126 shifted by 55 bits); a
// carry past the last limb is dropped rather than written out of bounds.
class BigInt {
public:
    static constexpr int kLimbs = 124;

    explicit BigInt(uint64_t value) noexcept {
        limbs_[0] = uint32_t(value);
        limbs_[1] = uint32_t(value >> 32);
        size_ = limbs_[1] ? 2 : (limbs_[0] ? 1 : 0);
    }

    void multiplyAdd(uint32_t factor, uint32_t addend) noexcept {
        uint64_t carry = addend;
        for (int i = 0; i < size_; ++i) {
            const uint64_t product = uint64_t(limbs_[i]) * factor + carry;
            limbs_[i] = uint32_t(product);
            carry = product >> 32;
        }
        if (carry && size_ < kLimbs) limbs_[size_++] = uint32_t(carry);
    }

    void multiplyByPow10(int n) noexcept {
        for (; n >= 9; n -= 9) multiplyAdd(1000000000u, 0);
        static constexpr uint32_t kSmall[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        if (n > 0) multiplyAdd(kSmall[n], 0);
    }

    void shiftLeft(int n) noexcept {
        if (size_ == 0 || n <= 0) return;
        const int limbShift = n / 32, bitShift = n % 32;
        const int newSize = std::min(kLimbs, size_ + limbShift + 1);
        for (int i = newSize - 1; i >= 0; --i) {
            const int from = i - limbShift;
            uint32_t high = from >= 0 && from < size_ ? limbs_[from] : 0;
            uint32_t low = from - 1 >= 0 && from - 1 < size_ ? limbs_[from - 1] : 0;
            limbs_[i] = bitShift ? (high << bitShift) | (low >> (32 - bitShift)) : high;
        }
        size_ = newSize;
        trim();
    }

    void shiftRightOne() noexcept {
        for (int i = 0; i < size_; ++i) limbs_[i] = (limbs_[i] >> 1) | (i + 1 < size_ ? limbs_[i + 1] << 31 : 0);
        trim();
    }

    // *this -= other, for other <= *this.
    void subtract(const BigInt& other) noexcept {
        int64_t borrow = 0;
        for (int i = 0; i < size_; ++i) {
            int64_t difference = int64_t(limbs_[i]) - (i < other.size_ ? int64_t(other.limbs_[i]) : 0) - borrow;
            borrow = difference < 0;
            limbs_[i] = uint32_t(difference + (borrow << 32));
        }
        trim();
    }

    int bitLength() const noexcept { return size_ == 0 ? 0 : 32 * (size_ - 1) + std::bit_width(limbs_[size_ - 1]); }

    // The bits [from, from + count) as a number; count at most 64.
    uint64_t bits(int from, int count) const noexcept {
        uint64_t result = 0;
        for (int i = count - 1; i >= 0; --i) result = (result << 1) | uint64_t(bit(from + i));
        return result;
    }

    bool anyBitBelow(int n) const noexcept {
        for (int i = 0; i < size_ && 32 * i < n; ++i) {
            const int within = n - 32 * i;
            const uint32_t mask = within >= 32 ? ~0u : (1u << within) - 1;
            if (limbs_[i] & mask) return true;
        }
        return false;
    }

    bool isZero() const noexcept { return size_ == 0; }

    friend int compare(const BigInt& a, const BigInt& b) noexcept {
        if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
        for (int i = a.size_ - 1; i >= 0; --i)
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        return 0;
    }

private:
    bool bit(int n) const noexcept { return n / 32 < size_ && ((limbs_[n / 32] >> (n % 32)) & 1u); }
    void trim() noexcept {
        while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
    }

    uint32_t limbs_[kLimbs] = {};
    int size_ = 0;
};

// floor(numerator / denominator) for a quotient below 2^quotientBits (at most
// 64); the numerator is left holding the remainder.
uint64_t divideSmallQuotient(BigInt& numerator, BigInt denominator, int quotientBits) noexcept {
    denominator.shiftLeft(quotientBits - 1);
    uint64_t quotient = 0;
    for (int i = quotientBits - 1; i >= 0; --i) {
        if (compare(numerator, denominator) >= 0) {
            numerator.subtract(denominator);
            quotient |= uint64_t(1) << i;
        }
        denominator.shiftRightOne();
    }
    return quotient;
}

// floor(log10(2^e)) for |e| below 1,650.
constexpr int floorLog10Pow2(int e) noexcept { return (e * 78913) >> 18; }

// ---- Formatting ------------------------------------------------------------

constexpr uint32_t kSixDigitsLow = 100000, kSixDigitsHigh = 1000000;

// Powers of ten for scaling a double to six integer digits in the fast path.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12,
                             1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25,
                             1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38,
                             1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45, 1e46, 1e47, 1e48, 1e49, 1e50, 1e51};
constexpr int kPow10Count = int(sizeof kPow10 / sizeof kPow10[0]);

double scaledBy10(double magnitude, int k) noexcept {
    return k >= 0 ? magnitude * kPow10[k] : magnitude / kPow10[-k];
}

// The six significant digits of a positive double in [kSixDigitsLow,
// kSixDigitsHigh) and its decimal exponent, from the scaling in double
// precision; false when that cannot decide them. The scaled value errs by
// less than 3e-9 (two roundings of at most 2^-53 each, at most seven integer
// digits), so the rounded digits are certain unless the fraction lies within
// 1e-7 of one half; those rare values (exact ties among them) are left to the
// exact path, as are values whose scale factor is not in the table.
bool sixDigitsFast(double magnitude, uint32_t& digits, int& exponent) noexcept {
    if (magnitude < std::numeric_limits<double>::min()) return false;   // subnormal
    const int binaryExponent = int(std::bit_cast<uint64_t>(magnitude) >> 52) - 1023;
    // The decimal exponent or one below it.
    exponent = floorLog10Pow2(binaryExponent);
    // One more power either way for the second try below.
    if (5 - exponent >= kPow10Count || exponent - 5 >= kPow10Count - 1) return false;
    double scaled = scaledBy10(magnitude, 5 - exponent);
    if (scaled >= 1e6) scaled = scaledBy10(magnitude, 5 - ++exponent);
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-7) return false;
    uint64_t rounded = uint64_t(whole) + (fraction > 0.5 ? 1 : 0);
    if (rounded == kSixDigitsHigh) {
        rounded = kSixDigitsLow;
        ++exponent;
    }
    if (rounded < kSixDigitsLow || rounded >= kSixDigitsHigh) return false;
    digits = uint32_t(rounded);
    return true;
}

// The same digits and exponent for every positive finite double, from the
// exact value m * 2^e: the quotient of m * 2^e * 10^(5 - exponent), rounded
// half to even by comparing twice the remainder with the divisor.
void sixDigitsExact(double magnitude, uint32_t& digits, int& exponent) noexcept {
    const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
    const int biased = int(bits >> 52);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    int binaryExponent = -1074;
    if (biased != 0) {
        mantissa |= uint64_t(1) << 52;
        binaryExponent = biased - 1075;
    }
    // The decimal exponent or one below it; a quotient of seven digits tells.
    exponent = floorLog10Pow2(binaryExponent + std::bit_width(mantissa) - 1);
    for (;;) {
        BigInt numerator(mantissa), denominator(1);
        if (binaryExponent > 0) numerator.shiftLeft(binaryExponent);
        else denominator.shiftLeft(-binaryExponent);
        if (5 - exponent > 0) numerator.multiplyByPow10(5 - exponent);
        else denominator.multiplyByPow10(exponent - 5);
        uint64_t quotient = divideSmallQuotient(numerator, denominator, 24);
        if (quotient >= kSixDigitsHigh) {
            ++exponent;
            continue;
        }
        numerator.shiftLeft(1);
        const int half = compare(numerator, denominator);
        if (half > 0 || (half == 0 && (quotient & 1))) ++quotient;
        if (quotient == kSixDigitsHigh) {
            quotient = kSixDigitsLow;
            ++exponent;
        }
        digits = uint32_t(quotient);
        return;
    }
}

char* putText(char* out, const char* text) noexcept {
    while (*text) *out++ = *text++;
    return out;
}

// Trailing zeros of the fraction are dropped, and the point with them.
char* putDigitsG(char* out, const char* digits, int integerDigits, int fractionDigits) noexcept {
    for (int i = 0; i < integerDigits; ++i) *out++ = digits[i];
    while (fractionDigits > 0 && digits[integerDigits + fractionDigits - 1] == '0') --fractionDigits;
    if (fractionDigits == 0) return out;
    *out++ = '.';
    for (int i = 0; i < fractionDigits; ++i) *out++ = digits[integerDigits + i];
    return out;
}

// d.ddddde+XX, with at least two exponent digits (three from 1e100 on).
char* putExponentForm(char* out, const char* digits, int exponent) noexcept {
    out = putDigitsG(out, digits, 1, 5);
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int shown = exponent < 0 ? -exponent : exponent;
    if (shown >= 100) *out++ = char('0' + shown / 100);
    *out++ = char('0' + shown / 10 % 10);
    *out++ = char('0' + shown % 10);
    return out;
}

// 0.000ddd: the digits after -exponent - 1 zeros, trailing zeros dropped.
char* putSmallFixedForm(char* out, const char* digits, int exponent) noexcept {
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
    int shown = 6;
    while (digits[shown - 1] == '0') --shown;
    for (int i = 0; i < shown; ++i) *out++ = digits[i];
    return out;
}

// ---- Parsing ---------------------------------------------------------------

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// True when [p, last) starts with `word` (lower case), in any case.
bool startsWithWord(const char* p, const char* last, const char* word) noexcept {
    for (; *word; ++p, ++word)
        if (p == last || lower(*p) != *word) return false;
    return true;
}

// A number's text taken apart. Its value is S * 10^exponent, where S is the
// integer made of every digit from the first nonzero one on.
struct DecimalText {
    enum Kind { Number, Infinity, NotANumber } kind = Number;
    bool negative = false;
    const char* end = nullptr;
    const char* digitsBegin = nullptr;   // the digits and the point, as written
    const char* digitsEnd = nullptr;
    uint64_t leading = 0;      // the first (up to) 19 digits of S
    int64_t significant = 0;   // how many digits S has
    int64_t exponent = 0;
    bool nonzeroDropped = false;   // a nonzero digit of S after the first 19
};

// Saturation bound of a written exponent: far past every value that is not
// zero or infinite, with room to add the digit counts of any text.
constexpr int64_t kExponentCap = int64_t(1) << 40;

// Reads the text's form; false when it does not start with a number.
bool scanDecimal(const char* first, const char* last, DecimalText& text) noexcept {
    const char* p = first;
    if (p != last && *p == '+') {
        ++p;
        if (p != last && *p == '-') return false;
    }
    if (p != last && *p == '-') {
        text.negative = true;
        ++p;
    }
    if (startsWithWord(p, last, "inf")) {
        text.kind = DecimalText::Infinity;
        text.end = startsWithWord(p, last, "infinity") ? p + 8 : p + 3;
        return true;
    }
    if (startsWithWord(p, last, "nan")) {
        text.kind = DecimalText::NotANumber;
        p += 3;
        text.end = p;
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last && (isDigit(*q) || (lower(*q) >= 'a' && lower(*q) <= 'z') || *q == '_')) ++q;
            if (q != last && *q == ')') text.end = q + 1;
        }
        return true;
    }
    text.digitsBegin = p;
    const char* integerBegin = p;
    while (p != last && *p == '0') ++p;
    const char* significantBegin = p;
    while (p != last && isDigit(*p)) ++p;
    const char* const integerEnd = p;
    const char* fractionBegin = p;
    const bool point = p != last && *p == '.';
    if (point) {
        fractionBegin = ++p;
        while (p != last && isDigit(*p)) ++p;
    }
    if (integerEnd == integerBegin && p == fractionBegin) return false;   // no digit at all
    if (significantBegin == integerEnd) {
        // No significant digit before the point: skip the fraction's zeros.
        significantBegin = fractionBegin;
        while (significantBegin != p && *significantBegin == '0') ++significantBegin;
    }
    const int64_t fractionDigits = p - fractionBegin;
    const int64_t pointInside = point && significantBegin < integerEnd ? 1 : 0;
    text.significant = (p - significantBegin) - pointInside;
    // The first 19 digits of S, then whether a nonzero one follows them.
    int taken = 0;
    const char* digit = significantBegin;
    for (; digit != p && taken < 19; ++digit) {
        if (*digit == '.') continue;
        text.leading = text.leading * 10 + uint64_t(*digit - '0');
        ++taken;
    }
    for (; digit != p; ++digit)
        if (*digit != '0' && *digit != '.') text.nonzeroDropped = true;
    text.digitsEnd = p;
    int64_t written = 0;
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q != last && (*q == '+' || *q == '-')) negativeExponent = *q++ == '-';
        if (q != last && isDigit(*q)) {
            for (; q != last && isDigit(*q); ++q)
                if (written < kExponentCap) written = written * 10 + (*q - '0');
            if (negativeExponent) written = -written;
            p = q;
        }
    }
    text.end = p;
    // Digits after the point scale S down; so do the digits of S not kept.
    text.exponent = written - fractionDigits;
    return true;
}

// The layout of a binary floating-point type.
template <class Float>
struct Layout;
template <>
struct Layout<double> {
    using Bits = uint64_t;
    static constexpr int kPrecision = 53;     // significand bits, the hidden one included
    static constexpr int kMinUnit = 1074;     // the smallest subnormal is 2^-kMinUnit
    static constexpr int kBias = 1023;
    static constexpr int kMaxBiased = 2046;
};
template <>
struct Layout<float> {
    using Bits = uint32_t;
    static constexpr int kPrecision = 24;
    static constexpr int kMinUnit = 149;
    static constexpr int kBias = 127;
    static constexpr int kMaxBiased = 254;
};

template <class Float>
Float signedZero(bool negative) noexcept {
    return negative ? -Float(0) : Float(0);
}
template <class Float>
Float signedInfinity(bool negative) noexcept {
    return negative ? -std::numeric_limits<Float>::infinity() : std::numeric_limits<Float>::infinity();
}

// Rounds quotient * 2^-shift (plus less than one unit of the quotient's last
// bit when `sticky`) to the nearest Float, ties to even, keeping no bit below
// 2^-kMinUnit. The quotient carries at least two bits more than the result
// keeps, or is exact.
template <class Float>
Float roundToFloat(uint64_t quotient, bool sticky, int shift, bool negative) noexcept {
    using L = Layout<Float>;
    const int length = std::bit_width(quotient);
    const int dropped = std::max(length - L::kPrecision, shift - L::kMinUnit);
    uint64_t mantissa = quotient;
    int exponent = -shift;
    if (dropped > 0) {
        if (dropped >= 64) {
            mantissa = 0;   // far below half of the smallest subnormal
        } else {
            const uint64_t rest = quotient & ((uint64_t(1) << dropped) - 1);
            const uint64_t half = uint64_t(1) << (dropped - 1);
            mantissa = quotient >> dropped;
            if (rest > half || (rest == half && (sticky || (mantissa & 1)))) ++mantissa;
        }
        exponent += dropped;
    }
    if (mantissa == uint64_t(1) << L::kPrecision) {
        mantissa >>= 1;
        ++exponent;
    }
    if (mantissa == 0) return signedZero<Float>(negative);
    typename L::Bits bits;
    if (mantissa < uint64_t(1) << (L::kPrecision - 1)) {
        bits = typename L::Bits(mantissa);   // subnormal: the exponent is -kMinUnit here
    } else {
        const int biased = exponent + L::kPrecision - 1 + L::kBias;
        if (biased > L::kMaxBiased) return signedInfinity<Float>(negative);
        bits = typename L::Bits((uint64_t(biased) << (L::kPrecision - 1)) |
                                (mantissa & ((uint64_t(1) << (L::kPrecision - 1)) - 1)));
    }
    const Float magnitude = std::bit_cast<Float>(bits);
    return negative ? -magnitude : magnitude;
}

// Digits kept for the exact conversion. A value halfway between two doubles
// has at most 767 significant digits, so no such value lies between a text
// cut after this many digits and the same text with a 1 appended: the cut
// text, with a 1 appended when a nonzero digit was cut, rounds as the whole.
constexpr int64_t kExactDigits = 800;

// The correctly rounded Float of the text, by exact integer arithmetic.
template <class Float>
Float convertExact(const DecimalText& text) noexcept {
    using L = Layout<Float>;
    BigInt digits(0);
    int64_t kept = 0;
    bool cutNonzero = false;
    for (const char* p = text.digitsBegin; p != text.digitsEnd; ++p) {
        if (*p == '.' || (kept == 0 && *p == '0')) continue;
        if (kept < kExactDigits) {
            digits.multiplyAdd(10, uint32_t(*p - '0'));
            ++kept;
        } else if (*p != '0') {
            cutNonzero = true;
        }
    }
    int64_t exponent = text.exponent + (text.significant - kept);
    if (cutNonzero) {
        digits.multiplyAdd(10, 1);
        ++kept;
        --exponent;
    }
    // The value lies in [10^(kept - 1 + exponent), 10^(kept + exponent)).
    if (kept - 1 + exponent > 310) return signedInfinity<Float>(text.negative);
    if (kept + exponent < -325) return signedZero<Float>(text.negative);
    const int e = int(exponent);
    if (e >= 0) {
        digits.multiplyByPow10(e);
        const int length = digits.bitLength();
        // Two bits more than the result keeps; the rest decides only as sticky.
        const int shift = std::max(0, length - (L::kPrecision + 2));
        return roundToFloat<Float>(digits.bits(shift, length - shift), digits.anyBitBelow(shift), -shift,
                                   text.negative);
    }
    BigInt divisor(1);
    divisor.multiplyByPow10(-e);
    // A shift that makes the quotient p + 1 or p + 2 bits long, or fewer where
    // the result is subnormal (the rounding keeps no bit below 2^-kMinUnit).
    int shift = L::kPrecision + 1 - (digits.bitLength() - divisor.bitLength());
    shift = std::min(shift, L::kMinUnit + 2);
    if (shift >= 0) digits.shiftLeft(shift);
    else divisor.shiftLeft(-shift);
    const uint64_t quotient = divideSmallQuotient(digits, divisor, L::kPrecision + 3);
    return roundToFloat<Float>(quotient, !digits.isZero(), shift, text.negative);
}

// Exact powers of ten as doubles.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The correctly rounded double of a text whose digits form an integer of at
// most 2^53 with a power of ten of at most 22 either way: both are exact
// doubles, so one multiplication or division rounds once.
bool doubleFast(const DecimalText& text, double& value) noexcept {
    if (text.nonzeroDropped || text.leading > (uint64_t(1) << 53)) return false;
    const int64_t exponent = text.exponent + std::max<int64_t>(0, text.significant - 19);
    if (exponent < -22 || exponent > 22) return false;
    const double digits = double(text.leading);
    value = exponent < 0 ? digits / kExactPow10[-exponent] : digits * kExactPow10[exponent];
    return true;
}

// The double of the text, correctly rounded, is narrowed to the same float as
// the text unless it falls exactly halfway between two floats: rounding to
// double keeps a value on its side of every double, and every such halfway
// point is a double.
bool floatFromDouble(double magnitude, float& value) noexcept {
    constexpr double kMax = std::numeric_limits<float>::max();
    constexpr double kPastMax = kMax + 0x1p103;   // halfway from the largest float to 2^128
    if (magnitude >= kMax) {
        if (magnitude == kPastMax) return false;
        value = magnitude < kPastMax ? std::numeric_limits<float>::max() : std::numeric_limits<float>::infinity();
        return true;
    }
    const float nearest = float(magnitude);
    if (double(nearest) != magnitude) {
        const uint32_t bits = std::bit_cast<uint32_t>(nearest);
        const float other = std::bit_cast<float>(double(nearest) < magnitude ? bits + 1 : bits - 1);
        if ((double(nearest) + double(other)) / 2 == magnitude) return false;
    }
    value = nearest;
    return true;
}

// The value of a text that the fast path can give exactly: a double straight
// from the digits, a float from that double unless it falls exactly halfway.
bool fastValue(const DecimalText& text, double& value) noexcept { return doubleFast(text, value); }
bool fastValue(const DecimalText& text, float& value) noexcept {
    double wide;
    return doubleFast(text, wide) && floatFromDouble(wide, value);
}

template <class Float>
const char* parseText(const char* first, const char* last, Float& value) noexcept {
    DecimalText text;
    if (!scanDecimal(first, last, text)) return nullptr;
    if (text.kind == DecimalText::Infinity) {
        value = signedInfinity<Float>(text.negative);
    } else if (text.kind == DecimalText::NotANumber) {
        value = std::numeric_limits<Float>::quiet_NaN();
        if (text.negative) value = -value;
    } else if (text.significant == 0) {
        value = signedZero<Float>(text.negative);
    } else if (Float fast; fastValue(text, fast)) {
        value = text.negative ? -fast : fast;
    } else {
        value = convertExact<Float>(text);
    }
    return text.end;
}

}  // namespace

char* formatG6(char* out, double value) noexcept {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return putText(out, negative ? "-nan" : "nan");
    if (negative) *out++ = '-';
    const double magnitude = std::fabs(value);
    if (std::isinf(magnitude)) return putText(out, "inf");
    if (magnitude == 0) return putText(out, "0");
    uint32_t digits = 0;
    int exponent = 0;
    if (!sixDigitsFast(magnitude, digits, exponent)) sixDigitsExact(magnitude, digits, exponent);
    char text[6];
    for (int i = 5; i >= 0; --i, digits /= 10) text[i] = char('0' + digits % 10);
    if (exponent >= 6 || exponent < -4) return putExponentForm(out, text, exponent);
    if (exponent >= 0) return putDigitsG(out, text, exponent + 1, 5 - exponent);
    return putSmallFixedForm(out, text, exponent);
}

const char* parseDouble(const char* first, const char* last, double& value) noexcept {
    return parseText<double>(first, last, value);
}

const char* parseFloatText(const char* first, const char* last, float& value) noexcept {
    return parseText<float>(first, last, value);
}

}  // namespace ostrel
