#include "skin/data/SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/win/DeviceContext.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WindowsVersion.h"

namespace {

// MaskBlt foreground: keep the destination (where the mask is set, i.e. the key colour).
constexpr DWORD kRopKeepDestination = 0x00AA0029;
constexpr size_t kRegionHeaderSize = sizeof(RGNDATAHEADER);
constexpr LONG kBoundsStart = 0x7FFFFFFF;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A work bitmap of the given size with the stretch mode of the skin painters.
std::unique_ptr<TBitmap> Temporary(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(std::max(width, 0), std::max(height, 0), pf32bit);
    bitmap->Canvas().SetStretchMode(COLORONCOLOR);
    return bitmap;
}

// One stretched piece from source rectangle to destination rectangle.
void Piece(TCanvas& target, TCanvas& source, const RECT& dest, const RECT& from) {
    target.CopyRect(dest, source, from);
}

// Margins as the routines may use them: never negative, and together never wider or taller than
// the cell (a skin that claims more would make the pieces read outside their frame).
RECT FitMargins(const RECT& margins, const RECT& cell) {
    RECT m{std::max<LONG>(margins.left, 0), std::max<LONG>(margins.top, 0), std::max<LONG>(margins.right, 0),
           std::max<LONG>(margins.bottom, 0)};
    const LONG cw = Width(cell), ch = Height(cell);
    m.left = std::min(m.left, cw);
    m.right = std::min(m.right, cw - m.left);
    m.top = std::min(m.top, ch);
    m.bottom = std::min(m.bottom, ch - m.top);
    return m;
}

// Puts a finished temporary onto the DC at (x, y): with the key left out, or copied.
void PutTemporary(HDC dc, int x, int y, TBitmap& temporary, bool transparent) {
    const RECT at{x, y, x + temporary.Width(), y + temporary.Height()};
    if (transparent)
        DrawTransparent(dc, at, temporary, SkinTransparentColor);
    else
        ::BitBlt(dc, x, y, temporary.Width(), temporary.Height(), temporary.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace

TTransparentMethod DefaultTransparentMethod() {
    return IsNTPlatform() ? TTransparentMethod::MaskBlt : TTransparentMethod::ThreePass;
}

RECT FrameCell(TBitmap& bitmap, int32_t frameCount, int32_t frameIndex, bool vertical) {
    const int32_t count = std::max(frameCount, 1);
    const int32_t index = std::clamp(frameIndex, 1, count);
    if (vertical) {
        const int32_t cellHeight = bitmap.Height() / count;
        return RECT{0, (index - 1) * cellHeight, bitmap.Width(), index * cellHeight};
    }
    const int32_t cellWidth = bitmap.Width() / count;
    return RECT{(index - 1) * cellWidth, 0, index * cellWidth, bitmap.Height()};
}

std::unique_ptr<TBitmap> CreateSkinElementBitmap(const RECT& dest, TBitmap& element, const RECT& margins, bool vertical,
                                                 bool tile, int32_t frameCount, int32_t frameIndex) {
    const RECT cell = FrameCell(element, frameCount, frameIndex, vertical);
    const int32_t sx = cell.left, sy = cell.top, cw = Width(cell), ch = Height(cell);
    const int32_t w = Width(dest), h = Height(dest);
    // Too small for both margins as the skin gives them: the element degrades to a plain stretch in that
    // direction. Only then are the margins fitted to the cell (a skin's margins may claim more than its
    // frame; fitting first would keep a margin the destination has no room for).
    RECT given{std::max<LONG>(margins.left, 0), std::max<LONG>(margins.top, 0), std::max<LONG>(margins.right, 0),
               std::max<LONG>(margins.bottom, 0)};
    if (w < given.left + given.right) given.left = given.right = 0;
    if (h < given.top + given.bottom) given.top = given.bottom = 0;
    const RECT m = FitMargins(given, cell);
    const int32_t l = m.left, t = m.top, r = m.right, b = m.bottom;

    // An element without a picture composes to an empty bitmap: there is nothing to draw, and a
    // blank temporary of the destination's size would paint as an opaque black rectangle.
    if (element.Empty()) return std::make_unique<TBitmap>();
    auto result = Temporary(w, h);
    if (result->Empty()) return result;
    TCanvas& target = result->Canvas();
    TCanvas& source = element.Canvas();
    target.SetCopyMode(SRCCOPY);
    if (l * t > 0) Piece(target, source, RECT{0, 0, l, t}, RECT{sx, sy, sx + l, sy + t});
    if (l * b > 0) Piece(target, source, RECT{0, h - b, l, h}, RECT{sx, sy + ch - b, sx + l, sy + ch});
    if (r * t > 0) Piece(target, source, RECT{w - r, 0, w, t}, RECT{sx + cw - r, sy, sx + cw, sy + t});
    if (l > 0) Piece(target, source, RECT{0, t, l, h - b}, RECT{sx, sy + t, sx + l, sy + ch - b});
    if (t > 0) Piece(target, source, RECT{l, 0, w - r, t}, RECT{sx + l, sy, sx + cw - r, sy + t});
    const RECT centre{l, t, w - r, h - b};
    const RECT centreSource{sx + l, sy + t, sx + cw - r, sy + ch - b};
    if (tile)
        TileBitmapRect(target, centre, element, centreSource);
    else
        Piece(target, source, centre, centreSource);
    // Right and bottom pieces last: they cover whole tiles that ran past the centre.
    if (r * b > 0) Piece(target, source, RECT{w - r, h - b, w, h}, RECT{sx + cw - r, sy + ch - b, sx + cw, sy + ch});
    if (r > 0) Piece(target, source, RECT{w - r, t, w, h - b}, RECT{sx + cw - r, sy + t, sx + cw, sy + ch - b});
    if (b > 0) Piece(target, source, RECT{l, h - b, w - r, h}, RECT{sx + l, sy + ch - b, sx + cw - r, sy + ch});
    return result;
}

void DrawSkinElement(HDC dc, const RECT& dest, TBitmap& element, bool vertical, bool tile, bool transparent,
                     int32_t frameCount, int32_t frameIndex, const RECT& margins) {
    if (Inverted(dest)) return;
    std::unique_ptr<TBitmap> composed =
        CreateSkinElementBitmap(dest, element, margins, vertical, tile, frameCount, frameIndex);
    if (composed->Empty()) return;
    PutTemporary(dc, dest.left, dest.top, *composed, transparent);
}

void DrawThreePartTiled(TCanvas& canvas, const RECT& dest, TBitmap& element, bool vertical, bool transparent,
                        int32_t frameCount, int32_t frameIndex, const RECT& margins) {
    if (Inverted(dest) || element.Empty()) return;
    const int32_t w = Width(dest), h = Height(dest);
    auto temporary = Temporary(w, h);
    if (temporary->Empty()) return;
    const RECT cell = FrameCell(element, frameCount, frameIndex, vertical);
    const int32_t sx = cell.left, sy = cell.top, cw = Width(cell), ch = Height(cell);
    const RECT m = FitMargins(RECT{margins.left, 0, margins.right, 0}, cell);
    const int32_t l = m.left, r = m.right;
    TCanvas& target = temporary->Canvas();
    TCanvas& source = element.Canvas();
    target.SetCopyMode(SRCCOPY);
    Piece(target, source, RECT{0, 0, l, h}, RECT{sx, sy, sx + l, sy + ch});
    const int32_t step = cw - l - r;
    if (step > 0) {
        for (int32_t x = l; x < w - r; x += step)
            Piece(target, source, RECT{x, 0, x + step, h}, RECT{sx + l, sy, sx + l + step, sy + ch});
    } else if (w - r > l) {
        // No middle columns between the caps: stretch the whole cell across the middle.
        Piece(target, source, RECT{l, 0, w - r, h}, cell);
    }
    Piece(target, source, RECT{w - r, 0, w, h}, RECT{sx + cw - r, sy, sx + cw, sy + ch});
    if (transparent) {
        temporary->SetTransparentColor(SkinTransparentColor);
        temporary->SetTransparent(true);
        canvas.Draw(dest.left, dest.top, *temporary);
    } else {
        ::BitBlt(canvas.Handle(), dest.left, dest.top, w, h, target.Handle(), 0, 0, SRCCOPY);
    }
}

void DrawThreePartStretched(HDC dc, const RECT& dest, TBitmap& element, bool vertical, int32_t frameCount,
                            int32_t frameIndex, const RECT& margins) {
    if (Inverted(dest) || element.Empty()) return;
    const RECT cell = FrameCell(element, frameCount, frameIndex, vertical);
    const int32_t sx = cell.left, sy = cell.top, cw = Width(cell), ch = Height(cell);
    const RECT m = FitMargins(RECT{margins.left, 0, margins.right, 0}, cell);
    const int32_t l = m.left, r = m.right;
    const int32_t d = Width(dest), h = Height(dest);
    HDC source = element.Canvas().Handle();
    // Straight onto the caller's DC in the DC's own stretch mode: the caller chooses how a shrunk
    // strip combines its pixels.
    if (d < cw) {
        ::StretchBlt(dc, dest.left, dest.top, d, h, source, sx, sy, cw, ch, SRCCOPY);
        return;
    }
    ::StretchBlt(dc, dest.left, dest.top, l, h, source, sx, sy, l, ch, SRCCOPY);
    ::StretchBlt(dc, dest.left + l, dest.top, d - l - r, h, source, sx + l, sy, cw - l - r, ch, SRCCOPY);
    ::StretchBlt(dc, dest.right - r, dest.top, r, h, source, sx + cw - r, sy, r, ch, SRCCOPY);
}

void DrawFrameStretched(HDC dc, const RECT& dest, TBitmap& element, bool transparent, int32_t frameCount,
                        int32_t frameIndex) {
    if (Inverted(dest) || element.Empty()) return;
    auto temporary = Temporary(Width(dest), Height(dest));
    if (temporary->Empty()) return;
    // The stretch goes into a temporary, yet follows the destination DC's own stretch mode, as a
    // stretch straight onto it would (a fresh DC's mode unless the caller set one).
    temporary->Canvas().SetStretchMode(::GetStretchBltMode(dc));
    const RECT cell = FrameCell(element, frameCount, frameIndex, false);
    temporary->Canvas().CopyRect(RECT{0, 0, Width(dest), Height(dest)}, element.Canvas(), cell);
    PutTemporary(dc, dest.left, dest.top, *temporary, transparent);
}

void DrawFrameCentered(HDC dc, const RECT& dest, TBitmap& element, bool transparent, int32_t frameCount,
                       int32_t frameIndex) {
    if (Inverted(dest) || element.Empty()) return;
    const RECT cell = FrameCell(element, frameCount, frameIndex, false);
    auto temporary = Temporary(Width(cell), Height(cell));
    if (temporary->Empty()) return;
    ::BitBlt(temporary->Canvas().Handle(), 0, 0, Width(cell), Height(cell), element.Canvas().Handle(), cell.left,
             cell.top, SRCCOPY);
    const int x = dest.left + (Width(dest) - Width(cell)) / 2;
    const int y = dest.top + (Height(dest) - Height(cell)) / 2;
    PutTemporary(dc, x, y, *temporary, transparent);
}

void TileBitmapRect(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, const RECT& source) {
    const int32_t sw = Width(source), sh = Height(source);
    if (sw < 0 || sh < 0 || sw * sh == 0 || bitmap.Empty()) return;
    auto tile = Temporary(sw, sh);
    ::BitBlt(tile->Canvas().Handle(), 0, 0, sw, sh, bitmap.Canvas().Handle(), source.left, source.top, SRCCOPY);
    HDC target = canvas.Handle();
    HDC from = tile->Canvas().Handle();
    for (int32_t x = dest.left; x < dest.right; x += sw)
        for (int32_t y = dest.top; y < dest.bottom; y += sh) ::BitBlt(target, x, y, sw, sh, from, 0, 0, SRCCOPY);
}

void DrawTransparent(HDC dc, const RECT& dest, TBitmap& bitmap, TColor keyColor, TTransparentMethod method) {
    if (Inverted(dest) || bitmap.Empty()) return;
    const int w = Width(dest), h = Height(dest);
    // Key-coloured pixels are the mask's white (set) pixels.
    std::unique_ptr<TBitmap> mask = bitmap.CreateMask(keyColor);
    HDC source = bitmap.Canvas().Handle();
    if (method == TTransparentMethod::MaskBlt) {
        ::MaskBlt(dc, dest.left, dest.top, w, h, source, 0, 0, mask->Handle(), 0, 0,
                  MAKEROP4(kRopKeepDestination, SRCCOPY));
        return;
    }
    win::MemoryDC maskDC;
    win::SelectedObject selected(maskDC.get(), mask->Handle());
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, dest.left, dest.top, w, h, source, 0, 0, SRCINVERT);
    ::BitBlt(dc, dest.left, dest.top, w, h, maskDC.get(), 0, 0, SRCAND);
    ::BitBlt(dc, dest.left, dest.top, w, h, source, 0, 0, SRCINVERT);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}

namespace {

// Collects rectangles in an RGNDATA buffer and merges them into one region in batches.
class TRegionBuilder {
public:
    TRegionBuilder() { Reset(); }

    void Add(const RECT& rect) {
        if (FCount == FCapacity) Grow();
        auto* rects = reinterpret_cast<RECT*>(FBuffer.data() + kRegionHeaderSize);
        rects[FCount++] = rect;
        FBounds.left = std::min(FBounds.left, rect.left);
        FBounds.top = std::min(FBounds.top, rect.top);
        FBounds.right = std::max(FBounds.right, rect.right);
        FBounds.bottom = std::max(FBounds.bottom, rect.bottom);
        if (FCount == RegionBatchRectangles) Flush();
    }

    // Makes a region of the collected rectangles and merges it into the result.
    void Flush() {
        auto* header = reinterpret_cast<RGNDATAHEADER*>(FBuffer.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = DWORD(FCount);
        header->nRgnSize = 0;
        header->rcBound = FBounds;
        win::RegionHandle batch(::ExtCreateRegion(nullptr, DWORD(kRegionHeaderSize + size_t(FCount) * sizeof(RECT)),
                                                  reinterpret_cast<const RGNDATA*>(FBuffer.data())));
        FCount = 0;
        FBounds = RECT{kBoundsStart, kBoundsStart, 0, 0};
        if (!batch) return;
        // Batches are merged like a binary counter: two partial results of the same size are joined
        // into one of the next size. The union is the same as merging each batch into one growing
        // region, but costs n log n instead of n squared for bitmaps of very many rectangles.
        FPending.push_back({std::move(batch), 0});
        while (FPending.size() >= 2 && FPending[FPending.size() - 1].Level == FPending[FPending.size() - 2].Level) {
            TPartial top = std::move(FPending.back());
            FPending.pop_back();
            ::CombineRgn(FPending.back().Region.get(), FPending.back().Region.get(), top.Region.get(), RGN_OR);
            ++FPending.back().Level;
        }
    }

    win::RegionHandle Finish() {
        Flush();
        if (FPending.empty()) return win::RegionHandle(::CreateRectRgn(0, 0, 0, 0));
        win::RegionHandle result = std::move(FPending.front().Region);
        for (size_t i = 1; i < FPending.size(); ++i)
            ::CombineRgn(result.get(), result.get(), FPending[i].Region.get(), RGN_OR);
        FPending.clear();
        return result;
    }

private:
    void Reset() {
        FCapacity = RegionBufferGrowth;
        FBuffer.assign(kRegionHeaderSize + size_t(FCapacity) * sizeof(RECT), 0);
        FCount = 0;
        FBounds = RECT{kBoundsStart, kBoundsStart, 0, 0};
    }
    void Grow() {
        FCapacity += RegionBufferGrowth;
        FBuffer.resize(kRegionHeaderSize + size_t(FCapacity) * sizeof(RECT));
    }

    std::vector<uint8_t> FBuffer;
    int32_t FCapacity = 0;
    int32_t FCount = 0;
    struct TPartial {
        win::RegionHandle Region;
        int Level;
    };
    RECT FBounds{};
    std::vector<TPartial> FPending;
};

}  // namespace

win::RegionHandle CreateRegionFromBitmap(TBitmap& bitmap, int32_t xOffset, int32_t yOffset, int32_t blueTolerance,
                                         int32_t greenTolerance, int32_t redTolerance, TColor keyColor) {
    const COLORREF key = COLORREF(ColorToRGB(keyColor));
    const int r = GetRValue(key), g = GetGValue(key), b = GetBValue(key);
    const int rMax = std::min(255, r + redTolerance);
    const int gMax = std::min(255, g + greenTolerance);
    const int bMax = std::min(255, b + blueTolerance);
    auto transparent = [&](const uint8_t* p) {
        return p[2] >= r && p[2] <= rMax && p[1] >= g && p[1] <= gMax && p[0] >= b && p[0] <= bMax;
    };
    TRegionBuilder builder;
    if (!bitmap.Empty()) {
        if (bitmap.PixelFormat() != pf32bit) bitmap.SetPixelFormat(pf32bit);
        const int32_t width = bitmap.Width();
        // Each row is reached through its own scan line, so no row step is needed (one-pixel-high
        // bitmaps included).
        for (int32_t y = 0; y < bitmap.Height(); ++y) {
            const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
            int32_t x = 0;
            while (x < width) {
                while (x < width && transparent(row + size_t(x) * 4)) ++x;
                const int32_t start = x;
                while (x < width && !transparent(row + size_t(x) * 4)) ++x;
                if (x > start) builder.Add(RECT{start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1});
            }
        }
    }
    return builder.Finish();
}

TBitmap& SkinBackBuffer() {
    static const std::unique_ptr<TBitmap> buffer = [] {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->Canvas().SetStretchMode(COLORONCOLOR);
        return bitmap;
    }();
    return *buffer;
}

TStringList& SkinSharedStrings() {
    static const std::unique_ptr<TStringList> strings = std::make_unique<TStringList>();
    return *strings;
}
