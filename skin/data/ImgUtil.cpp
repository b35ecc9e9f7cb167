#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstring>

#include "framework/graphics/Canvas.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"

namespace {

// Weights below this are percentages, from it on per-mille values.
constexpr int32_t kPerMilleFrom = 100;
constexpr int32_t kPercentScale = 100;
constexpr int32_t kPerMilleScale = 1000;
// A colour none of whose channels reaches this counts as unsaturated grey.
constexpr int kSaturationChannelFloor = 160;
constexpr int32_t kUnsaturatedResult = 200;
constexpr DWORD kSystemColorIndexMask = 0xFF;
// Paint the brush where the source is white, keep the destination where it is black.
constexpr DWORD kRopBrushWhereSourceSet = 0x00E20746;
constexpr size_t kBytesPerPixel24 = 3;
constexpr size_t kBytesPerPixel32 = 4;

struct TGradientCache {
    std::array<std::vector<TColor>, GradientSlotCount> Slots;
    int32_t Counter = 0;
};

// The cache lives for the whole process.
TGradientCache& GradientCache() {
    static TGradientCache cache;
    return cache;
}

[[noreturn]] void GradientAssertion(int line) {
    throw EAssertionFailed("Assertion failure (imgutil, line " + IntToStr(line) + ")");
}
constexpr int kLookupAssertionLine = 304;
constexpr int kCreationAssertionLine = 323;

COLORREF Resolve(TColor color) {
    return color < 0 ? ::GetSysColor(int(DWORD(color) & kSystemColorIndexMask)) : COLORREF(color);
}

// Makes the bitmap 24-bit, as the pixel transforms work on 3-byte pixels.
void Ensure24Bit(TBitmap& bitmap) {
    if (bitmap.PixelFormat() != pf24bit) bitmap.SetPixelFormat(pf24bit);
}

// The pixels of a bitmap as a 32-bit bottom-up DIB (GetDIBits of the screen DC).
std::vector<uint8_t> Read32BitPixels(TBitmap& bitmap) {
    const int32_t width = bitmap.Width();
    const int32_t height = bitmap.Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(width) * DWORD(height) * kBytesPerPixel32;
    info.bmiHeader.biXPelsPerMeter = 1;
    info.bmiHeader.biYPelsPerMeter = 1;
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * kBytesPerPixel32);
    win::ScreenDC screen;
    ::GetDIBits(screen.get(), bitmap.Handle(), 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// Rotation: mapping gives the destination (column, row) of source pixel (x, y), rows top-down.
template <typename Mapping>
void Rotate(TBitmap& bitmap, Mapping mapping) {
    Ensure24Bit(bitmap);
    const int32_t oldWidth = bitmap.Width();
    const int32_t oldHeight = bitmap.Height();
    if (oldWidth <= 0 || oldHeight <= 0) return;
    const std::vector<uint8_t> pixels = Read32BitPixels(bitmap);
    bitmap.SetSize(oldHeight, oldWidth);
    for (int32_t y = 0; y < oldHeight; ++y) {
        // The DIB was read bottom-up: top-down row y is stored row (height - 1 - y).
        const uint8_t* source = pixels.data() + size_t(oldHeight - 1 - y) * size_t(oldWidth) * kBytesPerPixel32;
        for (int32_t x = 0; x < oldWidth; ++x) {
            const auto [column, row] = mapping(x, y, oldWidth, oldHeight);
            auto* target = static_cast<uint8_t*>(bitmap.ScanLine(row)) + size_t(column) * kBytesPerPixel24;
            std::memcpy(target, source + size_t(x) * kBytesPerPixel32, kBytesPerPixel24);
        }
    }
}

}  // namespace

TColor BlendColors(TColor colorA, TColor colorB, int32_t weight) {
    const COLORREF a = Resolve(colorA);
    const COLORREF b = Resolve(colorB);
    const int32_t scale = weight < kPerMilleFrom ? kPercentScale : kPerMilleScale;
    auto mix = [&](int shift) {
        const int32_t ca = int32_t((a >> shift) & 0xFF);
        const int32_t cb = int32_t((b >> shift) & 0xFF);
        return uint32_t((ca * weight + cb * (scale - weight) + scale / 2) / scale) & 0xFF;
    };
    return TColor(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

int32_t GetGradient(int32_t count, TColor startColor, TColor endColor) {
    TGradientCache& cache = GradientCache();
    if (count <= 0) GradientAssertion(kLookupAssertionLine);
    for (int32_t slot = GradientSlotCount - 1; slot >= 0; --slot) {
        const std::vector<TColor>& table = cache.Slots[size_t(slot)];
        if (table.size() == size_t(count) && table.front() == startColor && table.back() == endColor) return slot;
    }
    if (count <= 0) GradientAssertion(kCreationAssertionLine);
    const int32_t slot = cache.Counter;
    cache.Counter = (cache.Counter + 1) % GradientSlotCount;
    std::vector<TColor>& table = cache.Slots[size_t(slot)];
    table.assign(size_t(count), 0);
    const uint32_t start = uint32_t(startColor);
    const uint32_t end = uint32_t(endColor);
    const int32_t n = count - 1;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t entry = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int32_t s = int32_t((start >> shift) & 0xFF);
            const int32_t d = int32_t((end >> shift) & 0xFF) - s;
            // Division truncates toward zero; a single entry is the midpoint. Halves round away from
            // the start in both directions, so a falling channel also ends exactly on the end colour
            // (and the cache, which matches tables by their last entry, finds falling gradients).
            const int32_t half = d < 0 ? -(n / 2) : n / 2;
            const int32_t value = n > 0 ? s + (i * d + half) / n : s + d / 2;
            entry |= (uint32_t(value) & 0xFF) << shift;
        }
        table[size_t(i)] = TColor(entry);
    }
    return slot;
}

const std::vector<TColor>& GradientTable(int32_t slot) {
    static const std::vector<TColor> none;
    if (slot < 0 || slot >= GradientSlotCount) return none;
    return GradientCache().Slots[size_t(slot)];
}

void ResetGradientCache() {
    TGradientCache& cache = GradientCache();
    for (auto& table : cache.Slots) std::vector<TColor>().swap(table);
    cache.Counter = 0;
}

void GradientFillRect(HDC dc, const RECT& rect, TColor startColor, int32_t vertical, TColor endColor) {
    if (!::RectVisible(dc, &rect)) return;
    const TColor start = ColorToRGB(startColor);
    const TColor end = ColorToRGB(endColor);
    const bool topToBottom = vertical == 1;
    const int32_t bands = topToBottom ? rect.bottom - rect.top : rect.right - rect.left;
    if (bands <= 0) return;
    RECT clip{};
    ::GetClipBox(dc, &clip);
    const int32_t clipStart = topToBottom ? clip.top - rect.top : clip.left - rect.left;
    const int32_t clipEnd = topToBottom ? rect.bottom - clip.bottom : rect.right - clip.right;
    const int32_t first = std::max(clipStart, 0);
    const int32_t last = bands - std::max(clipEnd, 0);
    const std::vector<TColor>& table = GradientTable(GetGradient(bands, start, end));
    for (int32_t i = first; i < last; ++i) {
        const RECT band = topToBottom ? RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1}
                                      : RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom};
        win::BrushHandle brush(::CreateSolidBrush(COLORREF(table[size_t(i)])));
        ::FillRect(dc, &band, brush.get());
    }
}

int32_t ColorSaturation(TColor color) {
    const int red = ColorRed(color), green = ColorGreen(color), blue = ColorBlue(color);
    if (red < kSaturationChannelFloor && green < kSaturationChannelFloor && blue < kSaturationChannelFloor)
        return kUnsaturatedResult;
    const int mx = std::max({red, green, blue});
    const int mn = std::min({red, green, blue});
    const double saturation = mx == 0 ? 0.0 : double(mx - mn) / double(mx);
    // Round half to even, whatever rounding mode the process runs in.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(saturation * 255.0);
    std::fesetround(previous);
    return int32_t(rounded);
}

void ReplaceMagentaPixels(TBitmap& bitmap, TColor color) {
    Ensure24Bit(bitmap);
    const COLORREF replacement = COLORREF(ColorToRGB(color));
    const uint8_t keyRed = GetRValue(SkinTransparentColor), keyGreen = GetGValue(SkinTransparentColor),
                  keyBlue = GetBValue(SkinTransparentColor);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        auto* pixel = static_cast<uint8_t*>(bitmap.ScanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x, pixel += kBytesPerPixel24) {
            if (pixel[2] == keyRed && pixel[1] == keyGreen && pixel[0] == keyBlue) {
                pixel[0] = GetBValue(replacement);
                pixel[1] = GetGValue(replacement);
                pixel[2] = GetRValue(replacement);
            }
        }
    }
}

void FlipHorizontal(TBitmap& bitmap) {
    Ensure24Bit(bitmap);
    const int32_t width = bitmap.Width();
    TBitmap mirrored(width, bitmap.Height(), pf24bit);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const auto* source = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        auto* target = static_cast<uint8_t*>(mirrored.ScanLine(y));
        for (int32_t x = 0; x < width; ++x)
            std::memcpy(target + size_t(x) * kBytesPerPixel24, source + size_t(width - 1 - x) * kBytesPerPixel24,
                        kBytesPerPixel24);
    }
    bitmap.Assign(&mirrored);
}

void FlipVertical(TBitmap& bitmap) {
    Ensure24Bit(bitmap);
    const int32_t height = bitmap.Height();
    TBitmap mirrored(bitmap.Width(), height, pf24bit);
    const size_t rowBytes = size_t(bitmap.Width()) * kBytesPerPixel24;
    for (int32_t y = 0; y < height; ++y) std::memcpy(mirrored.ScanLine(height - 1 - y), bitmap.ScanLine(y), rowBytes);
    bitmap.Assign(&mirrored);
}

void RotateLeft(TBitmap& bitmap) {
    Rotate(bitmap, [](int32_t x, int32_t y, int32_t oldWidth, int32_t) {
        return std::pair<int32_t, int32_t>{y, oldWidth - 1 - x};
    });
}

void RotateRight(TBitmap& bitmap) {
    Rotate(bitmap, [](int32_t x, int32_t y, int32_t, int32_t oldHeight) {
        return std::pair<int32_t, int32_t>{oldHeight - 1 - y, x};
    });
}

std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph) {
    // The glyph's size in the screen's format (which needs no palette of the glyph's), filled with
    // the button face.
    const int32_t width = glyph.Width();
    const int32_t height = glyph.Height();
    auto result = std::make_unique<TBitmap>(width, height, pfDevice);
    if (result->Empty()) return result;
    TCanvas& canvas = result->Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(RECT{0, 0, width, height});
    // The glyph's black pixels become the mask's white (set) pixels.
    std::unique_ptr<TBitmap> mask = glyph.CreateMask(clBlack);
    win::MemoryDC maskDC;
    win::SelectedObject selected(maskDC.get(), mask->Handle());
    // Monochrome sources are expanded with text colour black and background white.
    auto applyMask = [&](TColor brushColor, int offset) {
        canvas.Brush().SetColor(brushColor);
        HDC dc = canvas.Handle();
        const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
        ::BitBlt(dc, offset, offset, width, height, maskDC.get(), 0, 0, kRopBrushWhereSourceSet);
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBack);
    };
    applyMask(clBtnHighlight, 1);
    applyMask(clBtnShadow, 0);
    return result;
}
