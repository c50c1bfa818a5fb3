#pragma once
// Screen metrics and synthetic input. Windows builds report the desktop size,
// the scale factor and send the two input sequences; the macOS build asks
// whether a key is held down.

#include <cstdint>

namespace ostrel::platform {

// ---- Windows ---------------------------------------------------------------

// Right and bottom edges of the desktop window's rectangle, in pixels.
int32_t desktopWidth() noexcept;
int32_t desktopHeight() noexcept;
// The screen's scale factor, from the screen's device context (released).
float currentScreenFactor() noexcept;
// A left-button press and release at the pointer's place.
void sendShiftDown() noexcept;
// A key-release event for virtual key 0xC0, scan code 0x45, extended.
void sendShiftUp() noexcept;

// ---- macOS -----------------------------------------------------------------

bool keyIsDown(uint16_t keyCode) noexcept;

// ---- Portable --------------------------------------------------------------

// The screen's logical width in inches over its physical width in inches, in
// single precision: (pixels / pixelsPerLogicalInch) / (millimetres / 25.4).
// A screen that reports 0 mm gives infinity.
float screenFactor(int32_t widthMillimetres, int32_t widthPixels, int32_t pixelsPerLogicalInch) noexcept;

// The key code that isKeyPressed asks for: the value truncated toward zero to
// a 32-bit integer, of which the low 16 bits count.
uint16_t keyCodeOf(double value) noexcept;

}  // namespace ostrel::platform
