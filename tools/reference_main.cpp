// ostrel-reference: prints the user reference written from the export table,
// for tools/reference.sh.
//
//   ostrel-reference markdown        EXPORTS.md
//   ostrel-reference header          host/ostrel.h
//   ostrel-reference address-check   a C program that takes every export's address

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/export_reference.hpp"

int main(int argc, char** argv) {
    const char* what = argc == 2 ? argv[1] : "";
    std::string text;
    if (std::strcmp(what, "markdown") == 0) text = ostrel::reference::exportsMarkdown();
    else if (std::strcmp(what, "header") == 0) text = ostrel::reference::cHeader();
    else if (std::strcmp(what, "address-check") == 0) text = ostrel::reference::addressCheckProgram();
    else {
        std::fprintf(stderr, "usage: ostrel-reference markdown|header|address-check\n");
        return 2;
    }
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
