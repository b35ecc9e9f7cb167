// Colour routines, gradients, regions, pixel transforms and the disabled glyph.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImgUtilTestUtil.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"

using namespace imgtest;

namespace {

TEST(BlendColors, PercentBelowOneHundredPerMilleFromThereOn) {
    EXPECT_EQ(BlendColors(TColor(RGB(200, 100, 0)), TColor(RGB(0, 0, 100)), 50), TColor(RGB(100, 50, 50)));
    // 150 = 15 % of A: (200 x 150 + 500) / 1000 = 30, (100 x 850 + 500) / 1000 = 85.
    EXPECT_EQ(BlendColors(TColor(RGB(200, 100, 0)), TColor(RGB(0, 0, 100)), 150), TColor(RGB(30, 15, 85)));
    EXPECT_EQ(BlendColors(TColor(RGB(255, 255, 255)), TColor(RGB(0, 0, 0)), 99), TColor(RGB(252, 252, 252)));
    EXPECT_EQ(BlendColors(clWhite, clBlack, 100), TColor(RGB(26, 26, 26)));  // 10 % on the per-mille scale
    // System colours are resolved first.
    EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 37), TColor(::GetSysColor(COLOR_BTNFACE)));
}

TEST(Gradient, EntriesRoundTowardTheEndAndCountOneIsTheMidpoint) {
    ResetGradientCache();
    const std::vector<TColor>& up = GradientTable(GetGradient(3, TColor(RGB(0, 10, 255)), TColor(RGB(255, 10, 0))));
    ASSERT_EQ(up.size(), 3u);
    // n = 2: (1 x 255 + 1) / 2 = 128; falling, (1 x -255 - 1) / 2 = -128: halves round toward the end.
    EXPECT_EQ(up[1], TColor(RGB(128, 10, 127)));
    EXPECT_EQ(up[2], TColor(RGB(255, 10, 0)));  // both channels end exactly on the end colour
    const std::vector<TColor>& falling = GradientTable(GetGradient(7, TColor(RGB(250, 3, 0)), TColor(RGB(1, 0, 0))));
    EXPECT_EQ(falling.front(), TColor(RGB(250, 3, 0)));
    EXPECT_EQ(falling.back(), TColor(RGB(1, 0, 0)));
    const std::vector<TColor>& one = GradientTable(GetGradient(1, TColor(RGB(0, 0, 0)), TColor(RGB(255, 101, 51))));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], TColor(RGB(127, 50, 25)));
    // The top byte of the start colour is dropped.
    const std::vector<TColor>& flagged = GradientTable(GetGradient(2, TColor(0x05000010), TColor(0x20)));
    EXPECT_EQ(flagged[0], TColor(0x10));
}

TEST(Gradient, SixteenSlotsReusedByLengthFirstAndLastEntryFilledRoundRobin) {
    ResetGradientCache();
    const int32_t first = GetGradient(10, clBlack, clWhite);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(GetGradient(10, clBlack, clWhite), first);
    EXPECT_EQ(GetGradient(11, clBlack, clWhite), 1);
    EXPECT_EQ(GetGradient(10, clRed, clWhite), 2);
    for (int32_t i = 3; i < GradientSlotCount; ++i) EXPECT_EQ(GetGradient(20 + i, clBlack, clBlue), i);
    // The counter wraps: slot 0 is overwritten, so its gradient must be made again.
    EXPECT_EQ(GetGradient(99, clBlack, clBlue), 0);
    EXPECT_EQ(GetGradient(10, clBlack, clWhite), 1);
    EXPECT_EQ(GradientTable(1).size(), 10u);
    // Falling gradients are found again too.
    const int32_t falling = GetGradient(6, clWhite, clBlack);
    EXPECT_EQ(GetGradient(6, clWhite, clBlack), falling);
}

TEST(Gradient, CountZeroOrLessIsAnAssertionFailure) {
    try {
        GetGradient(0, clBlack, clWhite);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& failure) {
        EXPECT_NE(failure.Message().find("Assertion failure"), std::string::npos);
        EXPECT_NE(failure.Message().find("304"), std::string::npos);
    }
    EXPECT_THROW(GetGradient(-5, clBlack, clWhite), EAssertionFailed);
}

TEST(Gradient, FillPaintsOneBandPerPixelInsideTheClipBox) {
    ResetGradientCache();
    auto target = Target(12, 6);
    HDC dc = target->Canvas().Handle();
    GradientFillRect(dc, RECT{1, 1, 11, 5}, clBlack, 0, TColor(RGB(90, 180, 45)));
    const std::vector<TColor>& table = GradientTable(GetGradient(10, clBlack, TColor(RGB(90, 180, 45))));
    EXPECT_TRUE(PixelsAre(*target, [&](int x, int y) {
        if (x < 1 || x >= 11 || y < 1 || y >= 5) return kSentinel;
        return COLORREF(table[size_t(x - 1)]);
    }));

    // Top to bottom, clipped to rows 3..5 of an 8-row rectangle: only those bands are painted.
    target = Target(4, 10);
    dc = target->Canvas().Handle();
    win::RegionHandle clip(::CreateRectRgn(0, 3, 4, 6));
    ::SelectClipRgn(dc, clip.get());
    GradientFillRect(dc, RECT{0, 1, 4, 9}, clWhite, 1, clBlack);
    ::SelectClipRgn(dc, nullptr);
    const std::vector<TColor>& down = GradientTable(GetGradient(8, clWhite, clBlack));
    EXPECT_TRUE(
        PixelsAre(*target, [&](int, int y) { return y >= 3 && y < 6 ? COLORREF(down[size_t(y - 1)]) : kSentinel; }));
    // System colours go through ColorToRGB; an empty rectangle paints nothing.
    target = Target(4, 4);
    GradientFillRect(target->Canvas().Handle(), RECT{0, 0, 4, 4}, clBtnFace, 0, clBtnFace);
    EXPECT_EQ(At(*target, 2, 2), ::GetSysColor(COLOR_BTNFACE));
    GradientFillRect(target->Canvas().Handle(), RECT{2, 0, 2, 4}, clRed, 0, clRed);
    EXPECT_EQ(At(*target, 2, 2), ::GetSysColor(COLOR_BTNFACE));
}

TEST(ColorSaturation, GreyIsTwoHundredRedIsFullAndTiesRoundToEven) {
    EXPECT_EQ(ColorSaturation(TColor(RGB(128, 128, 128))), 200);
    EXPECT_EQ(ColorSaturation(clRed), 255);
    EXPECT_EQ(ColorSaturation(clWhite), 0);
    EXPECT_EQ(ColorSaturation(TColor(RGB(159, 0, 0))), 200);      // below 160 in every channel
    EXPECT_EQ(ColorSaturation(TColor(RGB(200, 100, 100))), 128);  // 127.5 -> 128
    EXPECT_EQ(ColorSaturation(TColor(RGB(160, 150, 140))), 32);   // 31.875
}

TEST(ReplaceMagenta, MakesTwentyFourBitsAndReplacesOnlyPureMagenta) {
    auto bitmap = Picture(
        4, 2,
        [](int x, int) {
            return x == 0 ? kMagenta : x == 1 ? RGB(255, 1, 255) : x == 2 ? RGB(254, 0, 255) : RGB(0, 0, 0);
        },
        pf32bit);
    ReplaceMagentaPixels(*bitmap, clGreen);
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(At(*bitmap, 0, 1), RGB(0, 128, 0));
    EXPECT_EQ(At(*bitmap, 1, 0), RGB(255, 1, 255));
    EXPECT_EQ(At(*bitmap, 2, 0), RGB(254, 0, 255));
}

COLORREF Asymmetric(int x, int y) { return RGB(10 + x * 40, 20 + y * 70, 30 + x * y * 9); }

TEST(Transforms, FlipsAndRotationsOfAnAsymmetricImage) {
    const int w = 4, h = 3;
    auto flipped = Picture(w, h, Asymmetric);
    FlipHorizontal(*flipped);
    EXPECT_TRUE(PixelsAre(*flipped, [&](int x, int y) { return Asymmetric(w - 1 - x, y); }));
    flipped = Picture(w, h, Asymmetric);
    FlipVertical(*flipped);
    EXPECT_TRUE(PixelsAre(*flipped, [&](int x, int y) { return Asymmetric(x, h - 1 - y); }));

    auto left = Picture(w, h, Asymmetric);
    RotateLeft(*left);
    ASSERT_EQ(left->Width(), h);
    ASSERT_EQ(left->Height(), w);
    // Counter-clockwise: the source's top-right corner becomes the top-left.
    EXPECT_TRUE(PixelsAre(*left, [&](int x, int y) { return Asymmetric(w - 1 - y, x); }));
    auto right = Picture(w, h, Asymmetric);
    RotateRight(*right);
    ASSERT_EQ(right->Width(), h);
    EXPECT_TRUE(PixelsAre(*right, [&](int x, int y) { return Asymmetric(y, h - 1 - x); }));
    RotateLeft(*right);
    EXPECT_TRUE(PixelsAre(*right, Asymmetric));

    // Other formats are made 24-bit first; empty bitmaps stay empty.
    auto palettized = Picture(
        w, h, [](int x, int) { return x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); }, pf8bit);
    FlipHorizontal(*palettized);
    EXPECT_EQ(palettized->PixelFormat(), pf24bit);
    EXPECT_EQ(At(*palettized, 0, 0), RGB(0, 0, 255));
    TBitmap empty;
    RotateLeft(empty);
    FlipVertical(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(DisabledGlyph, BlackPixelsEmbossedWithHighlightDownRightAndShadowInPlace) {
    auto glyph = Picture(6, 5, [](int x, int y) {
        if ((x == 1 && y == 1) || (x == 5 && y == 4)) return RGB(0, 0, 0);
        return x == 3 ? RGB(40, 40, 40) : RGB(255, 255, 255);  // dark grey is not black
    });
    std::unique_ptr<TBitmap> disabled = CreateDisabledGlyph(*glyph);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ASSERT_EQ(disabled->Width(), 6);
    ASSERT_EQ(disabled->Height(), 5);
    EXPECT_TRUE(PixelsAre(*disabled, [&](int x, int y) {
        if ((x == 1 && y == 1) || (x == 5 && y == 4)) return shadow;
        if (x == 2 && y == 2) return highlight;
        return face;
    }));
    EXPECT_EQ(At(*glyph, 1, 1), RGB(0, 0, 0));  // the glyph itself is untouched

    auto mono = Picture(
        4, 4, [](int x, int y) { return x == 0 && y == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255); }, pf1bit);
    std::unique_ptr<TBitmap> fromMono = CreateDisabledGlyph(*mono);
    EXPECT_EQ(At(*fromMono, 0, 0), shadow);
    EXPECT_EQ(At(*fromMono, 1, 1), highlight);
    EXPECT_EQ(At(*fromMono, 2, 2), face);
}

// --- regions ---

std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    ::GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    return std::vector<RECT>(rects, rects + header->nCount);
}

// The expected region built another way: one small region per opaque pixel.
win::RegionHandle PixelUnion(int w, int h, const std::function<bool(int, int)>& opaque, int dx, int dy) {
    win::RegionHandle result(::CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (opaque(x, y)) {
                win::RegionHandle pixel(::CreateRectRgn(x + dx, y + dy, x + dx + 1, y + dy + 1));
                ::CombineRgn(result.get(), result.get(), pixel.get(), RGN_OR);
            }
    return result;
}

bool Equal(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

bool SameRects(HRGN a, HRGN b) {
    const std::vector<RECT> ra = RegionRects(a), rb = RegionRects(b);
    if (ra.size() != rb.size()) return false;
    for (size_t i = 0; i < ra.size(); ++i)
        if (!::EqualRect(&ra[i], &rb[i])) return false;
    return true;
}

TEST(Region, NoMagentaIsTheWholeRectangleAllMagentaIsEmpty) {
    auto opaque = Picture(9, 5, [](int x, int y) { return RGB(x, y, 0); });
    win::RegionHandle whole = CreateRegionFromBitmap(*opaque, 3, 4, 1, 1, 1, SkinTransparentColor);
    const std::vector<RECT> rects = RegionRects(whole.get());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(Equal(rects[0], RECT{3, 4, 12, 9}));
    EXPECT_EQ(opaque->PixelFormat(), pf32bit);

    auto magenta = Picture(9, 5, [](int, int) { return kMagenta; });
    win::RegionHandle empty = CreateRegionFromBitmap(*magenta, 0, 0, 1, 1, 1, SkinTransparentColor);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(RegionRects(empty.get()).empty());
    RECT box;
    EXPECT_EQ(::GetRgnBox(empty.get(), &box), NULLREGION);
}

TEST(Region, RunsOfOpaquePixelsWithTolerancesAndOffsets) {
    // Transparent: red 255, green 0..1, blue 255 (tolerance 1 upward from the key).
    auto colour = [](int x, int y) -> COLORREF {
        if ((x + y) % 5 == 0) return kMagenta;
        if ((x * y) % 7 == 1) return RGB(255, 1, 255);  // within tolerance
        if (x == 3) return RGB(254, 0, 255);            // below the key: opaque
        if (x == 8) return RGB(255, 2, 255);            // beyond the tolerance: opaque
        return RGB(10, 20, 30);
    };
    auto transparent = [&](int x, int y) {
        const COLORREF c = colour(x, y);
        return c == kMagenta || c == RGB(255, 1, 255);
    };
    auto bitmap = Picture(13, 6, colour);
    win::RegionHandle region = CreateRegionFromBitmap(*bitmap, -2, 7, 1, 1, 1, SkinTransparentColor);
    win::RegionHandle expected = PixelUnion(
        13, 6, [&](int x, int y) { return !transparent(x, y); }, -2, 7);
    EXPECT_TRUE(::EqualRgn(region.get(), expected.get()));
    EXPECT_TRUE(SameRects(region.get(), expected.get()));
}

TEST(Region, CheckerboardsBeyondOneBatchAndOnePixelHighBitmaps) {
    // 120 x 80 checkerboard: 4,800 rectangles, three batches of up to 2,000.
    auto checker = [](int x, int y) { return (x + y) % 2 == 0; };
    auto board = Picture(120, 80, [&](int x, int y) { return checker(x, y) ? RGB(1, 2, 3) : kMagenta; });
    win::RegionHandle region = CreateRegionFromBitmap(*board, 0, 0, 1, 1, 1, SkinTransparentColor);
    win::RegionHandle expected = PixelUnion(120, 80, checker, 0, 0);
    EXPECT_TRUE(::EqualRgn(region.get(), expected.get()));
    EXPECT_EQ(RegionRects(region.get()).size(), 4800u);

    auto line = Picture(10, 1, [](int x, int) { return x < 4 || x > 6 ? RGB(0, 0, 0) : kMagenta; });
    win::RegionHandle thin = CreateRegionFromBitmap(*line, 0, 0, 1, 1, 1, SkinTransparentColor);
    const std::vector<RECT> rects = RegionRects(thin.get());
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_TRUE(Equal(rects[0], RECT{0, 0, 4, 1}));
    EXPECT_TRUE(Equal(rects[1], RECT{7, 0, 10, 1}));
}

}  // namespace
