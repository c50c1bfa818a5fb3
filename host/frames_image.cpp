// Frames of the image tools: PSD operations, thumbnails and the BMP crop.

#include "host/frame.hpp"
#include "image/bmp_crop.hpp"
#include "image/colour.hpp"
#include "image/psd_ops.hpp"
#include "image/thumbnail.hpp"

using namespace ostrel;

extern "C" float MergePSDfiles(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const float key = ostrel::narrow(value);
    return frame::guarded([&] { return image::mergePSD(text, memBlock, key); });
}

extern "C" float HealPSDfiles(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const bool leftRight = value > 0;
    return frame::guarded([&] { return image::mergeSeamlessPSD(text, memBlock, leftRight); });
}

// Exported by the Windows and Linux builds; the macOS build has neither.
#if !defined(__APPLE__)
extern "C" float HealImportFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return image::psd::kCannotOpenOrNotPsd;
    return frame::guarded([&] { return image::healImportFile(text); });
}

extern "C" float FixEdgesPSD(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return image::psd::kCannotOpenOrNotPsd;
    return frame::guarded([&] { return image::fixEdgesPSD(text); });
}
#endif

extern "C" float RGBtoGrayscale(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return image::grayscalePSD(text, memBlock, value); });
}

extern "C" float SwapColorsPSD(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const float colour = ostrel::narrow(value);
    return frame::guarded([&] {
        return image::convertPSD(text, image::imageSettings().keyColour, colour, image::ConvertMode::Swap);
    });
}

extern "C" float MakeStencilPSD(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const float colour = ostrel::narrow(value);
    return frame::guarded([&] {
        return image::convertPSD(text, image::imageSettings().keyColour, colour, image::ConvertMode::Stencil);
    });
}

extern "C" float SetInColor(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    image::imageSettings().keyColour = ostrel::narrow(value);
    return 0;
}

extern "C" float CropBMP_SetWidth(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    image::imageSettings().cropWidth = ostrel::narrow(value);
    return 0;
}

extern "C" float CropBMPfile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const int32_t left = ostrel::trunc(value);
    const int32_t width = ostrel::trunc(image::imageSettings().cropWidth);
    return frame::guarded([&] { return image::cropBMP(text, memBlock, left, width); });
}

extern "C" float CreateThumbnail(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const int32_t n = ostrel::trunc(value);
    if (!image::thumbnailSizeAccepted(n)) return image::kThumbnailSizeOutOfRange;
    return frame::guarded([&] { return image::createThumb(text, n); });
}
