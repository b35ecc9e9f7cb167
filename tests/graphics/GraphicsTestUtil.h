// Shared helpers of the graphics tests: loading bytes and resources into pictures, reading pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/Streams.h"
#include "framework/win/ResourceData.h"

namespace gfxtest {

inline void LoadBytes(TGraphic& graphic, const std::vector<uint8_t>& bytes) {
    TReadOnlyMemoryStream stream(bytes.data(), int64_t(bytes.size()));
    graphic.LoadFromStream(stream);
}

inline std::vector<uint8_t> SaveBytes(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

// The bytes of an RCDATA resource of the test program.
inline std::vector<uint8_t> ResourceBytes(const wchar_t* name) { return win::RcDataBytes(name); }

// Compares every pixel read back through GDI with the expected colour.
inline ::testing::AssertionResult PixelsAre(TBitmap& bitmap, const std::function<COLORREF(int, int)>& expected) {
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF actual = COLORREF(bitmap.Canvas().Pixels(x, y));
            if (actual != expected(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex << actual
                                                     << ", expected " << expected(x, y);
        }
    return ::testing::AssertionSuccess();
}

}  // namespace gfxtest
