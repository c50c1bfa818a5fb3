#include "platform/windows/windows_text.hpp"

#include <windows.h>

#include <climits>

namespace ostrel::platform::windows {

std::optional<std::wstring> toWide(std::string_view narrow) {
    if (narrow.empty()) return std::wstring();
    if (narrow.size() > size_t(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(narrow.size());
    const int needed = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(size_t(needed), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow.data(), length, wide.data(), needed) != needed)
        return std::nullopt;
    return wide;
}

std::optional<std::string> toNarrow(std::wstring_view wide, size_t maxBytes) {
    if (wide.empty()) return std::string();
    if (wide.size() > size_t(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, &lossy);
    if (needed <= 0 || lossy || size_t(needed) > maxBytes) return std::nullopt;
    std::string narrow(size_t(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), length, narrow.data(), needed, nullptr, &lossy) != needed ||
        lossy)
        return std::nullopt;
    return narrow;
}

}  // namespace ostrel::platform::windows
