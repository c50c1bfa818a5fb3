#pragma once
// Colour values as the host passes them (R x 65536 + G x 256 + B) and the two
// settings that outlive a call: the key colour and the BMP crop width.

#include <cstdint>

namespace ostrel::image {

// The three components of a colour value, split in single precision as the
// host's scripts expect. Components may lie outside 0..255 (negative or too
// large colours); such a component never matches a sample.
struct ColourParts {
    int32_t red;
    int32_t green;
    int32_t blue;

    bool inByteRange() const noexcept {
        return red >= 0 && red <= 255 && green >= 0 && green <= 255 && blue >= 0 && blue <= 255;
    }
};

ColourParts splitColour(float colour) noexcept;

struct ImageSettings {
    float keyColour = 0;       // colIn: key of the swap and stencil operations
    float cropWidth = 50;      // imgW: strip width of the BMP crop, in pixels
};

ImageSettings& imageSettings() noexcept;

}  // namespace ostrel::image
