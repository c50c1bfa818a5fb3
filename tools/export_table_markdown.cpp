// ostrel-export-table: prints the README's table of exports from the export
// table, one row per export in the table's order. tools/readme-exports.sh puts
// it into README.md, or checks that README.md holds it.

#include <cstdio>
#include <string>

#include "host/export_table.hpp"

namespace {

using namespace ostrel::exports;

std::string buildsCell(uint32_t builds) {
    std::string cell;
    auto add = [&](bool member, const char* letter) {
        if (!member) return;
        if (!cell.empty()) cell += ' ';
        cell += letter;
    };
    add((builds & kWindows) == kWindows, "W");
    add((builds & kMac) != 0, "M");
    add((builds & kLinux) != 0, "L");
    return cell;
}

std::string number(float code) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(code));
    return text;
}

std::string nullCell(const NullAnswer& answer) {
    switch (answer.kind) {
    case NullAnswer::Unread: return "—";
    case NullAnswer::Refused: return number(answer.code);
    case NullAnswer::ReportedLater: return number(answer.code) + " later";
    case NullAnswer::Allowed: return std::string("allowed: ") + answer.allowedAs;
    }
    return "?";
}

}  // namespace

int main() {
    std::printf("| Export | Builds | Null text | Null memBlock | Beyond the documented codes |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Export& e : kExports) {
        std::printf("| `%s` | %s | %s | %s | %s |\n", e.name, buildsCell(e.builds).c_str(), nullCell(e.nullText).c_str(),
                    nullCell(e.nullMem).c_str(), *e.note ? e.note : "—");
    }
    return 0;
}
