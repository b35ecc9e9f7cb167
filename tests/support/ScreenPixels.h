// A copy of a rectangle of the screen, for GUI tests that read back what a window shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TScreenPixels {
public:
    // Copies the rectangle (screen coordinates) of what the screen shows now.
    explicit TScreenPixels(const RECT& ScreenRect);
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    // The colour at (X, Y) of the copy; CLR_INVALID outside it.
    COLORREF At(int32_t X, int32_t Y) const;

private:
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    std::vector<uint32_t> FPixels;  // 0x00RRGGBB, rows top down
};

// With the environment variable QUIRN_SCREENSHOTS naming a folder, saves a rectangle of the screen there
// as Name.bmp (for the pictures of the documentation); nothing otherwise.
void SaveScreenShot(const RECT& ScreenRect, const std::string& Name);
