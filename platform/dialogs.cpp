#include "platform/dialogs.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ostrel::platform {
namespace {

constexpr std::string_view kDefaultTitle = "Select Files";
constexpr size_t kTitleMax = 255;
constexpr size_t kDefaultDirMax = 511;
constexpr size_t kFilterMax = 255;

struct DialogState {
    std::string title{kDefaultTitle};
    std::string defaultDir;
};

DialogState& dialogState() {
    static DialogState state;
    return state;
}

// At most `maxBytes` of `text`, up to its NUL; empty for no text.
std::string cut(const char* text, size_t maxBytes) {
    if (!text) return {};
    const void* nul = std::memchr(text, 0, maxBytes);
    return std::string(text, nul ? size_t(static_cast<const char*>(nul) - text) : maxBytes);
}

}  // namespace

std::string dialogFilter(const char* text) {
    if (!text) return std::string("*.*\0\0", 5);
    std::string filter = cut(text, kFilterMax);
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    return filter;
}

void setDialogTitle(const char* title) { dialogState().title = title ? cut(title, kTitleMax) : std::string(kDefaultTitle); }
void setDefaultDir(const char* folder) { dialogState().defaultDir = cut(folder, kDefaultDirMax); }
const std::string& dialogTitle() noexcept { return dialogState().title; }
const std::string& defaultDir() noexcept { return dialogState().defaultDir; }

std::optional<std::string> chosenFilePath(const std::vector<std::string>& files, int32_t number) {
    if (number < 0 || size_t(number) >= files.size()) return std::nullopt;
    const std::string& path = files[size_t(number)];
    return path.substr(0, kMaxChosenPath);
}

}  // namespace ostrel::platform
