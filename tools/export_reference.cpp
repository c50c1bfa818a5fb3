#include "tools/export_reference.hpp"

#include "tools/export_reference_text.hpp"

#include <cstdio>
#include <string_view>
#include <vector>

namespace ostrel::reference {

namespace {

using namespace ostrel::exports;

const char* topicTitle(Topic topic) {
    switch (topic) {
    case kMeshes: return "Meshes";
    case kObjGroups: return "OBJ files and groups";
    case kProject: return "Project and package";
    case kTextures: return "Textures";
    case kFilesDesktop: return "Files and desktop";
    }
    return "";
}

// The anchor a Markdown renderer gives a heading: lower case, spaces as
// hyphens, other punctuation but hyphens and underscores dropped.
std::string anchorOf(std::string_view heading) {
    std::string anchor;
    for (char c : heading) {
        if (c >= 'A' && c <= 'Z') anchor += char(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') anchor += c;
        else if (c == ' ') anchor += '-';
    }
    return anchor;
}

std::string exportLink(std::string_view name) {
    return "[`" + std::string(name) + "`](#" + anchorOf(name) + ")";
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

// A table cell: a bar would end the cell early.
std::string cell(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

std::string capitalized(std::string_view phrase) {
    std::string out(phrase);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = char(out[0] - 'a' + 'A');
    return out;
}

std::string buildsText(uint32_t builds) {
    if ((builds & kEvery) == kEvery) return "every build: Windows (`Ostrel.dll`, `Quendle.dll`), macOS, Linux";
    std::vector<std::string> names;
    if ((builds & kWindows) == kWindows) names.push_back("Windows (`Ostrel.dll`, `Quendle.dll`)");
    if (builds & kMac) names.push_back("macOS");
    if (builds & kLinux) names.push_back("Linux");
    std::string text = names.size() == 1 ? names[0] + " only" : "";
    for (size_t i = 0; names.size() > 1 && i < names.size(); ++i) text += (i ? " and " : "") + names[i];
    return text;
}

std::string nullSentence(const char* argument, const NullAnswer& answer) {
    const std::string name = std::string("a null `") + argument + "`";
    switch (answer.kind) {
    case NullAnswer::Unread: return "";
    case NullAnswer::Refused:
        return capitalized(name) + " is answered with " + number(answer.code) + " at once; nothing is read or written.";
    case NullAnswer::ReportedLater:
        return capitalized(name) + " is answered with " + number(answer.code) +
               " where the export comes to use it, after the checks of the other arguments; nothing is written.";
    case NullAnswer::Allowed: return capitalized(name) + " is allowed: " + answer.allowedAs + ".";
    }
    return "";
}

std::string argumentRow(const char* argument, const char* meaning) {
    return std::string("| `") + argument + "` | " + (*meaning ? cell(meaning) : std::string("ignored")) + " |\n";
}

std::string relatedLinks(std::string_view names) {
    std::string links;
    forEachName(names, [&](std::string_view name) { links += (links.empty() ? "" : ", ") + exportLink(name); });
    return links;
}

// Folds a text into comment lines of at most `width` characters, each
// starting with `prefix`.
std::string wrapped(std::string_view text, std::string_view prefix, size_t width) {
    std::string out, line(prefix);
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
        line = prefix;
    };
    while (!text.empty()) {
        const size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        if (line.size() > prefix.size() && line.size() + word.size() > width) flush();
        line += word;
        line += ' ';
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (line.size() > prefix.size()) flush();
    return out;
}

// A header comment says no "*/" early, and names exports without Markdown.
std::string plain(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '`') continue;
        if (text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/') {
            out += "* /";
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

// The preprocessor condition under which ostrel.h declares an export of
// `builds`; empty when every build has it.
std::string buildCondition(uint32_t builds) {
    if ((builds & kEvery) == kEvery) return "";
    std::string condition;
    auto add = [&](bool member, const char* macro) {
        if (!member) return;
        if (!condition.empty()) condition += " || ";
        condition += std::string("defined(") + macro + ")";
    };
    add((builds & kWindows) == kWindows, "OSTREL_BUILD_WINDOWS");
    add(builds & kMac, "OSTREL_BUILD_MACOS");
    add(builds & kLinux, "OSTREL_BUILD_LINUX");
    return condition;
}

// Visits the exports of one topic in table order, with the build condition
// each needs, opening and closing a condition only where it changes.
template <class Visit>
std::string withBuildGuards(Topic topic, Visit&& visit) {
    std::string out, open;
    for (const Export& e : kExports) {
        if (e.about.topic != topic) continue;
        const std::string condition = buildCondition(e.builds);
        if (condition != open) {
            if (!open.empty()) out += "#endif\n";
            if (!condition.empty()) out += "#if " + condition + "\n";
            open = condition;
        }
        out += visit(e);
    }
    if (!open.empty()) out += "#endif\n";
    return out;
}

std::string codeList(const Export& e) {
    std::string list;
    for (const Code& code : e.codes()) list += (list.empty() ? "" : ", ") + number(code.value);
    return list;
}

std::string headerDeclaration(const Export& e) {
    const About& a = e.about;
    std::string comment = std::string(e.name) + ": " + a.purpose + ".";
    auto add = [&](const char* label, const char* meaning) {
        if (*meaning) comment += std::string(" ") + label + ": " + meaning;
    };
    add("text", a.text);
    add("value", a.value);
    add("memBlock", a.memBlock);
    comment += std::string(" Success: ") + a.success;
    if (!e.codes().empty()) comment += " Failure: " + codeList(e) + ".";
    return "\n/*\n" + wrapped(plain(comment), " * ", 100) + " */\nOSTREL_API float " + e.name +
           "(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;\n";
}

}  // namespace

std::string exportSection(const Export& e) {
    const About& a = e.about;
    std::string out = std::string("### `") + e.name + "`\n\n" + capitalized(a.purpose) + ".\n\n";
    out += "Builds: " + buildsText(e.builds) + ".\n\n";
    out += "| Argument | Meaning |\n|---|---|\n";
    out += argumentRow("text", a.text) + argumentRow("value", a.value) + argumentRow("memBlock", a.memBlock);
    out += std::string("\nSuccess: ") + a.success + "\n";
    std::string nulls = nullSentence("text", e.nullText);
    const std::string nullMem = nullSentence("memBlock", e.nullMem);
    const bool sameAnswer = e.nullText.kind == e.nullMem.kind && e.nullText.code == e.nullMem.code &&
                            e.nullText.kind == NullAnswer::Refused;
    if (sameAnswer) nulls = nullSentence("text` or `memBlock", e.nullText);
    else if (!nullMem.empty()) nulls += (nulls.empty() ? "" : " ") + nullMem;
    if (!nulls.empty()) out += "\n" + nulls + "\n";
    if (e.codes().empty()) {
        out += "\nIt answers no negative code.\n";
    } else {
        out += "\n| Code | Meaning |\n|---|---|\n";
        for (const Code& code : e.codes()) out += "| " + number(code.value) + " | " + cell(code.meaning) + " |\n";
    }
    if (*a.state) out += std::string("\nState: ") + a.state + "\n";
    if (*a.related) out += "\nUsed with: " + relatedLinks(a.related) + ".\n";
    return out;
}

// How many exports each build has, for the introduction.
std::string buildCounts() {
    size_t windowsCount = 0, macCount = 0, macOnlyCount = 0, linuxCount = 0;
    for (const Export& e : kExports) {
        windowsCount += (e.builds & kWindows) != 0;
        macCount += (e.builds & kMac) != 0;
        macOnlyCount += e.builds == kMacOnly;
        linuxCount += (e.builds & kLinux) != 0;
    }
    char text[400];
    std::snprintf(text, sizeof text,
                  "`Ostrel.dll` (64-bit Windows) and `Quendle.dll` (32-bit Windows) have the\n"
                  "  same %zu exports; the macOS library has %zu of them and %zu of its own; the\n"
                  "  Linux library has %zu, the exports of every build and the Windows ones\n"
                  "  that need no desktop.",
                  windowsCount, macCount - macOnlyCount, macOnlyCount, linuxCount);
    return text;
}

std::string exportsMarkdown() {
    std::string out = text::kIntroduction;
    const size_t slot = out.find("{builds}");
    if (slot != std::string::npos) out.replace(slot, 8, buildCounts());
    out += "\nContents:\n\n- [Calling an export](#calling-an-export)\n- [Call sequences](#call-sequences)\n";
    for (Topic topic : kTopics) {
        out += std::string("- [") + topicTitle(topic) + "](#" + anchorOf(topicTitle(topic)) + "): ";
        std::string links;
        for (const Export& e : kExports)
            if (e.about.topic == topic) links += (links.empty() ? "" : ", ") + exportLink(e.name);
        out += links + "\n";
    }
    out += text::kCallSequences;
    for (Topic topic : kTopics) {
        out += std::string("\n## ") + topicTitle(topic) + "\n\n" + text::topicIntroduction(topic);
        for (const Export& e : kExports)
            if (e.about.topic == topic) {
                out += '\n';
                out += exportSection(e);
            }
    }
    return out;
}

std::string cHeader() {
    std::string out = R"(/* ostrel.h: the C interface of the Ostrel and Quendle plug-in libraries.
 *
 * Written by tools/reference.sh from host/export_table.hpp: change the table,
 * not this file. EXPORTS.md describes every export in full.
 *
 * Every export has the one signature below, C linkage, an undecorated name
 * and the platform's default C calling convention. It answers 0, a count or a
 * value on success and a negative code on failure; -1000 means memory ran
 * out or a library fault was caught. Call the exports one at a time, from one
 * thread. The header declares exactly the exports of the build it is read
 * for: Windows (Ostrel.dll and Quendle.dll), macOS or Linux. */
#ifndef OSTREL_H
#define OSTREL_H

#if defined(_WIN32)
#define OSTREL_BUILD_WINDOWS 1
#elif defined(__APPLE__)
#define OSTREL_BUILD_MACOS 1
#else
#define OSTREL_BUILD_LINUX 1
#endif

/* The library defines OSTREL_BUILDING_LIBRARY; a program that calls it does not. */
#if defined(OSTREL_BUILDING_LIBRARY) && defined(_WIN32)
#define OSTREL_API __declspec(dllexport)
#elif defined(OSTREL_BUILDING_LIBRARY)
#define OSTREL_API __attribute__((visibility("default")))
#elif defined(_WIN32)
#define OSTREL_API __declspec(dllimport)
#else
#define OSTREL_API
#endif

#ifdef __cplusplus
#define OSTREL_NOEXCEPT noexcept
extern "C" {
#else
#define OSTREL_NOEXCEPT
#endif

/* The type of every export, for a program that looks them up by name. */
typedef float (*OstrelExport)(const char* text, double value, char* memBlock, int memBlockSize);
)";
    for (Topic topic : kTopics) {
        out += std::string("\n/* ---- ") + topicTitle(topic) + " ---- */\n";
        out += withBuildGuards(topic, headerDeclaration);
    }
    out += R"(
#ifdef __cplusplus
}
#endif

#endif
)";
    return out;
}

std::string addressCheckProgram() {
    std::string out = R"(/* Written by ostrel-reference: takes the address of every export that
 * ostrel.h declares for this build, and calls Version. It compiles only when
 * the header declares them all, and links only against a library that
 * exports them all. */
#include <stdio.h>

#include "ostrel.h"

int main(void) {
    const OstrelExport exports[] = {
)";
    for (Topic topic : kTopics)
        out += withBuildGuards(topic, [](const Export& e) { return std::string("        ") + e.name + ",\n"; });
    out += R"(    };
    const size_t count = sizeof exports / sizeof exports[0];
    for (size_t i = 0; i < count; ++i)
        if (!exports[i]) return 1;
    const float version = Version(NULL, 0, NULL, 0);
    printf("%u exports, version %g\n", (unsigned)count, version);
    return version > 0 ? 0 : 1;
}
)";
    return out;
}

}  // namespace ostrel::reference
