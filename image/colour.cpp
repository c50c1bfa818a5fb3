#include "image/colour.hpp"

#include "core/convert.hpp"

namespace ostrel::image {

ColourParts splitColour(float colour) noexcept {
    const int32_t red = ostrel::trunc(colour / 65536.0f);
    const float rest = colour - static_cast<float>(red) * 65536.0f;
    const int32_t green = ostrel::trunc(rest / 256.0f);
    const int32_t blue = ostrel::trunc(rest - static_cast<float>(green) * 256.0f);
    return {red, green, blue};
}

ImageSettings& imageSettings() noexcept {
    static ImageSettings settings;
    return settings;
}

}  // namespace ostrel::image
