// TBitmap behaviour beyond loading: sizes, formats, scan lines, masks, copies, handles.
#include <windows.h>

#include <gtest/gtest.h>

#include "GdiObjectCounter.h"
#include "GraphicsTestUtil.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// 5 x 4, magenta background with a red pixel at (1, 0) and a white one at (4, 3).
void Paint(TBitmap& bitmap) {
    bitmap.SetSize(5, 4);
    bitmap.Canvas().Brush().SetColor(clFuchsia);
    bitmap.Canvas().FillRect(RECT{0, 0, 5, 4});
    bitmap.Canvas().SetPixels(1, 0, clRed);
    bitmap.Canvas().SetPixels(4, 3, clWhite);
}

COLORREF Painted(int x, int y) {
    if (x == 1 && y == 0) return kRed;
    if (x == 4 && y == 3) return kWhite;
    return kMagenta;
}

TEST(Bitmap, NewBitmapsAreEmptyAndResizingKeepsTheCommonArea) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Handle(), nullptr);
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(int(format));
        TBitmap sized(0, 0, format);
        Paint(sized);
        EXPECT_EQ(sized.PixelFormat(), format);
        sized.SetPixelFormat(pf24bit);
        sized.SetPixelFormat(format);
        sized.SetSize(9, 7);
        EXPECT_EQ(sized.PixelFormat(), format);
        if (format >= pf8bit) {  // formats that hold all three colours exactly
            EXPECT_TRUE(
                gfxtest::PixelsAre(sized, [](int x, int y) { return x < 5 && y < 4 ? Painted(x, y) : kBlack; }));
        }
    }
    TBitmap shrunk(0, 0, pf4bit);
    Paint(shrunk);
    shrunk.SetWidth(2);
    EXPECT_EQ(shrunk.Width(), 2);
    EXPECT_EQ(COLORREF(shrunk.Canvas().Pixels(1, 0)), kRed);
    shrunk.SetHeight(0);
    EXPECT_TRUE(shrunk.Empty());
}

TEST(Bitmap, DefaultBitmapsTakeTheScreenFormatWhenSizedUnlessAFormatIsSet) {
    HDC screen = ::GetDC(nullptr);
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    const TPixelFormat device = depth <= 8 ? pf8bit : depth <= 16 ? pf16bit : pf32bit;

    TBitmap plain;
    EXPECT_EQ(plain.PixelFormat(), device);
    plain.SetSize(3, 2);
    EXPECT_EQ(plain.PixelFormat(), device);

    TBitmap chosen;  // a format chosen while empty holds when the size comes
    chosen.SetPixelFormat(pf24bit);
    chosen.SetSize(3, 2);
    EXPECT_EQ(chosen.PixelFormat(), pf24bit);

    TBitmap copy(4, 4, pf8bit);
    TBitmap emptySource;
    copy.Assign(&emptySource);  // an empty copy takes the source's format, the screen's
    copy.SetSize(2, 2);
    EXPECT_EQ(copy.PixelFormat(), device);
}

TEST(Bitmap, ScanLinesCountRowsFromTheTop) {
    TBitmap bitmap(3, 2, pf24bit);
    auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
    top[3 * 2 + 2] = 0xFF;  // red of pixel (2, 0)
    auto* bottom = static_cast<uint8_t*>(bitmap.ScanLine(1));
    bottom[0] = 0xFF;  // blue of pixel (0, 1)
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(2, 0)), kRed);
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(0, 1)), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.RowBytes(), 12u);
    EXPECT_THROW(bitmap.ScanLine(2), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, ConversionToPalettesPicksTheNearestColour) {
    TBitmap bitmap(0, 0, pf24bit);
    Paint(bitmap);
    bitmap.Canvas().SetPixels(0, 3, TColor(RGB(250, 10, 5)));
    bitmap.SetPixelFormat(pf4bit);
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(0, 3)), kRed);
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(1, 0)), kRed);
    bitmap.SetPixelFormat(pf1bit);
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(4, 3)), kWhite);
    EXPECT_EQ(COLORREF(bitmap.Canvas().Pixels(1, 0)), kBlack);
}

TEST(Bitmap, MaskMakesTheKeyColourWhiteAndEverythingElseBlack) {
    for (TPixelFormat format : {pf8bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(int(format));
        TBitmap bitmap(0, 0, format);
        Paint(bitmap);
        std::unique_ptr<TBitmap> mask = bitmap.CreateMask(clFuchsia);
        EXPECT_TRUE(mask->Monochrome());
        EXPECT_TRUE(
            gfxtest::PixelsAre(*mask, [](int x, int y) { return Painted(x, y) == kMagenta ? kWhite : kBlack; }));
        EXPECT_EQ(bitmap.PixelFormat(), format);  // the source stays as it was
        bitmap.Mask(clFuchsia);
        EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
        EXPECT_TRUE(
            gfxtest::PixelsAre(bitmap, [](int x, int y) { return Painted(x, y) == kMagenta ? kWhite : kBlack; }));
    }
    TBitmap mono(0, 0, pf24bit);
    Paint(mono);
    mono.SetMonochrome(true);
    EXPECT_TRUE(gfxtest::PixelsAre(mono, [](int x, int y) { return Painted(x, y) == kWhite ? kWhite : kBlack; }));
    mono.SetMonochrome(false);
    EXPECT_FALSE(mono.Monochrome());
    EXPECT_EQ(COLORREF(mono.Canvas().Pixels(4, 3)), kWhite);
}

TEST(Bitmap, AssignCopiesDeeplyAndNullEmpties) {
    TBitmap original(0, 0, pf8bit);
    Paint(original);
    original.SetTransparentColor(clRed);
    original.SetTransparent(true);
    TBitmap copy;
    copy.Assign(&original);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);
    EXPECT_NE(copy.Handle(), original.Handle());
    original.Canvas().SetPixels(0, 0, clWhite);
    EXPECT_TRUE(gfxtest::PixelsAre(copy, Painted));
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, ForeignHandlesAreAdoptedAndReleasedHandlesGiven) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP ddb = ::CreateCompatibleBitmap(screen, 6, 3);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, ddb);
    RECT all{0, 0, 6, 3};
    HBRUSH red = ::CreateSolidBrush(kRed);
    ::FillRect(dc, &all, red);
    ::DeleteObject(red);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);

    TBitmap bitmap;
    bitmap.SetHandle(ddb);  // owned from now on
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int, int) { return kRed; }));
    EXPECT_EQ(::GetObjectType(ddb), 0u);

    HBITMAP released = bitmap.ReleaseHandle();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(::GetObjectType(released), DWORD(OBJ_BITMAP));
    ::DeleteObject(released);
}

TEST(GdiObjects, RepeatedCreateAndDestroyKeepsCountsFlat) {
    // Warm up one-time allocations (stock objects, caches).
    {
        TBitmap warm(4, 4);
        warm.Canvas().TextOutput(0, 0, std::string_view("x"));
    }
    GdiObjectCounter counter;
    EXPECT_GT(counter.Start().Total, 0);  // probing works under Wine
    const std::vector<uint8_t> bmp = gfxtest::ResourceBytes(L"IM_RLE8");
    for (int i = 0; i < 300; ++i) {
        TBitmap bitmap(16, 16, TPixelFormat(pf1bit + i % 7));
        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(TColor(i));
        canvas.Font().SetSize(8 + i % 5);
        canvas.Pen().SetWidth(1 + i % 3);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.TextOutput(1, 1, std::string_view("Ab"));
        bitmap.SetTransparent(true);
        TBitmap target(20, 20, pf24bit);
        target.Canvas().Draw(2, 2, bitmap);
        (void)bitmap.Handle();  // frees the canvas DC, which the next use makes again
        bitmap.Canvas().FillRect(RECT{0, 0, 2, 2});
        bitmap.Mask(clBlack);
        gfxtest::LoadBytes(bitmap, bmp);
        try {
            gfxtest::LoadBytes(bitmap, std::vector<uint8_t>(bmp.begin(), bmp.begin() + 60));
        } catch (const EInvalidGraphic&) {
        }
    }
    EXPECT_EQ(counter.Leaked(), GdiObjectCounts{});
}

TEST(GdiObjects, CounterSeesObjectsOfEachType) {
    GdiObjectCounter counter;
    HBRUSH brush = ::CreateSolidBrush(kRed);
    HPEN pen = ::CreatePen(PS_SOLID, 1, kRed);
    HRGN region = ::CreateRectRgn(0, 0, 1, 1);
    HDC dc = ::CreateCompatibleDC(nullptr);
    const GdiObjectCounts leaked = counter.Leaked();
    EXPECT_EQ(leaked.Brushes, 1);
    EXPECT_EQ(leaked.Pens, 1);
    EXPECT_EQ(leaked.Regions, 1);
    EXPECT_EQ(leaked.DeviceContexts, 1);
    EXPECT_EQ(leaked.Total, 4);
    ::DeleteDC(dc);
    ::DeleteObject(region);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
    EXPECT_EQ(counter.Leaked(), GdiObjectCounts{});
}

}  // namespace
