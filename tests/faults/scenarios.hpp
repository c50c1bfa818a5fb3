#pragma once
// The scenarios the fault and power-cut tests run: for every export that
// touches files, the files it starts from, the calls that set the library up,
// and the one export call under test with the answer it gives when nothing
// fails.

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::faults {

// An export call. A text or memBlock that starts with '/' names a path inside
// the scenario's folder.
struct Call {
    const char* name;
    const char* text = nullptr;
    double value = 0;
    const char* mem = nullptr;
};

enum Flags : unsigned {
    kMultiOutput = 1u << 0,         // several outputs: after a failure, those written before it may stay
                                    // (new ones, or old ones replaced whole); splits never replace a file
    kInPlaceText = 1u << 1,         // updates the file named by text where it lies
    kInPlaceMem = 1u << 2,          // ... by memBlock
    kReplaces = 1u << 3,            // writes an output over an existing file
    kIgnoresUndeletable = 1u << 4,  // EmptyFolder: a file it cannot remove stays, and it answers 0
    kSkipsUncreatable = 1u << 5,    // project unpack: a data file it cannot create is skipped
    kDrainsListing = 1u << 6,       // OpenFolder, then GetFile until the listing ends
    kLarge = 1u << 7,               // inputs or outputs large enough for the second threads
    kPassesOverUnopenable = 1u << 8,  // SaveQPP: a slot file that cannot be opened is left out, answering 0
};

struct Scenario {
    const char* id;
    // "path=source" (source: ex:<examples file>, txt:<text>, old, large:obj|tev|psd, container,
    // oldproject), or
    // "path/" for a folder.
    std::vector<const char*> files;
    std::vector<Call> prepare;   // make further inputs; run before the files are taken as the start
    std::vector<Call> state;     // the library's state, set right before the call
    Call call;
    float success;
    unsigned flags = 0;
    std::vector<Call> probes = {};   // read back the library's state after the call
};

const std::vector<Scenario>& scenarios();

// The bytes of a file source of Scenario::files.
std::string fileSource(const std::string& source, const std::string& path);

}  // namespace ostrel::faults
