#include "framework/graphics/Color.h"

#include <windows.h>

namespace {
constexpr uint32_t kSystemColorIndexMask = 0xFF;
}

TColor ColorToRGB(TColor color) {
    // Every negative colour is a system colour reference (the top byte is 0xFF for the constants).
    if (color < 0) return static_cast<TColor>(::GetSysColor(int(uint32_t(color) & kSystemColorIndexMask)));
    return color;
}
