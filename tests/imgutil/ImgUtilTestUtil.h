// Helpers of the bitmap-utility tests: pictures painted pixel by pixel, pixels read back as colours.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace imgtest {

using PixelFunction = std::function<COLORREF(int x, int y)>;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kSentinel = RGB(0, 128, 128);

// A 24-bit bitmap whose pixel (x, y) is colour(x, y), written through its scan lines.
inline std::unique_ptr<TBitmap> Picture(int width, int height, const PixelFunction& colour,
                                        TPixelFormat format = pf24bit) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    if (format != pf24bit) bitmap->SetPixelFormat(format);
    return bitmap;
}

// A target filled with the sentinel colour.
inline std::unique_ptr<TBitmap> Target(int width, int height) {
    return Picture(width, height, [](int, int) { return kSentinel; });
}

inline COLORREF At(TBitmap& bitmap, int x, int y) { return COLORREF(bitmap.Canvas().Pixels(x, y)); }

inline ::testing::AssertionResult PixelsAre(TBitmap& bitmap, const PixelFunction& expected) {
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF actual = At(bitmap, x, y);
            if (actual != expected(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex << actual
                                                     << ", expected " << expected(x, y);
        }
    return ::testing::AssertionSuccess();
}

}  // namespace imgtest
