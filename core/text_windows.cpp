// The lead bytes of the ANSI code page, for walking the host's text a whole
// character at a time (core/path_text.hpp).

#include <windows.h>

#include <array>

#include "core/path_text.hpp"

namespace ostrel {
namespace {

// The code page is the process's for its whole life: its lead-byte ranges
// are read once. A single-byte code page has none.
std::array<bool, 256> readLeadBytes() noexcept {
    std::array<bool, 256> leads{};
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info)) return leads;
    for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2)
        for (unsigned c = info.LeadByte[i]; c <= info.LeadByte[i + 1] && c < 256; ++c) leads[c] = true;
    return leads;
}

}  // namespace

bool hostLeadByte(unsigned char c) noexcept {
    static const std::array<bool, 256> leads = readLeadBytes();
    return leads[c];
}

}  // namespace ostrel
