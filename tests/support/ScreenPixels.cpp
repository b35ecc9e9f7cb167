// TScreenPixels: the screen read back through the pixel kit.
#include "ScreenPixels.h"

#include <cstdlib>
#include <fstream>
#include <vector>

#include "BmpWriter.h"

TScreenPixels::TScreenPixels(const RECT& screenRect) {
    if (screenRect.right > screenRect.left && screenRect.bottom > screenRect.top) FImage = CaptureScreen(screenRect);
}

COLORREF TScreenPixels::At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return CLR_INVALID;
    return FImage.At(x, y);
}

void SaveScreenShot(const RECT& screenRect, const std::string& name) {
    const char* folder = std::getenv("QUIRN_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0') return;
    const TScreenPixels shot(screenRect);
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(shot.Height()));
    for (int32_t y = 0; y < shot.Height(); ++y)
        for (int32_t x = 0; x < shot.Width(); ++x) {
            const COLORREF pixel = shot.At(x, y);
            rows[static_cast<size_t>(y)].push_back((GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) |
                                                   GetBValue(pixel));
        }
    bmptest::BmpLayout layout;
    layout.Width = shot.Width();
    layout.Height = shot.Height();
    layout.BitCount = 24;
    layout.Pixels = bmptest::PackRows(rows, 24, false);
    const std::vector<uint8_t> bytes = bmptest::WriteBmp(layout);
    std::ofstream(std::string(folder) + "/" + name + ".bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
