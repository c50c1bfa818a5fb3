// The streaming face-body reader against the normalisation written out
// literally: the body is rebuilt as text (slashed tokens cut before their "/"
// and joined with spaces), then read item by item. Both must give the same
// numbers, and so must the one-scan path for plainly written bodies.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "obj/obj_text.hpp"

using namespace ostrel::obj;

namespace {

std::string normalisedBody(std::string_view body) {
    if (body.find('/') == std::string_view::npos) return std::string(body);
    std::string out;
    size_t start = 0;
    while (start <= body.size()) {
        size_t space = body.find(' ', start);
        if (space == std::string_view::npos) space = body.size();
        std::string_view token = body.substr(start, space - start);
        if (!token.empty()) {
            out += token.substr(0, token.find('/'));
            out += ' ';
        }
        start = space + 1;
    }
    return out;
}

std::vector<int64_t> literalNumbers(const std::string& text) {
    std::vector<int64_t> numbers;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && isSpaceChar(text[i])) ++i;
        if (i == text.size()) return numbers;
        bool negative = false;
        if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
        size_t digits = 0;
        int64_t value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
            value = value < kHugeVertexNumber / 10 ? value * 10 + (text[i] - '0') : kHugeVertexNumber;
        if (digits == 0) return numbers;
        if (value > kHugeVertexNumber) value = kHugeVertexNumber;
        numbers.push_back(negative ? -value : value);
        if (i < text.size() && !isSpaceChar(text[i])) return numbers;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view body(reinterpret_cast<const char*>(data), data ? size : 0);
    std::vector<int64_t> streamed;
    FaceNumberReader reader(body);
    for (int64_t n; reader.next(n);) streamed.push_back(n);
    if (streamed != literalNumbers(normalisedBody(body))) std::abort();
    std::vector<int64_t> quick;
    forEachFaceNumber(body, [&](int64_t n) { quick.push_back(n); });
    if (quick != streamed) std::abort();
    return 0;
}
