#include "host/frame.hpp"

extern "C" float Version(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return 4.4f;
}
