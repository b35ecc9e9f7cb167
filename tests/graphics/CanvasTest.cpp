// Canvas operations on bitmaps read back through GDI.
#include <windows.h>

#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "framework/core/PropAccess.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/win/DeviceContext.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

bool Inside(int x, int y, const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TBitmap& Cleared(TBitmap& bitmap, int width, int height, COLORREF color = kWhite) {
    bitmap.SetSize(width, height);
    bitmap.Canvas().Brush().SetColor(TColor(color));
    bitmap.Canvas().FillRect(RECT{0, 0, width, height});
    return bitmap;
}

TEST(Canvas, FillFrameAndRectangleUseBrushAndPen) {
    TBitmap bitmap(20, 12, pf24bit);
    Cleared(bitmap, 20, 12);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(RECT{2, 3, 6, 7});
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int x, int y) {
        return Inside(x, y, RECT{2, 3, 6, 7}) ? kRed : kWhite;
    }));

    Cleared(bitmap, 20, 12);
    canvas.Brush().SetColor(clBlue);
    canvas.FrameRect(RECT{1, 1, 9, 8});
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int x, int y) {
        return Inside(x, y, RECT{1, 1, 9, 8}) && !Inside(x, y, RECT{2, 2, 8, 7}) ? kBlue : kWhite;
    }));

    Cleared(bitmap, 20, 12);
    canvas.Pen().SetColor(clBlue);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(10, 2, 16, 9);
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int x, int y) {
        if (!Inside(x, y, RECT{10, 2, 16, 9})) return kWhite;
        return Inside(x, y, RECT{11, 3, 15, 8}) ? kRed : kBlue;
    }));
}

TEST(Canvas, BrushBitmapFillsWithThePatternAsItIsWhenTheBrushIsUsed) {
    TBitmap pattern(2, 2, pf24bit);
    TBitmap bitmap(8, 6, pf24bit);
    Cleared(bitmap, 8, 6);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetBitmap(&pattern);
    // Drawn after the brush took it: the brush reads the pixels only when it makes its handle.
    Cleared(pattern, 2, 2, kBlue);
    pattern.Canvas().SetPixels(0, 0, TColor(kRed));
    pattern.Canvas().SetPixels(1, 1, TColor(kRed));
    const auto checkered = [](int x, int y) { return (x + y) % 2 == 0 ? kRed : kBlue; };
    canvas.FillRect(RECT{0, 0, 8, 6});
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, checkered));

    // Assigning a brush carries its pattern along.
    TBitmap copy(8, 6, pf24bit);
    Cleared(copy, 8, 6);
    copy.Canvas().SetBrush(canvas.Brush());
    copy.Canvas().FillRect(RECT{0, 0, 8, 6});
    EXPECT_TRUE(gfxtest::PixelsAre(copy, checkered));

    // Without a pattern the brush fills with its colour again.
    canvas.Brush().SetBitmap(nullptr);
    canvas.FillRect(RECT{0, 0, 8, 6});
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int, int) { return kWhite; }));
}

TEST(Canvas, LinesFollowThePenPositionAndClearBrushLeavesTheInside) {
    TBitmap bitmap(10, 10, pf32bit);
    Cleared(bitmap, 10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(1, 4);
    canvas.LineTo(8, 4);
    EXPECT_EQ(canvas.PenPos().x, 8);
    EXPECT_TRUE(gfxtest::PixelsAre(bitmap, [](int x, int y) { return y == 4 && x >= 1 && x < 8 ? kRed : kWhite; }));

    Cleared(bitmap, 10, 10);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(COLORREF(canvas.Pixels(0, 0)), kRed);
    EXPECT_EQ(COLORREF(canvas.Pixels(5, 5)), kWhite);
}

TEST(Canvas, PixelsAreSetAndReadAndSystemColoursResolve) {
    TBitmap bitmap(4, 4, pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetPixels(1, 2, clFuchsia);
    canvas.SetPixels(2, 1, clBtnFace);
    EXPECT_EQ(COLORREF(canvas.Pixels(1, 2)), kMagenta);
    EXPECT_EQ(COLORREF(canvas.Pixels(2, 1)), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), TColor(::GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(ColorToRGB(clGreen), clGreen);
    EXPECT_EQ(uint32_t(clBtnFace) >> 24, 0xFFu);
}

TEST(Canvas, TextIsDrawnInsideItsExtentInTheFontColour) {
    TBitmap bitmap(120, 40, pf24bit);
    Cleared(bitmap, 120, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetColor(clBlue);
    canvas.Brush().SetStyle(bsClear);
    const SIZE extent = canvas.TextExtent(std::string_view("Quirn"));
    EXPECT_GT(extent.cx, 10);
    EXPECT_GT(extent.cy, 5);
    EXPECT_EQ(canvas.TextWidth("Quirn"), extent.cx);
    canvas.TextOutput(5, 6, std::string_view("Quirn"));
    int blue = 0;
    const RECT box{5, 6, 5 + extent.cx, 6 + extent.cy};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = COLORREF(canvas.Pixels(x, y));
            if (!Inside(x, y, box))
                EXPECT_EQ(c, kWhite) << x << "," << y;
            else if (c != kWhite)
                ++blue;
        }
    EXPECT_GT(blue, 10);

    // A bigger font gives wider text: the canvas picks up font changes.
    const int before = canvas.TextWidth("Quirn");
    canvas.Font().SetSize(canvas.Font().Size() * 3);
    EXPECT_GT(canvas.TextWidth("Quirn"), before * 2);
    canvas.Font().SetStyle(TFontStyles{fsBold, fsUnderline});
    EXPECT_TRUE(canvas.Font().Style().Contains(fsUnderline));
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
    TBitmap source(2, 2, pf24bit);
    source.Canvas().SetPixels(0, 0, clRed);
    source.Canvas().SetPixels(1, 0, clBlue);
    source.Canvas().SetPixels(0, 1, clBlue);
    source.Canvas().SetPixels(1, 1, clRed);
    TBitmap target(8, 8, pf24bit);
    Cleared(target, 8, 8);
    target.Canvas().CopyRect(RECT{0, 0, 8, 8}, source.Canvas(), RECT{0, 0, 2, 2});
    EXPECT_TRUE(gfxtest::PixelsAre(target, [](int x, int y) { return (x < 4) == (y < 4) ? kRed : kBlue; }));

    // The stretch mode survives the DC being made again.
    target.Canvas().SetStretchMode(COLORONCOLOR);
    (void)target.Handle();
    EXPECT_EQ(::GetStretchBltMode(target.Canvas().Handle()), COLORONCOLOR);

    Cleared(target, 8, 8);
    target.Canvas().SetCopyMode(NOTSRCCOPY);
    target.Canvas().CopyRect(RECT{0, 0, 2, 2}, source.Canvas(), RECT{0, 0, 2, 2});
    EXPECT_EQ(COLORREF(target.Canvas().Pixels(0, 0)), RGB(0, 255, 255));
}

TEST(Canvas, DrawAndStretchDrawHonourTransparency) {
    TBitmap picture(3, 2, pf24bit);
    Cleared(picture, 3, 2, kMagenta);
    picture.Canvas().SetPixels(1, 0, clBlue);
    picture.Canvas().SetPixels(2, 1, clRed);
    TBitmap target(10, 10, pf24bit);
    Cleared(target, 10, 10);

    target.Canvas().Draw(4, 5, picture);
    EXPECT_EQ(COLORREF(target.Canvas().Pixels(4, 5)), kMagenta);
    EXPECT_EQ(COLORREF(target.Canvas().Pixels(5, 5)), kBlue);

    Cleared(target, 10, 10);
    picture.SetTransparent(true);  // automatic key: the bottom-left pixel, magenta
    EXPECT_EQ(picture.TransparentColor(), clFuchsia);
    target.Canvas().Draw(4, 5, picture);
    EXPECT_TRUE(gfxtest::PixelsAre(target, [](int x, int y) {
        if (x == 5 && y == 5) return kBlue;
        if (x == 6 && y == 6) return kRed;
        return kWhite;
    }));

    Cleared(target, 10, 10);
    target.Canvas().StretchDraw(RECT{0, 0, 6, 4}, picture);
    EXPECT_TRUE(gfxtest::PixelsAre(target, [](int x, int y) {
        if (x >= 2 && x < 4 && y < 2) return kBlue;
        if (x >= 4 && x < 6 && y >= 2 && y < 4) return kRed;
        return kWhite;
    }));

    // A fixed key colour overrides the bottom-left pixel.
    picture.SetTransparentColor(clBlue);
    EXPECT_EQ(picture.TransparentMode(), tmFixed);
    Cleared(target, 10, 10);
    target.Canvas().Draw(0, 0, picture);
    EXPECT_EQ(COLORREF(target.Canvas().Pixels(1, 0)), kWhite);
    EXPECT_EQ(COLORREF(target.Canvas().Pixels(0, 0)), kMagenta);
}

TEST(Canvas, ExternalDeviceContextGetsItsObjectsBack) {
    win::MemoryDC dc;
    HGDIOBJ originalFont = ::GetCurrentObject(dc.get(), OBJ_FONT);
    HGDIOBJ originalBrush = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        TCanvas canvas;
        canvas.SetHandle(dc.get());
        canvas.Brush().SetColor(clRed);
        EXPECT_EQ(canvas.Handle(), dc.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), canvas.Brush().Handle());
        canvas.Lock();
        EXPECT_TRUE(canvas.TryLock());
        EXPECT_EQ(canvas.LockCount(), 2);
        canvas.Unlock();
        canvas.Unlock();
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), originalFont);
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), originalBrush);

    TCanvas unattached;
    EXPECT_THROW(unattached.FillRect(RECT{0, 0, 1, 1}), EInvalidOperation);
}

TEST(Canvas, FontBrushAndPenHandlesFollowTheirProperties) {
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-20);
    font.SetStyle(TFontStyles{fsItalic});
    LOGFONTW logFont{};
    ASSERT_EQ(::GetObjectW(font.Handle(), sizeof(logFont), &logFont), int(sizeof(logFont)));
    EXPECT_EQ(logFont.lfHeight, -20);
    EXPECT_TRUE(logFont.lfItalic);
    EXPECT_STREQ(logFont.lfFaceName, L"Arial");

    TFont adopted;
    adopted.SetHandle(::CreateFontIndirectW(&logFont));
    EXPECT_EQ(adopted.Name(), "Arial");
    EXPECT_EQ(adopted.Height(), -20);
    EXPECT_TRUE(adopted.Style().Contains(fsItalic));
    TFont copy;
    copy.Assign(&adopted);
    EXPECT_EQ(copy.Size(), adopted.Size());

    int notified = 0;
    struct Listener : TObject {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } listener;
    listener.Count = &notified;
    font.SetOnChange(TNotifyEvent(&listener, &Listener::Changed));
    font.SetColor(clRed);
    font.SetSize(12);
    font.SetSize(12);  // unchanged: no notice
    EXPECT_EQ(notified, 2);

    TPen pen;
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    LOGPEN logPen{};
    ::GetObjectW(pen.Handle(), sizeof(logPen), &logPen);
    EXPECT_EQ(logPen.lopnWidth.x, 3);
    EXPECT_EQ(logPen.lopnStyle, UINT(PS_DASH));
    pen.SetMode(pmXor);
    EXPECT_EQ(pen.RasterOperation(), R2_XORPEN);

    TBrush brush;
    brush.SetStyle(bsCross);
    LOGBRUSH logBrush{};
    ::GetObjectW(brush.Handle(), sizeof(logBrush), &logBrush);
    EXPECT_EQ(logBrush.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(logBrush.lbHatch, ULONG_PTR(HS_CROSS));
    brush.SetColor(clRed);  // a hatch keeps its style
    EXPECT_EQ(brush.Style(), bsCross);
}

}  // namespace

namespace {

TEST(PublishedProperties, FontBrushPenAndImageListReadAndWriteByName) {
    TFont font;
    EXPECT_EQ(font.ClassName(), "TFont");
    EXPECT_TRUE(font.InheritsFrom("TPersistent"));
    EXPECT_TRUE(SetPropAsText(&font, "Name", "Arial"));
    EXPECT_TRUE(SetPropAsText(&font, "Style", "[fsBold,fsUnderline]"));
    EXPECT_TRUE(SetPropAsText(&font, "Height", "-17"));
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Height(), -17);
    EXPECT_TRUE(font.Style().Contains(fsBold));
    EXPECT_FALSE(font.Style().Contains(fsItalic));
    EXPECT_EQ(GetPropAsText(&font, "Style").value_or(""), "fsBold,fsUnderline");
    EXPECT_EQ(GetPropAsText(&font, "Pitch").value_or(""), "fpDefault");
    EXPECT_EQ(PropKind(&font, "Color"), tkInteger);
    EXPECT_FALSE(GetPropAsText(&font, "NoSuchProperty").has_value());
    EXPECT_THROW(SetPropAsText(&font, "Height", "tall"), EConvertError);

    TBrush brush;
    EXPECT_TRUE(SetPropAsText(&brush, "Style", "bsDiagCross"));
    EXPECT_EQ(brush.Style(), bsDiagCross);
    TPen pen;
    EXPECT_TRUE(SetPropAsText(&pen, "Width", "4"));
    EXPECT_TRUE(SetPropAsText(&pen, "Mode", "pmNotXor"));
    EXPECT_EQ(pen.Width(), 4);
    EXPECT_EQ(pen.RasterOperation(), R2_NOTXORPEN);
    EXPECT_EQ(GetPropAsText(&pen, "Style").value_or(""), "psSolid");

    // An image list is a component: created by name and freed by its owner.
    TComponent owner(nullptr);
    TObject* created = FindClass("TImageList").Create(&owner);
    ASSERT_NE(ObjectAs<TImageList>(created), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_TRUE(SetPropAsText(created, "Width", "24"));
    EXPECT_EQ(static_cast<TImageList*>(created)->Width(), 24);
}

}  // namespace
