#pragma once
// The OBJ line reader shared by every OBJ tool.
//
// Lines are views into the text in memory, or into the window a file is read
// through, so nothing is copied or allocated per line. A line ends
// at LF; a CR right before that LF (or before the end of the file) is not
// part of the line. Only the first one or two characters classify a line, and
// a face body is cut down to its vertex numbers: the texture and normal
// numbers behind a "/" are dropped.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <string_view>
#include <type_traits>

#include "core/convert.hpp"
#include "core/file_io.hpp"
#include "core/number_text.hpp"
#include "core/text_out.hpp"

namespace ostrel::obj {

// Calls visit(line) for every line of `text`, in order. A final line without
// a line end is a line too; an empty file has no lines. A `visit` that
// answers with a bool stops the reading by answering false; the answer is
// then false.
template <class Visit>
bool forEachLine(std::string_view text, Visit&& visit) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const void* found = std::memchr(p, '\n', size_t(end - p));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        const char* contentEnd = lineEnd;
        if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
        const std::string_view line(p, size_t(contentEnd - p));
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, std::string_view>, bool>) {
            if (!visit(line)) return false;
        } else {
            visit(line);
        }
        p = found ? lineEnd + 1 : end;
    }
    return true;
}

// forEachLine over a file read through a window: each line exactly as
// forEachLine over the whole file would give it, while the rest comes in.
// When the reading fails the visits stop early; the caller learns it from
// input.finish().
template <class Visit>
bool forEachLine(StreamedInput& input, Visit&& visit) {
    for (std::string_view lines; !(lines = input.nextLines()).empty();)
        if (!forEachLine(lines, visit)) return false;
    return true;
}

// Writes the lines of `text` (whole lines) to `out` with the platform's line
// end, as writeLine would, except each line for which special(line) holds,
// which goes to rewrite(line, out) to write what it stands for (or nothing).
// Runs of lines that already end in the platform's line end are written
// as they stand, in one piece, so copied text costs no work per line beyond
// finding its end.
template <class Out, class Special, class Rewrite>
void copyLinesExcept(std::string_view text, Out& out, Special&& special, Rewrite&& rewrite) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* run = p;   // the lines from here to p go out as they stand
    while (p < end) {
        const void* found = std::memchr(p, '\n', size_t(end - p));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        const char* contentEnd = lineEnd;
        if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
        const char* next = found ? lineEnd + 1 : end;
        const std::string_view line(p, size_t(contentEnd - p));
        if (special(line)) {
            out.write(run, size_t(p - run));
            rewrite(line, out);
            run = next;
        } else if (std::string_view(contentEnd, size_t(next - contentEnd)) != kLineEnd) {
            out.write(run, size_t(contentEnd - run));
            out.write(kLineEnd);
            run = next;
        }
        p = next;
    }
    out.write(run, size_t(end - run));
}

// The lines of a file read through a window, one at a time, for a caller
// that takes lines of two files in turn. A line is valid until the next.
class LineReader {
public:
    explicit LineReader(StreamedInput& input) noexcept : input_(input) {}
    bool next(std::string_view& line) {
        if (lines_.empty() && (lines_ = input_.nextLines()).empty()) return false;
        const void* found = std::memchr(lines_.data(), '\n', lines_.size());
        const size_t end = found ? size_t(static_cast<const char*>(found) - lines_.data()) : lines_.size();
        line = lines_.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.remove_prefix(found ? end + 1 : end);
        return true;
    }

private:
    StreamedInput& input_;
    std::string_view lines_;
};

// "v" then a space; vt, vn and vp lines are not vertex lines.
inline bool isVertexLine(std::string_view line) noexcept {
    return line.size() >= 2 && line[0] == 'v' && line[1] == ' ';
}
inline bool isFaceLine(std::string_view line) noexcept { return !line.empty() && line[0] == 'f'; }
inline bool isGroupLine(std::string_view line) noexcept { return !line.empty() && line[0] == 'g'; }
inline bool isCommentLine(std::string_view line) noexcept { return !line.empty() && line[0] == '#'; }
inline bool isUvLine(std::string_view line) noexcept { return line.size() >= 2 && line[0] == 'v' && line[1] == 't'; }

// The line from its third character on: the group name of a "g" line, the
// body of an "f" line. A line of one or two characters has an empty body.
inline std::string_view lineBody(std::string_view line) noexcept {
    return line.size() > 2 ? line.substr(2) : std::string_view();
}

inline bool isSpaceChar(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads up to `count` whitespace-separated numbers from `text` as 32-bit
// floats into `out`. Reading stops at the first item that does not start with
// a number (after taking the leading number of an item such as "1.5abc"); the
// values not read are 0. Returns how many were read.
inline int readFloats(std::string_view text, float* out, int count) noexcept {
    const char* p = text.data();
    const char* const end = p + text.size();
    int read = 0;
    for (; read < count; ++read) out[read] = 0.0f;
    for (read = 0; read < count; ++read) {
        while (p != end && isSpaceChar(*p)) ++p;
        if (p == end) break;
        p = parseFloat(p, end, out[read]);
        if (!p) break;
        if (p != end && !isSpaceChar(*p)) return read + 1;
    }
    return read;
}

// Magnitude a parsed vertex number saturates at. Far beyond any vertex count
// a file can hold, so a saturated number is always rejected as out of range.
inline constexpr int64_t kHugeVertexNumber = int64_t(1) << 62;

// The vertex numbers of a face body, in order.
//
// A body holding a "/" is cut at spaces into tokens and each token just
// before its first "/" (so "1/4/7 2//5" gives 1 and 2); a body without "/" is
// read as it is. Numbers are whitespace-separated decimal integers with an
// optional sign; reading stops at the first item that does not start with
// one (after yielding the leading integer of an item such as "5abc").
class FaceNumberReader {
public:
    explicit FaceNumberReader(std::string_view body) noexcept
        : rest_(body), slashed_(body.find('/') != std::string_view::npos) {
        if (!slashed_) {
            segment_ = rest_;
            rest_ = {};
        }
    }

    bool next(int64_t& number) noexcept {
        for (;;) {
            if (stopped_) return false;
            skipSpaces();
            if (!segment_.empty()) return readItem(number);
            if (rest_.empty()) return false;
            takeToken();
        }
    }

private:
    void skipSpaces() noexcept {
        size_t i = 0;
        while (i < segment_.size() && isSpaceChar(segment_[i])) ++i;
        segment_.remove_prefix(i);
    }

    // Next space-separated token of a slashed body, cut before its first "/".
    // One scan to the first space or "/"; behind a "/" only the next space
    // is looked for.
    void takeToken() noexcept {
        const char* p = rest_.data();
        const char* const end = p + rest_.size();
        const char* stop = p;
        while (stop != end && *stop != ' ' && *stop != '/') ++stop;
        segment_ = std::string_view(p, size_t(stop - p));
        if (stop != end && *stop == '/') {
            const void* space = std::memchr(stop, ' ', size_t(end - stop));
            stop = space ? static_cast<const char*>(space) : end;
        }
        rest_ = stop == end ? std::string_view() : std::string_view(stop + 1, size_t(end - stop - 1));
    }

    bool readItem(int64_t& number) noexcept {
        size_t i = 0;
        bool negative = false;
        if (segment_[0] == '+' || segment_[0] == '-') {
            negative = segment_[0] == '-';
            i = 1;
        }
        const size_t digitsStart = i;
        int64_t magnitude = 0;
        while (i < segment_.size() && segment_[i] >= '0' && segment_[i] <= '9') {
            // Past a tenth of the cap the next digit would reach it: saturate.
            magnitude = magnitude < kHugeVertexNumber / 10 ? magnitude * 10 + (segment_[i] - '0') : kHugeVertexNumber;
            ++i;
        }
        if (i == digitsStart) {
            stopped_ = true;
            return false;
        }
        if (magnitude > kHugeVertexNumber) magnitude = kHugeVertexNumber;
        // An item that goes on with something else ends the reading after it.
        if (i < segment_.size() && !isSpaceChar(segment_[i])) stopped_ = true;
        segment_.remove_prefix(i);
        number = negative ? -magnitude : magnitude;
        return true;
    }

    std::string_view rest_;
    std::string_view segment_;
    bool slashed_;
    bool stopped_ = false;
};

// The face body as nearly every file writes it: single spaces between
// tokens, each token a number with an optional "-" and at most 16 digits,
// followed by "/" and anything up to the next space, or by nothing. Such a
// body reads the same under every rule of FaceNumberReader, so its numbers
// are taken in one scan. False (with `count` meaningless) for any other body.
inline bool readPlainFace(std::string_view body, int64_t* numbers, size_t capacity, size_t& count) noexcept {
    const char* p = body.data();
    const char* const end = p + body.size();
    count = 0;
    while (p != end) {
        const bool negative = *p == '-';
        if (negative) ++p;
        const char* digits = p;
        // Past 19 digits `value` wraps round, but longer numbers than 16
        // digits take the general path anyway.
        uint64_t value = 0;
        for (uint32_t d; p != end && (d = uint32_t(uint8_t(*p)) - '0') < 10; ++p) value = value * 10 + d;
        if (p == digits || p - digits > 16 || count == capacity) return false;
        numbers[count++] = negative ? -int64_t(value) : int64_t(value);
        if (p != end && *p == '/') {
            const void* space = std::memchr(p, ' ', size_t(end - p));
            p = space ? static_cast<const char*>(space) : end;
        }
        if (p == end) break;
        if (*p != ' ') return false;
        ++p;
    }
    return true;
}

// Calls visit(number) for each vertex number of a face body, as
// FaceNumberReader reads them.
template <class Visit>
void forEachFaceNumber(std::string_view body, Visit&& visit) {
    int64_t plain[32];
    size_t count = 0;
    if (readPlainFace(body, plain, std::size(plain), count)) {
        for (size_t i = 0; i < count; ++i) visit(plain[i]);
        return;
    }
    FaceNumberReader reader(body);
    for (int64_t number; reader.next(number);) visit(number);
}

// Turns the vertex numbers of faces into 1-based absolute numbers and keeps
// what is needed to check them once the whole file has been read: a negative
// number counts back from the last vertex line read before the face (-1 is
// that line); zero, or a relative number reaching before the first vertex,
// is invalid at once; a positive number is valid when it does not exceed the
// file's vertex lines, which may also stand after the face.
class VertexNumberCheck {
public:
    // The absolute number, or 0 for a number that can never be valid.
    uint64_t resolve(int64_t number, uint64_t verticesSoFar) noexcept {
        if (number > 0) {
            uint64_t absolute = uint64_t(number);
            if (absolute > largest_) largest_ = absolute;
            return absolute;
        }
        if (number == 0 || uint64_t(-number) > verticesSoFar) {
            invalid_ = true;
            return 0;
        }
        return verticesSoFar + 1 - uint64_t(-number);
    }
    bool allValid(uint64_t vertexCount) const noexcept { return !invalid_ && largest_ <= vertexCount; }

private:
    uint64_t largest_ = 0;
    bool invalid_ = false;
};

// Result of the face checks of every OBJ tool: a face names a vertex line that
// the file does not have (zero, too far back, or beyond the last one). Refused
// before any output is written.
inline constexpr float kBadVertexNumber = -7.0f;

// Vertex indices are kept as 32 bits, so a file may have at most this many
// vertex lines. A file with more is refused as unreadable, with the code each
// reader gives for an input it cannot open: it is a fact of the file, not a
// failure of the library.
inline constexpr uint64_t kMaxVertexLines = std::numeric_limits<uint32_t>::max() - 1;

// The number of vertex lines the readers accept: kMaxVertexLines. Only tests
// lower it, since a file past the real limit needs more than 12 GB.
inline uint64_t& vertexLineLimit() noexcept {
    static uint64_t limit = kMaxVertexLines;
    return limit;
}

}  // namespace ostrel::obj
