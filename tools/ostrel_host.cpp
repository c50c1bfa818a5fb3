// ostrel-host: stands in for the Kelmor host. Loads the library by file name,
// looks every export up by name and calls it with the one signature, one call
// at a time, as the host's plug-in scripts do.
//
//   ostrel-host [--lib PATH] [SCRIPT]
//   ostrel-host [--lib PATH] --list    the loaded library's exports, each with its purpose
//   ostrel-host --help EXPORT          the export's section of the reference
//
// Prints `Export = RESULT` per call, then the output block's text for `out`,
// then, for a negative result, what that code means for the export (from the
// export table).
// Exit status: 0 when every line ran, 1 when the library or an export cannot be
// found, 2 for a malformed script or command line.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "host/export_table.hpp"
#include "host/ostrel.h"
#include "tools/export_reference.hpp"
#include "tools/host_script.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif
#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace {

using ostrel::host::ScriptCall;

// What a negative result means for the export; nullptr for any other result,
// or a code the table does not list for it.
const char* meaningOf(const std::string& exportName, float result) {
    if (!(result < 0)) return nullptr;
    const ostrel::exports::Export* row = ostrel::exports::findExport(exportName);
    return row ? ostrel::exports::meaningOf(*row, result) : nullptr;
}

class Library {
public:
    explicit Library(const std::string& path) {
#ifdef _WIN32
        handle_ = LoadLibraryA(path.c_str());
#else
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    }
    bool loaded() const { return handle_ != nullptr; }
    OstrelExport find(const std::string& name) const {
#ifdef _WIN32
        return reinterpret_cast<OstrelExport>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str())));
#else
        return reinterpret_cast<OstrelExport>(dlsym(handle_, name.c_str()));
#endif
    }

private:
    void* handle_ = nullptr;
};

std::string executableFolder(const char* argv0) {
    std::string path;
#ifdef _WIN32
    (void)argv0;   // the module's own file name is exact
    char buffer[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, buffer, MAX_PATH)) path = buffer;
#elif defined(__APPLE__)
    // macOS has no /proc: dyld knows the path the executable was started by.
    char buffer[4096] = {};
    uint32_t size = sizeof buffer;
    path = _NSGetExecutablePath(buffer, &size) == 0 ? std::string(buffer) : std::string(argv0);
#else
    char buffer[4096] = {};
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    path = n > 0 ? std::string(buffer, size_t(n)) : std::string(argv0);
#endif
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

int runScript(std::istream& script, const Library& library) {
    std::string line, error;
    int lineNumber = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        auto call = ostrel::host::parseScriptLine(line, error);
        if (!call) {
            std::fprintf(stderr, "ostrel-host: line %d: %s\n", lineNumber, error.c_str());
            return 2;
        }
        if (call->exportName.empty()) continue;
        OstrelExport function = library.find(call->exportName);
        if (!function) {
            std::fprintf(stderr, "ostrel-host: line %d: the library has no export %s\n", lineNumber,
                         call->exportName.c_str());
            return 1;
        }
        std::vector<char> mem;
        int memSize = 0;
        if (call->memKind == ScriptCall::Mem::Text) {
            mem.assign(call->memText.begin(), call->memText.end());
            mem.push_back('\0');
        } else if (call->memKind == ScriptCall::Mem::Out) {
            mem.assign(4096, '\0');
            memSize = 4096;
        }
        float result = function(call->text ? call->text->c_str() : nullptr, call->value,
                                mem.empty() ? nullptr : mem.data(), memSize);
        std::printf("%s = %.9g", call->exportName.c_str(), double(result));
        if (call->memKind == ScriptCall::Mem::Out)
            std::printf(" %s", ostrel::host::quoteText(std::string(mem.data(), strnlen(mem.data(), mem.size()))).c_str());
        if (const char* meaning = meaningOf(call->exportName, result)) std::printf("   %s", meaning);
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}

// The exports of the table that the library has, in the reference's order.
int listExports(const Library& library) {
    for (ostrel::exports::Topic topic : ostrel::exports::kTopics)
        for (const ostrel::exports::Export& e : ostrel::exports::kExports)
            if (e.about.topic == topic && library.find(e.name)) std::printf("%-20s %s\n", e.name, e.about.purpose);
    return 0;
}

int printSection(const std::string& name) {
    const ostrel::exports::Export* row = ostrel::exports::findExport(name);
    if (!row) {
        std::fprintf(stderr, "ostrel-host: no export is named %s\n", name.c_str());
        return 1;
    }
    std::fputs(ostrel::reference::exportSection(*row).c_str(), stdout);
    return 0;
}

constexpr const char* kUsage =
    "usage: ostrel-host [--lib PATH] [SCRIPT]\n"
    "       ostrel-host [--lib PATH] --list\n"
    "       ostrel-host --help EXPORT\n";

}  // namespace

int main(int argc, char** argv) {
    std::string libraryPath, scriptPath;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--lib" && i + 1 < argc) {
            libraryPath = argv[++i];
        } else if ((arg == "--help" || arg == "-h") && i + 1 < argc) {
            return printSection(argv[i + 1]);
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--list") {
            list = true;
        } else if (scriptPath.empty() && arg.rfind("--", 0) != 0) {
            scriptPath = arg;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (libraryPath.empty()) libraryPath = executableFolder(argv[0]) + "/" + OSTREL_DEFAULT_LIBRARY;

    Library library(libraryPath);
    if (!library.loaded()) {
        std::fprintf(stderr, "ostrel-host: cannot load %s\n", libraryPath.c_str());
        return 1;
    }
    if (list) return listExports(library);
    if (scriptPath.empty()) return runScript(std::cin, library);
    std::ifstream script(scriptPath, std::ios::binary);
    if (!script) {
        std::fprintf(stderr, "ostrel-host: cannot read %s\n", scriptPath.c_str());
        return 2;
    }
    return runScript(script, library);
}
