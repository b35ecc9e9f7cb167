// A copy of a rectangle of the screen, for GUI tests that read back what a window shows: the pixel kit's
// screen capture (PixelImage.h), read with bounds checked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "PixelImage.h"

class TScreenPixels {
public:
    // Copies the rectangle (screen coordinates) of what the screen shows now.
    explicit TScreenPixels(const RECT& screenRect);
    int32_t Width() const { return FImage.Width(); }
    int32_t Height() const { return FImage.Height(); }
    // The colour at (x, y) of the copy; CLR_INVALID outside it.
    COLORREF At(int32_t x, int32_t y) const;
    const PixelImage& Image() const { return FImage; }

private:
    PixelImage FImage;
};

// With the environment variable QUIRN_SCREENSHOTS naming a folder, saves a rectangle of the screen there
// as name.bmp (for the pictures of the documentation); nothing otherwise.
void SaveScreenShot(const RECT& screenRect, const std::string& name);
