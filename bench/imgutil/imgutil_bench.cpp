// Times the bitmap utilities at a 1920 x 1080 destination: nine-slice composition (stretched and tiled
// centre), DrawTransparent (both methods), CreateRegionFromBitmap of a window frame with transparent
// corners and of a checkerboard (the worst case: one rectangle per opaque pixel), and a gradient fill.
// Prints the median milliseconds per call over several rounds (three for the checkerboard).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRounds = 7;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Median time of one call over `rounds` rounds of `calls` calls each.
double Median(int calls, const std::function<void()>& call, int roundCount = kRounds) {
    call();  // warm-up
    std::vector<double> rounds;
    for (int round = 0; round < roundCount; ++round) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < calls; ++i) call();
        ::GdiFlush();
        ::QueryPerformanceCounter(&end);
        rounds.push_back(Milliseconds(start, end) / calls);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

std::unique_ptr<TBitmap> Painted(int width, int height, COLORREF (*colour)(int, int)) {
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
    return bitmap;
}

// A skin frame element: 3 frames of 24 x 24 with 8-pixel margins and magenta outer corners.
COLORREF ElementPixel(int x, int y) {
    const int cx = x % 24;
    const bool corner = (cx < 3 && y < 3) || (cx >= 21 && y < 3) || (cx < 3 && y >= 21) || (cx >= 21 && y >= 21);
    return corner ? kMagenta : RGB(40 + cx * 5, 60 + y * 4, 120);
}

// A full-HD window frame with rounded (transparent) corners of radius 12.
COLORREF FramePixel(int x, int y) {
    constexpr int r = 12;
    const int dx = x < r ? r - x : x >= kWidth - r ? x - (kWidth - r - 1) : 0;
    const int dy = y < r ? r - y : y >= kHeight - r ? y - (kHeight - r - 1) : 0;
    return dx * dx + dy * dy > r * r ? kMagenta : RGB(90, 90, 100);
}

COLORREF CheckerPixel(int x, int y) { return (x + y) % 2 ? kMagenta : RGB(0, 0, 0); }

}  // namespace

int main() {
    const RECT full{0, 0, kWidth, kHeight};
    const RECT margins{8, 8, 8, 8};
    auto element = Painted(72, 24, ElementPixel);
    TBitmap screen(kWidth, kHeight, pf32bit);
    HDC dc = screen.Canvas().Handle();

    std::printf("bitmap utilities, %d x %d destination, median of %d rounds\n", kWidth, kHeight, kRounds);
    std::printf("  nine-slice composition, stretched centre: %8.2f ms\n",
                Median(10, [&] { CreateSkinElementBitmap(full, *element, margins, false, false, 3, 2); }));
    std::printf("  nine-slice composition, tiled centre:     %8.2f ms\n",
                Median(5, [&] { CreateSkinElementBitmap(full, *element, margins, false, true, 3, 2); }));
    auto picture = Painted(kWidth, kHeight, FramePixel);
    std::printf("  DrawTransparent, MaskBlt:                 %8.2f ms\n", Median(5, [&] {
                    DrawTransparent(dc, full, *picture, SkinTransparentColor, TTransparentMethod::MaskBlt);
                }));
    std::printf("  DrawTransparent, three passes:            %8.2f ms\n", Median(5, [&] {
                    DrawTransparent(dc, full, *picture, SkinTransparentColor, TTransparentMethod::ThreePass);
                }));
    std::printf("  CreateRegionFromBitmap, frame corners:    %8.2f ms\n", Median(5, [&] {
                    win::RegionHandle region = CreateRegionFromBitmap(*picture, 0, 0, 1, 1, 1, SkinTransparentColor);
                }));
    auto checker = Painted(kWidth, kHeight, CheckerPixel);
    win::RegionHandle worst = CreateRegionFromBitmap(*checker, 0, 0, 1, 1, 1, SkinTransparentColor);
    const DWORD bytes = ::GetRegionData(worst.get(), 0, nullptr);
    std::printf(
        "  CreateRegionFromBitmap, checkerboard:     %8.2f ms  (%lu rectangles)\n",
        Median(
            1,
            [&] { win::RegionHandle region = CreateRegionFromBitmap(*checker, 0, 0, 1, 1, 1, SkinTransparentColor); },
            3),
        (unsigned long)((bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT)));
    std::printf("  GradientFillRect, left to right:          %8.2f ms\n",
                Median(5, [&] { GradientFillRect(dc, full, clNavy, 0, clAqua); }));
    std::printf("  GradientFillRect, top to bottom:          %8.2f ms\n",
                Median(5, [&] { GradientFillRect(dc, full, clNavy, 1, clAqua); }));
    return 0;
}
