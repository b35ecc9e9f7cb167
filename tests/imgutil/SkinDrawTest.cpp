// The drawing routines compared pixel by pixel with the composition rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ImgUtilTestUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WindowsVersion.h"

using namespace imgtest;

namespace {

// A cell-position code: red = column, green = row, blue = 0x40 (never magenta, never the sentinel).
COLORREF Coded(int x, int y) { return RGB(x * 6, y * 6, 0x40); }
int CodedX(COLORREF c) { return GetRValue(c) / 6; }
int CodedY(COLORREF c) { return GetGValue(c) / 6; }

TEST(FrameCell, SideBySideAndStackedFramesClampedToTheCount) {
    auto bitmap = Picture(41, 30, Coded);
    auto equal = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; };
    EXPECT_TRUE(equal(FrameCell(*bitmap, 2, 2, false), RECT{20, 0, 40, 30}));
    EXPECT_TRUE(equal(FrameCell(*bitmap, 3, 2, true), RECT{0, 10, 41, 20}));
    EXPECT_TRUE(equal(FrameCell(*bitmap, 0, 1, false), RECT{0, 0, 41, 30})) << "count 0 counts as 1";
    EXPECT_TRUE(equal(FrameCell(*bitmap, 2, 7, false), RECT{20, 0, 40, 30})) << "index past the count";
    EXPECT_TRUE(equal(FrameCell(*bitmap, 2, -1, false), RECT{0, 0, 20, 30})) << "index below 1";
}

// Element of one 11 x 9 frame (margins L 2, T 3, R 4, B 1), every pixel position-coded.
struct NineSlice {
    static constexpr int kL = 2, kT = 3, kR = 4, kB = 1, kW = 11, kH = 9;
    std::unique_ptr<TBitmap> Element = Picture(kW, kH, Coded);
    RECT Margins{kL, kT, kR, kB};
};

TEST(NineSlice, EachPieceLandsWhereTheRulesPutIt) {
    NineSlice s;
    const int w = 30, h = 20;
    auto composed = CreateSkinElementBitmap(RECT{5, 5, 5 + w, 5 + h}, *s.Element, s.Margins, false, false, 1, 1);
    ASSERT_EQ(composed->Width(), w);
    ASSERT_EQ(composed->Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = At(*composed, x, y);
            const int sx = CodedX(c), sy = CodedY(c);
            // Columns: left margin 1:1, right margin 1:1 from the cell's right; middle from the middle.
            const int wantX = x < s.kL ? x : x >= w - s.kR ? s.kW - (w - x) : -1;
            const int wantY = y < s.kT ? y : y >= h - s.kB ? s.kH - (h - y) : -1;
            if (wantX >= 0) {
                EXPECT_EQ(sx, wantX) << x << "," << y;
            } else {
                EXPECT_TRUE(sx >= s.kL && sx < s.kW - s.kR) << x << "," << y;
            }
            if (wantY >= 0) {
                EXPECT_EQ(sy, wantY) << x << "," << y;
            } else {
                EXPECT_TRUE(sy >= s.kT && sy < s.kH - s.kB) << x << "," << y;
            }
        }
    // The stretched middle runs from the first middle column to the last one.
    EXPECT_EQ(CodedX(At(*composed, s.kL, 10)), s.kL);
    EXPECT_EQ(CodedX(At(*composed, w - s.kR - 1, 10)), s.kW - s.kR - 1);
}

TEST(NineSlice, NarrowOrLowDestinationLosesThoseMargins) {
    NineSlice s;
    // 5 < L + R = 6: no left or right margins; the full cell width is stretched across.
    const int w = 5, h = 12;
    auto composed = CreateSkinElementBitmap(RECT{0, 0, w, h}, *s.Element, s.Margins, false, false, 1, 1);
    // Reference: each band of the cell stretched over the full width with plain GDI.
    auto reference = Target(w, h);
    HDC dc = reference->Canvas().Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    HDC source = s.Element->Canvas().Handle();
    ::StretchBlt(dc, 0, 0, w, s.kT, source, 0, 0, s.kW, s.kT, SRCCOPY);
    ::StretchBlt(dc, 0, s.kT, w, h - s.kT - s.kB, source, 0, s.kT, s.kW, s.kH - s.kT - s.kB, SRCCOPY);
    ::StretchBlt(dc, 0, h - s.kB, w, s.kB, source, 0, s.kH - s.kB, s.kW, s.kB, SRCCOPY);
    EXPECT_TRUE(PixelsAre(*composed, [&](int x, int y) { return At(*reference, x, y); }));

    // 3 < T + B = 4: no top or bottom margins; the columns keep theirs (each piece full height).
    auto low = CreateSkinElementBitmap(RECT{0, 0, 20, 3}, *s.Element, s.Margins, false, false, 1, 1);
    auto lowReference = Target(20, 3);
    dc = lowReference->Canvas().Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, s.kL, 3, source, 0, 0, s.kL, s.kH, SRCCOPY);
    ::StretchBlt(dc, s.kL, 0, 20 - s.kL - s.kR, 3, source, s.kL, 0, s.kW - s.kL - s.kR, s.kH, SRCCOPY);
    ::StretchBlt(dc, 20 - s.kR, 0, s.kR, 3, source, s.kW - s.kR, 0, s.kR, s.kH, SRCCOPY);
    EXPECT_TRUE(PixelsAre(*low, [&](int x, int y) { return At(*lowReference, x, y); }));
    EXPECT_EQ(CodedX(At(*low, 1, 1)), 1);
}

TEST(NineSlice, FrameTwoOfTwoFramesFortyOneWideUsesColumnsTwentyToThirtyNine) {
    auto element = Picture(41, 4, [](int x, int y) { return x == 40 ? kMagenta : Coded(x, y); });
    auto composed = CreateSkinElementBitmap(RECT{0, 0, 20, 4}, *element, RECT{0, 0, 0, 0}, false, false, 2, 2);
    EXPECT_TRUE(PixelsAre(*composed, [](int x, int y) { return Coded(20 + x, y); }));
    // Stretched wider, column 40 still never shows.
    auto wide = CreateSkinElementBitmap(RECT{0, 0, 97, 4}, *element, RECT{3, 1, 3, 1}, false, false, 2, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 97; ++x) {
            const COLORREF c = At(*wide, x, y);
            EXPECT_NE(c, kMagenta);
            EXPECT_GE(CodedX(c), 20);
            EXPECT_LE(CodedX(c), 39);
        }
}

TEST(NineSlice, MarginsWiderThanTheCellAndTheDestinationAreDroppedBeforeTheyAreFitted) {
    // A 4-wide cell whose skin claims side margins of 6 and 7: a 4-wide destination has no room for them,
    // so the columns are one plain stretch (here 1:1) and the centre rows tile from the top margin on.
    auto element = Picture(4, 12, Coded);
    auto composed = CreateSkinElementBitmap(RECT{0, 0, 4, 30}, *element, RECT{6, 2, 7, 2}, false, true, 1, 1);
    EXPECT_TRUE(PixelsAre(*composed, [](int x, int y) {
        if (y < 2) return Coded(x, y);
        if (y >= 28) return Coded(x, 12 - (30 - y));
        return Coded(x, 2 + (y - 2) % 8);
    }));
}

TEST(NineSlice, StackedFramesAndTiledCentreWithoutOverflowIntoTheEdges) {
    // Two stacked 10 x 10 frames; frame 2 has margins 3 and a 4 x 4 centre.
    auto element = Picture(10, 20, Coded);
    const int w = 13, h = 14;  // centres 7 x 8: tiles of 4 run past by 1 and 0
    auto composed = CreateSkinElementBitmap(RECT{0, 0, w, h}, *element, RECT{3, 3, 3, 3}, true, true, 2, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = At(*composed, x, y);
            const bool middleX = x >= 3 && x < w - 3, middleY = y >= 3 && y < h - 3;
            const int wantX = x < 3 ? x : x >= w - 3 ? 10 - (w - x) : 3 + (x - 3) % 4;
            const int wantY = y < 3 ? y : y >= h - 3 ? 10 - (h - y) : 3 + (y - 3) % 4;
            // Corners and the tiled centre are exact; top and bottom edges are stretched along x and
            // the side edges along y (those coordinates stay in the middle range).
            if (middleX && !middleY) {
                EXPECT_TRUE(CodedX(c) >= 3 && CodedX(c) < 7) << x << "," << y;
            } else {
                EXPECT_EQ(CodedX(c), wantX) << x << "," << y;
            }
            if (middleY && !middleX) {
                EXPECT_TRUE(CodedY(c) >= 13 && CodedY(c) < 17) << x << "," << y;
            } else {
                EXPECT_EQ(CodedY(c), 10 + wantY) << x << "," << y;
            }
        }
    // The right edge is the right edge everywhere: the tile that ran past the centre is covered.
    for (int y = 3; y < h - 3; ++y) EXPECT_EQ(CodedX(At(*composed, w - 3, y)), 7);
}

TEST(NineSlice, ZeroFrameCountAndIndexPastTheCountAreClamped) {
    auto element = Picture(8, 4, Coded);
    auto zero = CreateSkinElementBitmap(RECT{0, 0, 8, 4}, *element, RECT{}, false, false, 0, 0);
    EXPECT_TRUE(PixelsAre(*zero, Coded));
    auto past = CreateSkinElementBitmap(RECT{0, 0, 4, 4}, *element, RECT{}, false, false, 2, 9);
    EXPECT_TRUE(PixelsAre(*past, [](int x, int y) { return Coded(4 + x, y); }));
    // Margins larger than the cell are cut to it instead of reading outside the frame.
    auto huge = CreateSkinElementBitmap(RECT{0, 0, 40, 40}, *element, RECT{50, 50, 50, 50}, false, false, 2, 1);
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 40; x += 3) EXPECT_LT(CodedX(At(*huge, x, y)), 4);
}

TEST(DrawSkinElement, DrawsAtTheRectangleOpaqueOrWithoutMagenta) {
    auto element = Picture(6, 6, [](int x, int y) { return (x + y) % 3 == 0 ? kMagenta : Coded(x, y); });
    auto target = Target(20, 20);
    DrawSkinElement(target->Canvas().Handle(), RECT{4, 5, 10, 11}, *element, false, false, false, 1, 1, RECT{});
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        if (x < 4 || x >= 10 || y < 5 || y >= 11) return kSentinel;
        return (x - 4 + y - 5) % 3 == 0 ? kMagenta : Coded(x - 4, y - 5);
    }));
    target = Target(20, 20);
    DrawSkinElement(target->Canvas().Handle(), RECT{4, 5, 10, 11}, *element, false, false, true, 1, 1, RECT{});
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        if (x < 4 || x >= 10 || y < 5 || y >= 11) return kSentinel;
        return (x - 4 + y - 5) % 3 == 0 ? kSentinel : Coded(x - 4, y - 5);
    }));
    // Inverted rectangles draw nothing.
    target = Target(20, 20);
    DrawSkinElement(target->Canvas().Handle(), RECT{10, 5, 4, 11}, *element, false, false, false, 1, 1, RECT{});
    DrawSkinElement(target->Canvas().Handle(), RECT{4, 11, 10, 5}, *element, false, false, false, 1, 1, RECT{});
    EXPECT_TRUE(PixelsAre(*target, [](int, int) { return kSentinel; }));
}

TEST(DrawTransparent, BothMethodsLeaveTheKeyColourUnpainted) {
    auto picture = Picture(7, 5, [](int x, int y) { return x == y || x == 6 ? kMagenta : Coded(x, y); });
    for (TTransparentMethod method : {TTransparentMethod::MaskBlt, TTransparentMethod::ThreePass}) {
        SCOPED_TRACE(method == TTransparentMethod::MaskBlt ? "MaskBlt" : "three passes");
        auto target = Target(12, 9);
        HDC dc = target->Canvas().Handle();
        const COLORREF text = ::GetTextColor(dc), back = ::GetBkColor(dc);
        // The rectangle takes the picture's top-left 5 x 4.
        DrawTransparent(dc, RECT{2, 3, 7, 7}, *picture, clFuchsia, method);
        EXPECT_EQ(::GetTextColor(dc), text);
        EXPECT_EQ(::GetBkColor(dc), back);
        EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
            if (x < 2 || x >= 7 || y < 3 || y >= 7) return kSentinel;
            const int px = x - 2, py = y - 3;
            return px == py ? kSentinel : Coded(px, py);
        }));
    }
    // Wine reports the NT family, which has MaskBlt.
    EXPECT_TRUE(IsNTPlatform());
    EXPECT_EQ(DefaultTransparentMethod(), TTransparentMethod::MaskBlt);
}

TEST(ThreePart, TiledMiddleRepeatsBetweenTheCapsAndStretchesTheHeight) {
    // Cell 9 wide: caps 2 and 3, middle step 4. Height 2 stretched to 6.
    auto element = Picture(9, 2, [](int x, int y) { return x == 8 && y == 1 ? kMagenta : Coded(x, y); });
    auto target = Target(20, 8);
    DrawThreePartTiled(target->Canvas(), RECT{1, 1, 18, 7}, *element, false, false, 1, 1, RECT{2, 0, 3, 0});
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        if (x < 1 || x >= 18 || y < 1 || y >= 7) return kSentinel;
        const int dx = x - 1, sy = (y - 1) / 3;
        int sx;
        if (dx < 2)
            sx = dx;
        else if (dx >= 17 - 3)
            sx = 9 - (17 - dx);
        else
            sx = 2 + (dx - 2) % 4;
        return sx == 8 && sy == 1 ? kMagenta : Coded(sx, sy);
    }));
    // Transparent: the magenta corner pixel keeps the destination.
    target = Target(20, 8);
    DrawThreePartTiled(target->Canvas(), RECT{1, 1, 18, 7}, *element, false, true, 1, 1, RECT{2, 0, 3, 0});
    for (int y = 4; y < 7; ++y) EXPECT_EQ(At(*target, 17, y), kSentinel);
    EXPECT_EQ(At(*target, 16, 1), Coded(7, 0));
}

TEST(ThreePart, FrameTooNarrowForAMiddleDrawsCapsAndAStretchedMiddle) {
    // Caps 3 + 3 on a 5-wide cell: no middle step. Must finish and paint every pixel.
    auto element = Picture(5, 2, Coded);
    auto target = Target(30, 4);
    DrawThreePartTiled(target->Canvas(), RECT{0, 0, 30, 4}, *element, false, false, 1, 1, RECT{3, 0, 3, 0});
    for (int x = 0; x < 30; ++x) EXPECT_NE(At(*target, x, 0), kSentinel) << x;
    EXPECT_EQ(At(*target, 0, 0), Coded(0, 0));
    EXPECT_EQ(At(*target, 29, 0), Coded(4, 0));
}

TEST(ThreePart, StretchedMiddleOrWholeCellWhenNarrower) {
    auto element = Picture(16, 2, Coded);  // two frames of 8: caps 2 and 2, middle 4
    auto target = Target(20, 4);
    DrawThreePartStretched(target->Canvas().Handle(), RECT{0, 0, 16, 4}, *element, false, 2, 2, RECT{2, 0, 2, 0});
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        if (x >= 16) return kSentinel;
        const int sy = y / 2;
        if (x < 2) return Coded(8 + x, sy);
        if (x >= 14) return Coded(8 + 8 - (16 - x), sy);
        return Coded(8 + 2 + (x - 2) / 3, sy);
    }));
    // Narrower than the cell: the whole 8-wide cell squeezed into 4 with one StretchBlt (in the
    // target DC's stretch mode, here the one the reference uses).
    target = Target(20, 4);
    ::SetStretchBltMode(target->Canvas().Handle(), COLORONCOLOR);
    DrawThreePartStretched(target->Canvas().Handle(), RECT{0, 0, 4, 2}, *element, false, 2, 1, RECT{2, 0, 2, 0});
    auto reference = Target(20, 4);
    HDC dc = reference->Canvas().Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, 4, 2, element->Canvas().Handle(), 0, 0, 8, 2, SRCCOPY);
    EXPECT_TRUE(PixelsAre(*target, [&](int x, int y) { return At(*reference, x, y); }));
}

TEST(WholeFrame, StretchedAndCentredCells) {
    auto element = Picture(12, 3, [](int x, int y) { return x == 4 && y == 1 ? kMagenta : Coded(x, y); });
    auto target = Target(16, 10);
    DrawFrameStretched(target->Canvas().Handle(), RECT{2, 1, 14, 7}, *element, false, 3, 2);
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        if (x < 2 || x >= 14 || y < 1 || y >= 7) return kSentinel;
        const int sx = 4 + (x - 2) / 3, sy = (y - 1) / 2;
        return sx == 4 && sy == 1 ? kMagenta : Coded(sx, sy);
    }));
    target = Target(16, 10);
    DrawFrameStretched(target->Canvas().Handle(), RECT{2, 1, 14, 7}, *element, true, 3, 2);
    EXPECT_EQ(At(*target, 2, 3), kSentinel);
    EXPECT_EQ(At(*target, 5, 3), Coded(5, 1));

    // Centred: a 4 x 3 cell in an 11 x 8 rectangle lands at (left + 3, top + 2).
    target = Target(16, 10);
    DrawFrameCentered(target->Canvas().Handle(), RECT{1, 1, 12, 9}, *element, true, 3, 2);
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        const int sx = x - 4, sy = y - 3;
        if (sx < 0 || sx >= 4 || sy < 0 || sy >= 3) return kSentinel;
        return sx == 0 && sy == 1 ? kSentinel : Coded(4 + sx, sy);
    }));
    // A rectangle smaller than the cell: the halves truncate toward zero ((1 - 4) / 2 = -1).
    target = Target(16, 10);
    DrawFrameCentered(target->Canvas().Handle(), RECT{5, 5, 6, 6}, *element, false, 3, 3);
    EXPECT_EQ(At(*target, 4, 4), Coded(8, 0));
    EXPECT_EQ(At(*target, 3, 4), kSentinel);
}

TEST(StretchMode, StretchedStripsAndFramesCombineShrunkPixelsAsTheDestinationDCSays) {
    // Columns alternately black and white, shrunk to half: AND-ing scans gives black, OR-ing white.
    auto element = Picture(8, 2, [](int x, int) { return x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    struct Mode {
        int StretchMode;
        COLORREF Shrunk;
    };
    for (const Mode mode : {Mode{BLACKONWHITE, RGB(0, 0, 0)}, Mode{WHITEONBLACK, RGB(255, 255, 255)}}) {
        SCOPED_TRACE(mode.StretchMode == BLACKONWHITE ? "BLACKONWHITE" : "WHITEONBLACK");
        auto strip = Target(4, 2);
        HDC stripDC = strip->Canvas().Handle();
        ::SetStretchBltMode(stripDC, mode.StretchMode);
        DrawThreePartStretched(stripDC, RECT{0, 0, 4, 2}, *element, false, 1, 1, RECT{2, 0, 2, 0});
        EXPECT_TRUE(PixelsAre(*strip, [&](int, int) { return mode.Shrunk; }));
        EXPECT_EQ(::GetStretchBltMode(stripDC), mode.StretchMode) << "the caller's DC keeps its mode";

        auto frame = Target(4, 2);
        HDC frameDC = frame->Canvas().Handle();
        ::SetStretchBltMode(frameDC, mode.StretchMode);
        DrawFrameStretched(frameDC, RECT{0, 0, 4, 2}, *element, false, 1, 1);
        EXPECT_TRUE(PixelsAre(*frame, [&](int, int) { return mode.Shrunk; }));
        EXPECT_EQ(::GetStretchBltMode(frameDC), mode.StretchMode);
    }
}

TEST(EmptyElement, ComposesToNothingAndEveryRoutineLeavesTheDestination) {
    TBitmap empty;
    auto composed = CreateSkinElementBitmap(RECT{0, 0, 12, 9}, empty, RECT{2, 2, 2, 2}, false, false, 2, 1);
    ASSERT_TRUE(composed);
    EXPECT_TRUE(composed->Empty());
    auto target = Target(16, 12);
    HDC dc = target->Canvas().Handle();
    for (bool transparent : {false, true})
        DrawSkinElement(dc, RECT{1, 1, 13, 10}, empty, false, false, transparent, 2, 1, RECT{2, 2, 2, 2});
    DrawThreePartTiled(target->Canvas(), RECT{1, 1, 13, 10}, empty, false, false, 1, 1, RECT{2, 0, 2, 0});
    DrawThreePartStretched(dc, RECT{1, 1, 13, 10}, empty, false, 1, 1, RECT{2, 0, 2, 0});
    DrawFrameStretched(dc, RECT{1, 1, 13, 10}, empty, false, 1, 1);
    DrawFrameCentered(dc, RECT{1, 1, 13, 10}, empty, false, 1, 1);
    EXPECT_TRUE(PixelsAre(*target, [](int, int) { return kSentinel; }));
}

TEST(TileBitmapRect, WholeTilesFromTheTopLeftAndNothingForEmptySources) {
    auto bitmap = Picture(10, 10, Coded);
    auto target = Target(12, 12);
    TileBitmapRect(target->Canvas(), RECT{1, 2, 8, 7}, *bitmap, RECT{3, 4, 6, 6});
    EXPECT_TRUE(PixelsAre(*target, [](int x, int y) {
        // Tiles of 3 x 2 from (1, 2), whole: the last column reaches x 9, the last row y 7.
        if (x < 1 || x >= 10 || y < 2 || y >= 8) return kSentinel;
        return Coded(3 + (x - 1) % 3, 4 + (y - 2) % 2);
    }));
    target = Target(12, 12);
    TileBitmapRect(target->Canvas(), RECT{0, 0, 12, 12}, *bitmap, RECT{3, 4, 3, 9});
    TileBitmapRect(target->Canvas(), RECT{0, 0, 12, 12}, *bitmap, RECT{5, 4, 3, 9});
    EXPECT_TRUE(PixelsAre(*target, [](int, int) { return kSentinel; }));
}

TEST(SharedBuffers, OneBackBufferWithColourOnColourStretchingAndOneStringList) {
    TBitmap& buffer = SkinBackBuffer();
    EXPECT_EQ(&buffer, &SkinBackBuffer());
    buffer.SetSize(30, 10);
    EXPECT_EQ(::GetStretchBltMode(buffer.Canvas().Handle()), COLORONCOLOR);
    (void)buffer.Handle();
    EXPECT_EQ(::GetStretchBltMode(buffer.Canvas().Handle()), COLORONCOLOR);
    SkinSharedStrings().Add("x");
    EXPECT_EQ(&SkinSharedStrings(), &SkinSharedStrings());
    EXPECT_EQ(SkinSharedStrings().Count(), 1);
    SkinSharedStrings().Clear();
}

}  // namespace
