#include "tools/host_script.hpp"

#include <cmath>

#include "core/number_text.hpp"
#include "core/path_text.hpp"

namespace ostrel::host {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

void skipSpace(std::string_view& rest) {
    while (!rest.empty() && isSpace(rest.front())) rest.remove_prefix(1);
}

std::string_view takeWord(std::string_view& rest) {
    size_t n = 0;
    while (n < rest.size() && !isSpace(rest[n]) && rest[n] != '#') ++n;
    std::string_view word = rest.substr(0, n);
    rest.remove_prefix(n);
    return word;
}

// A quoted string at the front of `rest`, or nullopt (with error) when unterminated.
// A two-byte character of the ANSI code page is taken whole: its second byte
// may be that of '\' and is no escape.
std::optional<std::string> takeQuoted(std::string_view& rest, std::string& error) {
    std::string out;
    for (size_t i = 1; i < rest.size(); ++i) {
        char c = rest[i];
        if (characterLength(rest, i) == 2) {
            out.append(rest.substr(i++, 2));
            continue;
        }
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < rest.size() && (rest[i + 1] == '"' || rest[i + 1] == '\\')) c = rest[++i];
        out.push_back(c);
    }
    error = "unterminated string";
    return std::nullopt;
}

bool atEnd(std::string_view rest) { return rest.empty() || rest.front() == '#'; }

bool parseValue(std::string_view word, double& value) {
    if (word == "nan" || word == "NaN") {
        value = std::nan("");
        return true;
    }
    const char* end = word.data() + word.size();
    return ostrel::parseDouble(word.data(), end, value) == end;
}

}  // namespace

std::optional<ScriptCall> parseScriptLine(std::string_view line, std::string& error) {
    ScriptCall call;
    std::string_view rest = line;
    skipSpace(rest);
    if (atEnd(rest)) return call;
    call.exportName = std::string(takeWord(rest));

    skipSpace(rest);
    if (!atEnd(rest)) {
        if (rest.front() == '"') {
            call.text = takeQuoted(rest, error);
            if (!call.text) return std::nullopt;
        } else if (takeWord(rest) != "null") {
            error = "text must be a quoted string or null";
            return std::nullopt;
        }
    }
    skipSpace(rest);
    if (!atEnd(rest) && !parseValue(takeWord(rest), call.value)) {
        error = "value must be a number or nan";
        return std::nullopt;
    }
    skipSpace(rest);
    if (!atEnd(rest)) {
        if (rest.front() == '"') {
            auto mem = takeQuoted(rest, error);
            if (!mem) return std::nullopt;
            call.memKind = ScriptCall::Mem::Text;
            call.memText = *mem;
        } else {
            std::string_view word = takeWord(rest);
            if (word == "out") {
                call.memKind = ScriptCall::Mem::Out;
            } else if (word != "null") {
                error = "mem must be a quoted string, null or out";
                return std::nullopt;
            }
        }
    }
    skipSpace(rest);
    if (!atEnd(rest)) {
        error = "unexpected text after the arguments";
        return std::nullopt;
    }
    return call;
}

std::string quoteText(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        if (characterLength(text, i) == 2) {
            out.append(text.substr(i++, 2));
            continue;
        }
        if (text[i] == '"' || text[i] == '\\') out.push_back('\\');
        out.push_back(text[i]);
    }
    out.push_back('"');
    return out;
}

}  // namespace ostrel::host
