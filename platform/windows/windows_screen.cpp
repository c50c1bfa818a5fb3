// Screen metrics and synthetic input for the Windows builds.

#include <windows.h>

#include "platform/screen.hpp"

namespace ostrel::platform {
namespace {

RECT desktopRect() noexcept {
    RECT rect{0, 0, 0, 0};
    GetWindowRect(GetDesktopWindow(), &rect);
    return rect;
}

}  // namespace

int32_t desktopWidth() noexcept { return desktopRect().right; }
int32_t desktopHeight() noexcept { return desktopRect().bottom; }

float currentScreenFactor() noexcept {
    HDC screen = GetDC(nullptr);
    const int millimetres = GetDeviceCaps(screen, HORZSIZE);
    const int pixels = GetDeviceCaps(screen, HORZRES);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
    if (screen) ReleaseDC(nullptr, screen);
    return screenFactor(millimetres, pixels, pixelsPerInch);
}

void sendShiftDown() noexcept {
    // Relative coordinates without a move flag: the pointer stays where it is.
    mouse_event(MOUSEEVENTF_LEFTDOWN, 760, 300, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 860, 300, 0, 0);
}

void sendShiftUp() noexcept { keybd_event(VK_OEM_3, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0); }

}  // namespace ostrel::platform
