// TScreenPixels: the screen read back through a 32-bit DIB section.
#include "ScreenPixels.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "BmpWriter.h"

TScreenPixels::TScreenPixels(const RECT& ScreenRect)
    : FWidth(ScreenRect.right - ScreenRect.left), FHeight(ScreenRect.bottom - ScreenRect.top) {
    if (FWidth <= 0 || FHeight <= 0) {
        FWidth = FHeight = 0;
        return;
    }
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = FWidth;
    Info.bmiHeader.biHeight = -FHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    HDC Screen = GetDC(nullptr);
    HDC Memory = CreateCompatibleDC(Screen);
    HBITMAP Section = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    HGDIOBJ Old = SelectObject(Memory, Section);
    BitBlt(Memory, 0, 0, FWidth, FHeight, Screen, ScreenRect.left, ScreenRect.top, SRCCOPY);
    GdiFlush();
    FPixels.resize(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight));
    std::memcpy(FPixels.data(), Bits, FPixels.size() * sizeof(uint32_t));
    SelectObject(Memory, Old);
    DeleteObject(Section);
    DeleteDC(Memory);
    ReleaseDC(nullptr, Screen);
}

COLORREF TScreenPixels::At(int32_t X, int32_t Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return CLR_INVALID;
    const uint32_t Pixel = FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)];
    return RGB((Pixel >> 16) & 0xFF, (Pixel >> 8) & 0xFF, Pixel & 0xFF);
}

void SaveScreenShot(const RECT& ScreenRect, const std::string& Name) {
    const char* Folder = std::getenv("QUIRN_SCREENSHOTS");
    if (Folder == nullptr || *Folder == '\0') return;
    const TScreenPixels Shot(ScreenRect);
    std::vector<std::vector<uint32_t>> Rows(static_cast<size_t>(Shot.Height()));
    for (int32_t Y = 0; Y < Shot.Height(); ++Y)
        for (int32_t X = 0; X < Shot.Width(); ++X) {
            const COLORREF Pixel = Shot.At(X, Y);
            Rows[static_cast<size_t>(Y)].push_back((GetRValue(Pixel) << 16) | (GetGValue(Pixel) << 8) |
                                                   GetBValue(Pixel));
        }
    bmptest::BmpLayout Layout;
    Layout.Width = Shot.Width();
    Layout.Height = Shot.Height();
    Layout.BitCount = 24;
    Layout.Pixels = bmptest::PackRows(Rows, 24, false);
    const std::vector<uint8_t> Bytes = bmptest::WriteBmp(Layout);
    std::ofstream(std::string(Folder) + "/" + Name + ".bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}
