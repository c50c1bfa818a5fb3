#include "platform/dialogs.hpp"

namespace ostrel::platform {

std::optional<std::string> chosenFilePath(const std::vector<std::string>& files, int32_t number) {
    if (number < 0 || size_t(number) >= files.size()) return std::nullopt;
    const std::string& path = files[size_t(number)];
    return path.substr(0, kMaxChosenPath);
}

}  // namespace ostrel::platform
