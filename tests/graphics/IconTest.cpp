// Icons from .ico data, resources and handles; image lists over comctl32.
#include <windows.h>

#include <gtest/gtest.h>

#include "BmpWriter.h"
#include "GdiObjectCounter.h"
#include "GraphicsTestUtil.h"
#include "IcoWriter.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/ImageList.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kLime = RGB(0, 255, 0);

// A 24-bit icon image of size n: blue with a red (0, 0); the bottom-right pixel masked out.
std::vector<uint8_t> IconImage(int n) {
    std::vector<uint8_t> image;
    bmptest::Put32(image, 40);
    bmptest::Put32(image, uint32_t(n));
    bmptest::Put32(image, uint32_t(n * 2));
    bmptest::Put16(image, 1);
    bmptest::Put16(image, 24);
    for (int i = 0; i < 6; ++i) bmptest::Put32(image, 0);
    const size_t xorStride = (size_t(n) * 3 + 3) / 4 * 4;
    const size_t andStride = (size_t(n) + 31) / 32 * 4;
    for (int row = 0; row < n; ++row) {  // bottom-up
        const int y = n - 1 - row;
        std::vector<uint8_t> line(xorStride, 0);
        for (int x = 0; x < n; ++x) {
            const bool masked = x == n - 1 && y == n - 1;
            const COLORREF c = masked ? 0 : (x == 0 && y == 0 ? kRed : kBlue);
            line[size_t(x) * 3] = GetBValue(c);
            line[size_t(x) * 3 + 1] = GetGValue(c);
            line[size_t(x) * 3 + 2] = GetRValue(c);
        }
        image.insert(image.end(), line.begin(), line.end());
    }
    for (int row = 0; row < n; ++row) {
        std::vector<uint8_t> line(andStride, 0);
        if (row == 0) line[size_t(n - 1) / 8] |= uint8_t(0x80 >> ((n - 1) % 8));
        image.insert(image.end(), line.begin(), line.end());
    }
    return image;
}

std::vector<uint8_t> IcoFile(const std::vector<int>& sizes) {
    std::vector<icotest::IconEntry> entries;
    for (int n : sizes) entries.push_back({n, 24, IconImage(n)});
    return icotest::IcoFileOf(entries);
}

TBitmap& DrawOnWhite(TBitmap& target, TGraphic& graphic, int size) {
    target.SetPixelFormat(pf24bit);
    target.SetSize(size, size);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect(RECT{0, 0, size, size});
    target.Canvas().Draw(0, 0, graphic);
    return target;
}

TEST(Icon, MultiImageIconsPickTheImageForTheSizeAndKeepTheirMask) {
    TIcon icon;
    gfxtest::LoadBytes(icon, IcoFile({16, 32}));
    ASSERT_EQ(icon.Images().size(), 2u);
    EXPECT_EQ(icon.Width(), ::GetSystemMetrics(SM_CXICON));
    icon.SetSize(16, 16);
    TBitmap target;
    DrawOnWhite(target, icon, 16);
    EXPECT_TRUE(gfxtest::PixelsAre(target, [](int x, int y) {
        if (x == 15 && y == 15) return kWhite;
        return x == 0 && y == 0 ? kRed : kBlue;
    }));
    // Saving writes the same .ico data back.
    EXPECT_EQ(gfxtest::SaveBytes(icon), IcoFile({16, 32}));
}

TEST(Icon, ResourcesAndImageMagickFilesLoadWithEveryImage) {
    TIcon fromResource;
    fromResource.LoadFromResourceName(::GetModuleHandleW(nullptr), "QUIRNICON");
    ASSERT_EQ(fromResource.Images().size(), 2u);
    fromResource.SetSize(16, 16);
    TBitmap target;
    EXPECT_TRUE(gfxtest::PixelsAre(DrawOnWhite(target, fromResource, 16), [](int, int) { return kRed; }));
    fromResource.SetSize(32, 32);
    EXPECT_TRUE(gfxtest::PixelsAre(DrawOnWhite(target, fromResource, 32), [](int, int) { return kLime; }));

    TIcon fromFile;
    gfxtest::LoadBytes(fromFile, gfxtest::ResourceBytes(L"IM_ICON"));
    EXPECT_EQ(fromFile.Images().size(), 2u);
    EXPECT_THROW(fromFile.LoadFromResourceName(::GetModuleHandleW(nullptr), "NOSUCHICON"), EResNotFound);
}

TEST(Icon, AdoptedHandlesDrawAndSaveAsAnIconFile) {
    TIcon source;
    gfxtest::LoadBytes(source, IcoFile({16}));
    source.SetSize(16, 16);
    TIcon adopted;
    adopted.SetHandle(::CopyIcon(source.Handle()));
    EXPECT_EQ(adopted.Width(), 16);
    EXPECT_TRUE(adopted.Images().empty());
    TIcon reloaded;
    gfxtest::LoadBytes(reloaded, gfxtest::SaveBytes(adopted));
    reloaded.SetSize(16, 16);
    TBitmap target;
    EXPECT_TRUE(gfxtest::PixelsAre(DrawOnWhite(target, reloaded, 16), [](int x, int y) {
        if (x == 15 && y == 15) return kWhite;
        return x == 0 && y == 0 ? kRed : kBlue;
    }));
}

TEST(Icon, NewHandlesAreMadeFromTheImageThatFitsTheirSize) {
    TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(nullptr), "QUIRNICON");  // 16 red, 32 lime
    auto drawn = [](HICON handle, int size) {
        TIcon adopted;
        adopted.SetHandle(handle);
        TBitmap target;
        DrawOnWhite(target, adopted, size);
        return COLORREF(target.Canvas().Pixels(size / 2, size / 2));
    };
    win::IconHandle small16 = icon.NewHandle(16, 16);
    win::IconHandle big32 = icon.NewHandle(32, 32);
    ASSERT_TRUE(small16 && big32);
    EXPECT_EQ(drawn(small16.release(), 16), kRed);
    EXPECT_EQ(drawn(big32.release(), 32), kLime);
    // Another size is scaled from an image; the icon's own handle and size are left alone.
    win::IconHandle scaled = icon.NewHandle(48, 48);
    TIcon adopted;
    adopted.SetHandle(scaled.release());
    EXPECT_EQ(adopted.Width(), 48);
    EXPECT_EQ(icon.Width(), ::GetSystemMetrics(SM_CXICON));
    // An icon given only as a handle is scaled; an empty icon or an empty size gives nothing.
    win::IconHandle fromHandle = adopted.NewHandle(16, 16);
    ASSERT_TRUE(fromHandle);
    EXPECT_EQ(drawn(fromHandle.release(), 16), kLime);
    EXPECT_FALSE(TIcon().NewHandle(16, 16));
    EXPECT_FALSE(icon.NewHandle(0, 16));
}

TEST(Icon, HostileIconDataLeavesTheIconEmpty) {
    const std::vector<uint8_t> good = IcoFile({16, 32});
    auto rejected = [](const std::vector<uint8_t>& bytes) {
        TIcon icon;
        try {
            gfxtest::LoadBytes(icon, bytes);
        } catch (const EInvalidGraphic&) {
            return icon.Empty();
        }
        return false;
    };
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_TRUE(rejected(std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(length)))) << length;
    auto changed = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    EXPECT_TRUE(rejected(changed(2, 2))) << "cursor type";
    EXPECT_TRUE(rejected(changed(4, 0))) << "no images";
    EXPECT_TRUE(rejected(changed(4, 200))) << "more entries than the data holds";
    EXPECT_TRUE(rejected(changed(6 + 15, 0x7F))) << "image offset past the end";
    EXPECT_TRUE(rejected(changed(6 + 11, 0x7F))) << "image size past the end";
    const size_t firstImage = 6 + 32;
    EXPECT_TRUE(rejected(changed(firstImage + 5, 0x40))) << "image width larger than its bytes";
    EXPECT_TRUE(rejected(changed(firstImage + 14, 2))) << "2 bits per pixel";
}

TEST(ImageList, MaskedBitmapsAreSplitIntoCellsAndDrawnWithoutTheMaskColour) {
    // 64 x 16: four cells, each white with a black stripe in column (4 x cell).
    TBitmap strip(64, 16, pf24bit);
    strip.Canvas().Brush().SetColor(clWhite);
    strip.Canvas().FillRect(RECT{0, 0, 64, 16});
    for (int cell = 0; cell < 4; ++cell) {
        strip.Canvas().Brush().SetColor(clBlack);
        strip.Canvas().FillRect(RECT{cell * 16 + cell * 4, 0, cell * 16 + cell * 4 + 2, 16});
    }
    TImageList images(nullptr, 16, 16);
    EXPECT_EQ(images.AddMasked(strip, clWhite), 0);
    EXPECT_EQ(images.Count(), 4);
    EXPECT_EQ(COLORREF(strip.Canvas().Pixels(3, 0)), kWhite);  // the caller's bitmap is untouched
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 16);

    TBitmap target(16, 16, pf24bit);
    target.Canvas().Brush().SetColor(clRed);
    target.Canvas().FillRect(RECT{0, 0, 16, 16});
    images.Draw(target.Canvas(), 0, 0, 2);
    EXPECT_TRUE(gfxtest::PixelsAre(target, [](int x, int) { return x >= 8 && x < 10 ? RGB(0, 0, 0) : kRed; }));

    images.Delete(0);
    EXPECT_EQ(images.Count(), 3);
    TIcon icon;
    gfxtest::LoadBytes(icon, IcoFile({16}));
    EXPECT_EQ(images.AddIcon(icon), 3);
    images.SetSize(24, 24);
    EXPECT_EQ(images.Count(), 0);
}

TEST(GdiObjects, IconsAndImageListsReleaseEverything) {
    const std::vector<uint8_t> ico = IcoFile({16, 32});
    {
        TIcon warm;
        gfxtest::LoadBytes(warm, ico);
        warm.Handle();
        TImageList list;
        list.AddIcon(warm);
        TBitmap target(32, 32, pf24bit);
        list.Draw(target.Canvas(), 0, 0, 0, false);  // the disabled style makes its system brushes once
    }
    GdiObjectCounter counter;
    TBitmap strip(32, 16, pf24bit);
    for (int i = 0; i < 200; ++i) {
        TIcon icon;
        gfxtest::LoadBytes(icon, ico);
        icon.SetSize(16 + i % 2 * 16, 16 + i % 2 * 16);
        TBitmap target(32, 32, pf24bit);
        target.Canvas().Draw(0, 0, icon);
        TIcon copy;
        copy.SetHandle(::CopyIcon(icon.Handle()));
        (void)gfxtest::SaveBytes(copy);
        TImageList list(nullptr, 16, 16);
        list.AddMasked(strip, clWhite);
        list.AddIcon(icon);
        list.Draw(target.Canvas(), 0, 0, 1, i % 2 == 0);
    }
    strip.SetSize(0, 0);
    EXPECT_EQ(counter.Leaked(), GdiObjectCounts{});
}

}  // namespace
