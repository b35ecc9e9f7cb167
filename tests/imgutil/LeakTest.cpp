// Every drawing routine releases all its temporaries: GDI object counts are equal before and after
// 10,000 calls of each.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "GdiObjectCounter.h"
#include "ImgUtilTestUtil.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"

using namespace imgtest;

namespace {

constexpr int kCalls = 10000;

class DrawingLeaks : public ::testing::Test {
protected:
    std::unique_ptr<TBitmap> Element =
        Picture(12, 8, [](int x, int y) { return (x + y) % 4 == 0 ? kMagenta : RGB(x * 20, y * 30, 90); });
    std::unique_ptr<TBitmap> Destination = Target(24, 16);
    const RECT Rect{2, 2, 20, 14};
    const RECT Margins{2, 2, 3, 3};

    void ExpectNoLeak(const char* routine, const std::function<void()>& call) {
        SCOPED_TRACE(routine);
        call();  // first call: one-time allocations of GDI and of the routine's caches
        GdiObjectCounter counter;
        for (int i = 0; i < kCalls; ++i) call();
        EXPECT_EQ(counter.Leaked(), GdiObjectCounts{});
    }
};

TEST_F(DrawingLeaks, CompositionRoutines) {
    HDC dc = Destination->Canvas().Handle();
    ExpectNoLeak("CreateSkinElementBitmap",
                 [&] { CreateSkinElementBitmap(Rect, *Element, Margins, false, true, 2, 2); });
    ExpectNoLeak("DrawSkinElement", [&] { DrawSkinElement(dc, Rect, *Element, false, false, true, 2, 1, Margins); });
    ExpectNoLeak("DrawSkinElement opaque tiled",
                 [&] { DrawSkinElement(dc, Rect, *Element, true, true, false, 2, 2, Margins); });
    ExpectNoLeak("DrawThreePartTiled",
                 [&] { DrawThreePartTiled(Destination->Canvas(), Rect, *Element, false, true, 2, 1, Margins); });
    dc = Destination->Canvas().Handle();
    ExpectNoLeak("DrawThreePartStretched", [&] { DrawThreePartStretched(dc, Rect, *Element, false, 2, 1, Margins); });
}

TEST_F(DrawingLeaks, FrameTileAndTransparentRoutines) {
    HDC dc = Destination->Canvas().Handle();
    ExpectNoLeak("DrawFrameStretched", [&] { DrawFrameStretched(dc, Rect, *Element, true, 2, 2); });
    ExpectNoLeak("DrawFrameCentered", [&] { DrawFrameCentered(dc, Rect, *Element, true, 2, 1); });
    ExpectNoLeak("TileBitmapRect", [&] { TileBitmapRect(Destination->Canvas(), Rect, *Element, RECT{1, 1, 4, 3}); });
    dc = Destination->Canvas().Handle();
    ExpectNoLeak("DrawTransparent MaskBlt",
                 [&] { DrawTransparent(dc, Rect, *Element, SkinTransparentColor, TTransparentMethod::MaskBlt); });
    ExpectNoLeak("DrawTransparent three passes",
                 [&] { DrawTransparent(dc, Rect, *Element, SkinTransparentColor, TTransparentMethod::ThreePass); });
}

TEST_F(DrawingLeaks, RegionsGradientsAndGlyphs) {
    ExpectNoLeak("CreateRegionFromBitmap", [&] {
        win::RegionHandle region = CreateRegionFromBitmap(*Element, 0, 0, 1, 1, 1, SkinTransparentColor);
    });
    HDC dc = Destination->Canvas().Handle();
    ExpectNoLeak("GradientFillRect", [&] { GradientFillRect(dc, Rect, clRed, 1, clBlue); });
    auto glyph = Picture(8, 8, [](int x, int) { return x % 2 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    ExpectNoLeak("CreateDisabledGlyph", [&] { CreateDisabledGlyph(*glyph); });
    ExpectNoLeak("flips and rotations", [&] {
        FlipHorizontal(*glyph);
        FlipVertical(*glyph);
        RotateLeft(*glyph);
        RotateRight(*glyph);
        ReplaceMagentaPixels(*glyph, clRed);
    });
}

}  // namespace
