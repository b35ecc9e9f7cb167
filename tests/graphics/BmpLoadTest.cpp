// Every BMP variant loads pixel-exactly; hostile BMPs leave the bitmap empty; saving round-trips.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "AllocationCounter.h"
#include "BmpWriter.h"
#include "GraphicsTestUtil.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/BmpCodec.h"

using namespace bmptest;
using gfxtest::LoadBytes;
using gfxtest::PixelsAre;

namespace {

constexpr int kWidth = 7;  // odd, so every bit depth has row padding
constexpr int kHeight = 5;

// An asymmetric pattern of palette indices 0..count-1 (rows top-down).
std::vector<std::vector<uint32_t>> IndexPattern(uint32_t count) {
    std::vector<std::vector<uint32_t>> rows(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) rows[y][x] = uint32_t(x * 3 + y * 5 + x * y) % count;
    return rows;
}

std::vector<Rgb> DistinctPalette(size_t count) {
    std::vector<Rgb> palette;
    for (size_t i = 0; i < count; ++i)
        palette.push_back(Rgb{uint8_t(i * 37 + 11), uint8_t(255 - i * 13), uint8_t((i * 101) & 0xFF)});
    return palette;
}

COLORREF ToColor(const Rgb& c) { return RGB(c[0], c[1], c[2]); }

// Direct-colour reference: distinct per pixel.
Rgb DirectColor(int x, int y) {
    return Rgb{uint8_t(x * 36 + 3), uint8_t(y * 50 + 7), uint8_t((x * y * 23 + 90) & 0xFF)};
}

std::vector<std::vector<uint32_t>> DirectPattern(uint32_t (*pack)(const Rgb&)) {
    std::vector<std::vector<uint32_t>> rows(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) rows[y][x] = pack(DirectColor(x, y));
    return rows;
}

uint32_t PackBgr(const Rgb& c) { return uint32_t(c[2]) | (uint32_t(c[1]) << 8) | (uint32_t(c[0]) << 16); }

BmpLayout Palettized(uint16_t bits, bool topDown = false) {
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = topDown ? -kHeight : kHeight;
    layout.BitCount = bits;
    layout.Palette = DistinctPalette(size_t(1) << bits);
    layout.Pixels = PackRows(IndexPattern(1u << bits), bits, topDown);
    return layout;
}

std::function<COLORREF(int, int)> ExpectIndexed(const std::vector<Rgb>& palette, uint32_t count) {
    auto rows = IndexPattern(count);
    return [palette, rows](int x, int y) { return ToColor(palette[rows[y][x]]); };
}

COLORREF ExpectDirect(int x, int y) { return ToColor(DirectColor(x, y)); }

TEST(BmpLoad, PalettizedBitmapsOfEveryDepthLoadPixelExactly) {
    const struct {
        uint16_t Bits;
        TPixelFormat Format;
    } cases[] = {{1, pf1bit}, {4, pf4bit}, {8, pf8bit}};
    for (const auto& c : cases) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.Bits << " bits, top-down " << topDown);
            const BmpLayout layout = Palettized(c.Bits, topDown);
            TBitmap bitmap;
            LoadBytes(bitmap, WriteBmp(layout));
            ASSERT_EQ(bitmap.Width(), kWidth);
            ASSERT_EQ(bitmap.Height(), kHeight);
            EXPECT_EQ(bitmap.PixelFormat(), c.Format);
            EXPECT_TRUE(PixelsAre(bitmap, ExpectIndexed(layout.Palette, 1u << c.Bits)));
        }
    }
}

TEST(BmpLoad, ShortColourTableFollowsColorsUsedAndOffsetZeroMeansAfterTheTable) {
    BmpLayout layout = Palettized(8);
    layout.ColorsUsed = 5;
    layout.Palette = DistinctPalette(5);
    layout.Pixels = PackRows(IndexPattern(5), 8, false);
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_TRUE(PixelsAre(bitmap, ExpectIndexed(layout.Palette, 5)));

    layout.BitsOffset = 0;
    TBitmap second;
    LoadBytes(second, WriteBmp(layout));
    EXPECT_TRUE(PixelsAre(second, ExpectIndexed(layout.Palette, 5)));
}

TEST(BmpLoad, PixelsAfterAGapUseTheStatedOffset) {
    BmpLayout layout = Palettized(4);
    std::vector<uint8_t> gap(9, 0xEE);
    layout.Pixels.insert(layout.Pixels.begin(), gap.begin(), gap.end());
    layout.BitsOffset = uint32_t(14 + 40 + 16 * 4 + gap.size());
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_TRUE(PixelsAre(bitmap, ExpectIndexed(layout.Palette, 16)));
}

TEST(BmpLoad, DirectColour24And32BitsBothRowOrders) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        BmpLayout layout;
        layout.Width = kWidth;
        layout.Height = topDown ? -kHeight : kHeight;
        layout.BitCount = 24;
        layout.Pixels = PackRows(DirectPattern(PackBgr), 24, topDown);
        TBitmap bitmap24;
        LoadBytes(bitmap24, WriteBmp(layout));
        EXPECT_EQ(bitmap24.PixelFormat(), pf24bit);
        EXPECT_TRUE(PixelsAre(bitmap24, ExpectDirect));

        layout.BitCount = 32;
        layout.Pixels = PackRows(DirectPattern(PackBgr), 32, topDown);
        TBitmap bitmap32;
        LoadBytes(bitmap32, WriteBmp(layout));
        EXPECT_EQ(bitmap32.PixelFormat(), pf32bit);
        EXPECT_TRUE(PixelsAre(bitmap32, ExpectDirect));
    }
}

// 5-bit and 6-bit channel values chosen at both ends and in the middle.
uint32_t Pack555(int r, int g, int b) { return uint32_t((r << 10) | (g << 5) | b); }
uint32_t Pack565(int r, int g, int b) { return uint32_t((r << 11) | (g << 5) | b); }
int Expand(int value, int max) { return (value * 255 + max / 2) / max; }

TEST(BmpLoad, SixteenBitFiveFiveFiveAndFiveSixFiveKeepTheirBits) {
    std::vector<std::vector<uint32_t>> rows555(kHeight, std::vector<uint32_t>(kWidth));
    std::vector<std::vector<uint32_t>> rows565(kHeight, std::vector<uint32_t>(kWidth));
    auto channel = [](int x, int y, int max) { return ((x + 2 * y) * 7) % (max + 1); };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            rows555[y][x] = Pack555(channel(x, y, 31), channel(y, x, 31), 31 - channel(x, y, 31));
            rows565[y][x] = Pack565(channel(x, y, 31), channel(y, x, 63), 31 - channel(x, y, 31));
        }
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = kHeight;
    layout.BitCount = 16;
    layout.Pixels = PackRows(rows555, 16, false);
    TBitmap plain;
    LoadBytes(plain, WriteBmp(layout));
    EXPECT_EQ(plain.PixelFormat(), pf15bit);

    // The same 5-5-5 layout stated as bit fields.
    layout.Compression = 3;
    layout.Masks = {0x7C00, 0x03E0, 0x001F};
    TBitmap fields555;
    LoadBytes(fields555, WriteBmp(layout));
    EXPECT_EQ(fields555.PixelFormat(), pf15bit);

    layout.Masks = {0xF800, 0x07E0, 0x001F};
    layout.Pixels = PackRows(rows565, 16, false);
    TBitmap fields565;
    LoadBytes(fields565, WriteBmp(layout));
    EXPECT_EQ(fields565.PixelFormat(), pf16bit);

    for (int y = 0; y < kHeight; ++y) {
        const auto* line555 = static_cast<const uint16_t*>(plain.ScanLine(y));
        const auto* lineFields = static_cast<const uint16_t*>(fields555.ScanLine(y));
        const auto* line565 = static_cast<const uint16_t*>(fields565.ScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(line555[x], rows555[y][x]);
            EXPECT_EQ(lineFields[x], rows555[y][x]);
            EXPECT_EQ(line565[x], rows565[y][x]);
        }
    }
    // Full-scale channels read back as full-scale colours through GDI.
    EXPECT_EQ(COLORREF(plain.Canvas().Pixels(0, 0)), RGB(0, 0, 255));
    EXPECT_EQ(COLORREF(fields565.Canvas().Pixels(0, 0)), RGB(0, 0, 255));
}

TEST(BmpLoad, UnusualBitFieldMasksAreExpandedToThirtyTwoBits) {
    // 4-4-4 in 16 bits.
    std::vector<std::vector<uint32_t>> rows(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) rows[y][x] = uint32_t(((x * 2) << 8) | ((y * 3) << 4) | (15 - x));
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = kHeight;
    layout.BitCount = 16;
    layout.Compression = 3;
    layout.Masks = {0x0F00, 0x00F0, 0x000F};
    layout.Pixels = PackRows(rows, 16, false);
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    EXPECT_TRUE(
        PixelsAre(bitmap, [](int x, int y) { return RGB(Expand(x * 2, 15), Expand(y * 3, 15), Expand(15 - x, 15)); }));

    // Red in the low byte, alpha in the top byte of a V4 header (108 bytes, masks inside), top-down.
    std::vector<std::vector<uint32_t>> rgba(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Rgb c = DirectColor(x, y);
            rgba[y][x] = uint32_t(c[0]) | (uint32_t(c[1]) << 8) | (uint32_t(c[2]) << 16) | 0x80000000u;
        }
    BmpLayout v4;
    v4.HeaderSize = 108;
    v4.Width = kWidth;
    v4.Height = -kHeight;
    v4.BitCount = 32;
    v4.Compression = 3;
    v4.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    v4.Pixels = PackRows(rgba, 32, true);
    TBitmap swapped;
    LoadBytes(swapped, WriteBmp(v4));
    EXPECT_EQ(swapped.PixelFormat(), pf32bit);
    EXPECT_TRUE(PixelsAre(swapped, ExpectDirect));
    EXPECT_EQ(static_cast<const uint8_t*>(swapped.ScanLine(0))[3], 0x80);  // alpha kept

    // The same with the masks after a plain info header (BI_ALPHABITFIELDS, four masks).
    BmpLayout alpha = v4;
    alpha.HeaderSize = 40;
    alpha.Compression = 6;
    TBitmap afterHeader;
    LoadBytes(afterHeader, WriteBmp(alpha));
    EXPECT_TRUE(PixelsAre(afterHeader, ExpectDirect));
}

// RLE8 of a 7 x 5 picture (rows bottom-up): runs, an absolute block with padding, a delta, an end of
// line before the row is full (the rest stays index 0) and end of bitmap before the last row.
TEST(BmpLoad, RunLengthEightBitRunsAbsoluteBlocksAndDeltas) {
    const std::vector<uint8_t> rle = {
        3, 1, 4, 2,        // bottom row: 1 1 1 2 2 2 2
        0, 0,              // end of line
        0, 3, 5, 6, 7, 0,  // row 1: absolute 5 6 7 (padded), then
        2, 8, 2, 9,        //        8 8 9 9
        0, 0,              // end of line
        0, 2, 2, 1,        // delta: x + 2, y + 1 -> row 3 at x 2 (row 2 stays 0)
        5, 4,              // row 3: x 2..6 = 4
        0, 1,              // end of bitmap: the top row stays 0
    };
    const uint8_t expected[kHeight][kWidth] = {
        {0, 0, 0, 0, 0, 0, 0},  // top row
        {0, 0, 4, 4, 4, 4, 4}, {0, 0, 0, 0, 0, 0, 0}, {5, 6, 7, 8, 8, 9, 9}, {1, 1, 1, 2, 2, 2, 2},
    };
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = kHeight;
    layout.BitCount = 8;
    layout.Compression = 1;
    layout.ColorsUsed = 10;
    layout.Palette = DistinctPalette(10);
    layout.Pixels = rle;
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    EXPECT_TRUE(PixelsAre(bitmap, [&](int x, int y) { return ToColor(layout.Palette[expected[y][x]]); }));
}

TEST(BmpLoad, RunLengthRunsIntoTheRowPaddingAreClipped) {
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = 1;
    layout.BitCount = 8;
    layout.Compression = 1;
    layout.Palette = DistinctPalette(256);
    layout.Pixels = {6, 3, 2, 9, 0, 1};  // 8 pixels in a row of 7
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_TRUE(PixelsAre(bitmap, [&](int x, int) { return ToColor(layout.Palette[x < 6 ? 3 : 9]); }));
}

TEST(BmpLoad, RunLengthFourBitAlternatesNibbles) {
    const std::vector<uint8_t> rle = {
        7, 0x12,                                // bottom row: 1 2 1 2 1 2 1
        0, 0,    0, 5,    0x34, 0x56, 0x70, 0,  // row 1: absolute 3 4 5 6 7 (3 bytes, padded to 4)
        2, 0xAB,                                //        then A B
        0, 0,    0, 2,    1,    1,              // delta to row 3, x 1
        3, 0xCD,                                // C D C
        0, 0,    1, 0xF0,                       // top row: F
        0, 1,
    };
    const uint8_t expected[kHeight][kWidth] = {
        {15, 0, 0, 0, 0, 0, 0},  {0, 12, 13, 12, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0},
        {3, 4, 5, 6, 7, 10, 11}, {1, 2, 1, 2, 1, 2, 1},
    };
    BmpLayout layout;
    layout.Width = kWidth;
    layout.Height = kHeight;
    layout.BitCount = 4;
    layout.Compression = 2;
    layout.Palette = DistinctPalette(16);
    layout.Pixels = rle;
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(layout));
    EXPECT_EQ(bitmap.PixelFormat(), pf4bit);
    EXPECT_TRUE(PixelsAre(bitmap, [&](int x, int y) { return ToColor(layout.Palette[expected[y][x]]); }));
}

TEST(BmpLoad, Os2HeadersCoreAndVersionTwo) {
    for (uint16_t bits : {uint16_t(1), uint16_t(4), uint16_t(8)}) {
        SCOPED_TRACE(testing::Message() << "core header, " << bits << " bits");
        BmpLayout layout = Palettized(bits);
        layout.HeaderSize = 12;
        TBitmap bitmap;
        LoadBytes(bitmap, WriteBmp(layout));
        EXPECT_TRUE(PixelsAre(bitmap, ExpectIndexed(layout.Palette, 1u << bits)));
    }
    BmpLayout core24;
    core24.HeaderSize = 12;
    core24.Width = kWidth;
    core24.Height = kHeight;
    core24.BitCount = 24;
    core24.Pixels = PackRows(DirectPattern(PackBgr), 24, false);
    TBitmap bitmap24;
    LoadBytes(bitmap24, WriteBmp(core24));
    EXPECT_TRUE(PixelsAre(bitmap24, ExpectDirect));

    for (uint32_t size : {16u, 64u}) {
        SCOPED_TRACE(testing::Message() << "OS/2 2.x header of " << size << " bytes");
        BmpLayout layout = Palettized(8);
        layout.HeaderSize = size;
        TBitmap bitmap;
        LoadBytes(bitmap, WriteBmp(layout));
        EXPECT_TRUE(PixelsAre(bitmap, ExpectIndexed(layout.Palette, 256)));
    }
}

// The ImageMagick fixtures: white with red (0,0), lime (3,2), blue (6,4); the bilevel one black there.
COLORREF ImageMagickPicture(int x, int y) {
    if (x == 0 && y == 0) return RGB(255, 0, 0);
    if (x == 3 && y == 2) return RGB(0, 255, 0);
    if (x == 6 && y == 4) return RGB(0, 0, 255);
    return RGB(255, 255, 255);
}

TEST(BmpLoad, FilesMadeByImageMagickLoad) {
    const struct {
        const wchar_t* Resource;
        TPixelFormat Format;
    } files[] = {{L"IM_RLE8", pf8bit},
                 {L"IM_PAL4", pf4bit},
                 {L"IM_RGB24", pf24bit},
                 {L"IM_V5_RGBA32", pf32bit},
                 {L"IM_OS2_RGB24", pf24bit}};
    for (const auto& file : files) {
        SCOPED_TRACE(testing::Message() << "fixture " << file.Resource);
        const std::vector<uint8_t> bytes = gfxtest::ResourceBytes(file.Resource);
        ASSERT_FALSE(bytes.empty());
        TBitmap bitmap;
        LoadBytes(bitmap, bytes);
        EXPECT_EQ(bitmap.PixelFormat(), file.Format);
        EXPECT_TRUE(PixelsAre(bitmap, ImageMagickPicture));
    }
    TBitmap mono;
    LoadBytes(mono, gfxtest::ResourceBytes(L"IM_MONO1"));
    EXPECT_EQ(mono.PixelFormat(), pf1bit);
    EXPECT_TRUE(mono.Monochrome());
    EXPECT_TRUE(PixelsAre(mono, [](int x, int y) {
        return ImageMagickPicture(x, y) == RGB(255, 255, 255) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }));
}

TEST(BmpLoad, BitmapResourcesLoadByNameAndById) {
    TBitmap byName;
    byName.LoadFromResourceName(::GetModuleHandleW(nullptr), "IMRLE8");
    EXPECT_TRUE(PixelsAre(byName, ImageMagickPicture));
    TBitmap byId;
    byId.LoadFromResourceID(::GetModuleHandleW(nullptr), 101);
    EXPECT_EQ(byId.PixelFormat(), pf4bit);
    EXPECT_TRUE(PixelsAre(byId, ImageMagickPicture));
    EXPECT_THROW(byId.LoadFromResourceName(::GetModuleHandleW(nullptr), "NOSUCHBITMAP"), EResNotFound);
}

TEST(BmpLoad, FilesLoadAndSaveThroughTheFileSystem) {
    wchar_t folder[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
    std::string path;
    for (const wchar_t* p = folder; *p; ++p) path += char(*p);
    path += "quirn-gfx-test.bmp";
    TBitmap source;
    LoadBytes(source, WriteBmp(Palettized(8)));
    source.SaveToFile(path);
    TBitmap loaded;
    loaded.LoadFromFile(path);
    ::DeleteFileA(path.c_str());
    EXPECT_EQ(loaded.PixelFormat(), pf8bit);
    EXPECT_TRUE(PixelsAre(loaded, ExpectIndexed(Palettized(8).Palette, 256)));
}

// --- hostile input ---

void ExpectRejected(const std::vector<uint8_t>& bytes, const char* what) {
    SCOPED_TRACE(what);
    TBitmap bitmap;
    LoadBytes(bitmap, WriteBmp(Palettized(4)));
    ASSERT_FALSE(bitmap.Empty());
    EXPECT_THROW(LoadBytes(bitmap, bytes), EInvalidGraphic);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
}

TEST(BmpHostile, EveryTruncationLeavesTheBitmapEmpty) {
    std::vector<std::vector<uint8_t>> files = {WriteBmp(Palettized(1)), WriteBmp(Palettized(8)),
                                               gfxtest::ResourceBytes(L"IM_RGB24"),
                                               gfxtest::ResourceBytes(L"IM_V5_RGBA32")};
    for (const auto& file : files) {
        for (size_t length = 0; length < file.size(); ++length) {
            const std::vector<uint8_t> cut(file.begin(), file.begin() + std::ptrdiff_t(length));
            ExpectRejected(cut, "truncated file");
        }
    }
    // Run-length data: any cut before the final end-of-bitmap leaves rows unfinished.
    const std::vector<uint8_t> rle = gfxtest::ResourceBytes(L"IM_RLE8");
    for (size_t length = 0; length + 2 < rle.size(); ++length)
        ExpectRejected(std::vector<uint8_t>(rle.begin(), rle.begin() + std::ptrdiff_t(length)), "truncated RLE");
}

TEST(BmpHostile, HeadersThatLieAboutSizesAreRejectedWithoutAllocating) {
    auto with = [](auto change) {
        BmpLayout layout = Palettized(8);
        change(layout);
        return WriteBmp(layout);
    };
    ExpectRejected(with([](BmpLayout& s) { s.Width = 0x7FFFFFFF; }), "huge width");
    ExpectRejected(with([](BmpLayout& s) { s.Height = 0x7FFFFFFF; }), "huge height");
    ExpectRejected(with([](BmpLayout& s) { s.Height = int32_t(0x80000000u); }), "most negative height");
    ExpectRejected(with([](BmpLayout& s) { s.Width = 20000, s.Height = 20000, s.BitCount = 32; }),
                   "pixels over the limit");
    ExpectRejected(with([](BmpLayout& s) { s.Width = -7; }), "negative width");
    ExpectRejected(with([](BmpLayout& s) { s.Height = 0; }), "zero height");
    ExpectRejected(with([](BmpLayout& s) { s.BitsOffset = 100000; }), "pixel offset past the end");
    ExpectRejected(with([](BmpLayout& s) { s.BitsOffset = 20; }), "pixel offset inside the header");
    ExpectRejected(with([](BmpLayout& s) { s.ColorsUsed = 257; }), "more colours than 8 bits allow");
    ExpectRejected(with([](BmpLayout& s) { s.BitCount = 1, s.ColorsUsed = 3; }), "more colours than 1 bit allows");
    std::vector<uint8_t> longHeader = WriteBmp(Palettized(1));
    longHeader[14 + 1] = 0x03;  // states a 0x328-byte header in an 82-byte file
    ExpectRejected(longHeader, "header larger than the file");
    ExpectRejected(with([](BmpLayout& s) { s.HeaderSize = 5000; }), "header larger than any known");
    ExpectRejected(with([](BmpLayout& s) { s.HeaderSize = 8; }), "header too small");
    ExpectRejected(with([](BmpLayout& s) { s.BitCount = 2; }), "2 bits per pixel");
    ExpectRejected(with([](BmpLayout& s) { s.BitCount = 0; }), "0 bits per pixel");
    ExpectRejected(with([](BmpLayout& s) { s.Compression = 4; }), "JPEG");
    ExpectRejected(with([](BmpLayout& s) { s.Compression = 5; }), "PNG");
    ExpectRejected(with([](BmpLayout& s) { s.Compression = 2; }), "RLE4 on 8 bits");
    ExpectRejected(with([](BmpLayout& s) { s.Compression = 3; }), "bit fields on 8 bits");
    ExpectRejected(with([](BmpLayout& s) { s.Compression = 1, s.Height = -kHeight; }), "top-down RLE");
    ExpectRejected(with([](BmpLayout& s) { s.HeaderSize = 64, s.BitCount = 16, s.Compression = 3; }), "OS/2 Huffman");
    std::vector<uint8_t> badSignature = WriteBmp(Palettized(8));
    badSignature[1] = 'A';
    ExpectRejected(badSignature, "signature");
    // A palette that runs past the end of the data.
    BmpLayout shortPalette = Palettized(8);
    shortPalette.Palette.resize(10);
    shortPalette.Pixels.clear();
    ExpectRejected(WriteBmp(shortPalette), "colour table past the end");
}

TEST(BmpHostile, TheLimitHoldsForTheDecodedFormatAndRefusesBeforeAllocating) {
    constexpr uint64_t kSmallAllocation = 1024 * 1024;
    // 4-4-4 bit fields in 16 bits decode to 32 bits: 32768 x 1024 stores 64 MB but would decode to
    // 128 MB. Its headers alone refuse it; nothing near its size is allocated.
    BmpLayout wide;
    wide.Width = kMaxBmpDimension;
    wide.Height = 1024;
    wide.BitCount = 16;
    wide.Compression = 3;
    wide.Masks = {0x0F00, 0x00F0, 0x000F};
    const std::vector<uint8_t> wideFile = WriteBmp(wide);
    TBmpImage image;
    TBmpInfo info;
    {
        alloctest::TAllocationProbe probe;
        EXPECT_EQ(DecodeBmpFile(wideFile, image), TBmpResult::TooLarge);
        EXPECT_EQ(ReadBmpFileInfo(wideFile, info), TBmpResult::TooLarge);
        EXPECT_LT(probe.Stats().Largest, kSmallAllocation);
    }
    ExpectRejected(wideFile, "16-bit bit fields widening past the limit");

    // Half as high decodes to exactly the limit: the headers say so.
    BmpLayout half = wide;
    half.Height = 512;
    ASSERT_EQ(ReadBmpFileInfo(WriteBmp(half), info), TBmpResult::Ok);
    EXPECT_EQ(info.BitCount, 32);
    EXPECT_EQ(info.DecodedBytes(), kMaxBmpBits);
    // Standard 5-6-5 masks keep 16 bits, so the same size stays within it too.
    BmpLayout rgb565 = wide;
    rgb565.Masks = {0xF800, 0x07E0, 0x001F};
    ASSERT_EQ(ReadBmpFileInfo(WriteBmp(rgb565), info), TBmpResult::Ok);
    EXPECT_EQ(info.BitCount, 16);

    // Uncompressed pixels that are not in the file: refused before 64 MB are allocated for them.
    BmpLayout missing = Palettized(8);
    missing.Width = 8192;
    missing.Height = 8192;
    missing.Pixels.assign(100, 0);
    {
        alloctest::TAllocationProbe probe;
        EXPECT_EQ(DecodeBmpFile(WriteBmp(missing), image), TBmpResult::Truncated);
        EXPECT_LT(probe.Stats().Largest, kSmallAllocation);
    }
}

TEST(BmpHostile, RunLengthDataThatRunsPastTheBitmapIsRejected) {
    auto rle8 = [](std::vector<uint8_t> data) {
        BmpLayout layout;
        layout.Width = kWidth;
        layout.Height = kHeight;
        layout.BitCount = 8;
        layout.Compression = 1;
        layout.Palette = DistinctPalette(256);
        layout.Pixels = std::move(data);
        return WriteBmp(layout);
    };
    // Rows of 7 pixels are stored in 8 bytes: runs may fill the padding, never go past it.
    ExpectRejected(rle8({9, 1, 0, 1}), "run longer than the stored row");
    ExpectRejected(rle8({4, 1, 5, 1, 0, 1}), "second run past the stored row");
    ExpectRejected(rle8({0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}), "absolute block longer than the stored row");
    ExpectRejected(rle8({0, 9, 1, 2}), "absolute block past the data");
    ExpectRejected(rle8({0, 2, 8, 0, 0, 1}), "delta past the right edge");
    ExpectRejected(rle8({0, 2, 0, 6, 0, 1}), "delta past the top");
    ExpectRejected(rle8({0, 2, 0}), "delta cut short");
    ExpectRejected(rle8({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1}), "run after the last row");
    ExpectRejected(rle8({1, 1, 0, 0}), "no end of bitmap, rows unfinished");
    BmpLayout rle4;
    rle4.Width = kWidth;
    rle4.Height = kHeight;
    rle4.BitCount = 4;
    rle4.Compression = 2;
    rle4.Palette = DistinctPalette(16);
    rle4.Pixels = {0, 9, 0x12, 0x34, 0x56, 0x78, 0x90, 0, 0, 1};
    ExpectRejected(WriteBmp(rle4), "RLE4 absolute block longer than the stored row");
}

// --- saving ---

TEST(BmpSave, EveryFormatRoundTripsThroughItsOwnFile) {
    std::vector<std::vector<uint8_t>> sources = {WriteBmp(Palettized(1)), WriteBmp(Palettized(4)),
                                                 WriteBmp(Palettized(8)), gfxtest::ResourceBytes(L"IM_RGB24"),
                                                 gfxtest::ResourceBytes(L"IM_V5_RGBA32")};
    for (TPixelFormat format : {pf15bit, pf16bit}) {
        TBitmap converted;
        LoadBytes(converted, gfxtest::ResourceBytes(L"IM_RGB24"));
        converted.SetPixelFormat(format);
        sources.push_back(gfxtest::SaveBytes(converted));
    }
    for (const auto& source : sources) {
        TBitmap original;
        LoadBytes(original, source);
        const std::vector<uint8_t> saved = gfxtest::SaveBytes(original);
        ASSERT_GE(saved.size(), 54u);
        // Written as a plain bottom-up file with an info header.
        EXPECT_EQ(saved[0], 'B');
        EXPECT_EQ(saved[1], 'M');
        uint32_t headerSize, fileSize;
        int32_t height;
        std::memcpy(&fileSize, &saved[2], 4);
        std::memcpy(&headerSize, &saved[14], 4);
        std::memcpy(&height, &saved[22], 4);
        EXPECT_EQ(fileSize, saved.size());
        EXPECT_EQ(headerSize, 40u);
        EXPECT_EQ(height, original.Height());
        TBitmap reloaded;
        LoadBytes(reloaded, saved);
        EXPECT_EQ(reloaded.PixelFormat(), original.PixelFormat());
        EXPECT_TRUE(PixelsAre(reloaded, [&](int x, int y) { return COLORREF(original.Canvas().Pixels(x, y)); }));
    }
}

}  // namespace
