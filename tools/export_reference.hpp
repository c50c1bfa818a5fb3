#pragma once
// The user reference written from the export table: EXPORTS.md, the C header
// host/ostrel.h, and a C program that takes the address of every export of a
// build. ostrel-reference prints them for tools/reference.sh; ostrel-host
// prints one export's section for --help.

#include <string>

#include "host/export_table.hpp"

namespace ostrel::reference {

// The Markdown section of one export: heading, purpose, builds, arguments,
// null pointers, success, every code, state, related exports.
std::string exportSection(const exports::Export& e);

// The whole of EXPORTS.md.
std::string exportsMarkdown();

// The whole of host/ostrel.h.
std::string cHeader();

// A C program that includes ostrel.h and takes the address of every export
// of the build it is compiled for; it links only against a library that
// exports them all.
std::string addressCheckProgram();

}  // namespace ostrel::reference
