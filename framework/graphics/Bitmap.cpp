#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "framework/graphics/AnsiText.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"
#include "framework/win/DeviceContext.h"

// The canvas of a bitmap: a memory DC, made on demand, with the bitmap's DIB section selected.
class TBitmapCanvas : public TCanvas {
    QUIRN_CLASS(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    // Deletes the DC (after selecting back what it had) so the bitmap may change or be selected elsewhere.
    void FreeContext() {
        if (!FDC) return;
        SetHandle(nullptr);
        FSelection.reset();
        FDC.reset();
    }

protected:
    void CreateHandle() override {
        win::MemoryDC dc;
        if (!dc) throw EOutOfResources("Out of system resources");
        FDC.emplace(std::move(dc));
        if (FBitmap.FHandle) FSelection.emplace(FDC->get(), FBitmap.FHandle.get());
        SetHandle(FDC->get());
    }

private:
    TBitmap& FBitmap;
    std::optional<win::MemoryDC> FDC;
    std::optional<win::SelectedObject> FSelection;  // destroyed before the DC
};

QUIRN_DEFINE_CLASS(TBitmapCanvas)
QUIRN_DEFINE_CLASS(TBitmap)

struct TBitmap::TDib {
    win::BitmapHandle Handle;
    uint8_t* Bits = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
    int BitCount = 32;
    bool Rgb565 = false;
    std::vector<TBmpColor> Palette;
};

namespace {

// More stream data than any valid bitmap within the codec's limits can need.
constexpr int64_t kMaxStreamBytes = int64_t(kMaxBmpBits) + 1024 * 1024;
constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr uint32_t k565Masks[3] = {0xF800, 0x07E0, 0x001F};
constexpr int kFiveBitMax = 31;
constexpr int kSixBitMax = 63;

std::vector<TBmpColor> DefaultPalette(int bitCount) {
    std::vector<TBmpColor> palette;
    auto add = [&](uint8_t r, uint8_t g, uint8_t b) { palette.push_back(TBmpColor{b, g, r, 0}); };
    if (bitCount == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bitCount >= 4) {
        // The 16 standard colours first, in their VGA order.
        static constexpr uint8_t vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                               {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : vga) add(c[0], c[1], c[2]);
        if (bitCount == 8) {
            // A 6 x 6 x 6 colour cube and a grey ramp fill the rest.
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b) add(uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51));
            for (int i = 0; palette.size() < 256; ++i)
                add(uint8_t(8 + i * 10), uint8_t(8 + i * 10), uint8_t(8 + i * 10));
        }
    }
    return palette;
}

int DeviceBitCount() {
    win::ScreenDC screen;
    const int bits = screen ? ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES) : 32;
    return bits <= 8 ? 8 : bits <= 16 ? 16 : 32;
}

void FormatOf(TPixelFormat format, int& bitCount, bool& rgb565) {
    rgb565 = false;
    switch (format) {
    case pf1bit: bitCount = 1; break;
    case pf4bit: bitCount = 4; break;
    case pf8bit: bitCount = 8; break;
    case pf15bit: bitCount = 16; break;
    case pf16bit:
        bitCount = 16;
        rgb565 = true;
        break;
    case pf24bit: bitCount = 24; break;
    case pf32bit: bitCount = 32; break;
    case pfDevice:
        bitCount = DeviceBitCount();
        rgb565 = bitCount == 16;
        break;
    default: throw EInvalidGraphicOperation("Invalid pixel format");
    }
}

// The BITMAPINFO of a DIB: header plus colour table or bit-field masks.
struct TDibInfo {
    BITMAPINFOHEADER Header{};
    RGBQUAD Colors[256]{};
};

TDibInfo MakeInfo(int32_t width, int32_t height, int bitCount, bool rgb565, const std::vector<TBmpColor>& palette) {
    TDibInfo info;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = WORD(bitCount);
    info.Header.biCompression = rgb565 ? BI_BITFIELDS : BI_RGB;
    if (rgb565) {
        std::memcpy(info.Colors, k565Masks, sizeof(k565Masks));
    } else if (bitCount <= 8) {
        info.Header.biClrUsed = DWORD(1u << bitCount);
        for (size_t i = 0; i < palette.size() && i < 256; ++i)
            info.Colors[i] = RGBQUAD{palette[i].Blue, palette[i].Green, palette[i].Red, 0};
    }
    return info;
}

TBitmap::TDib MakeDib(int32_t width, int32_t height, int bitCount, bool rgb565, std::vector<TBmpColor> palette) {
    if (width <= 0 || height <= 0) return {};
    if (width > kMaxBmpDimension || height > kMaxBmpDimension ||
        uint64_t(TBmpImage::BmpStride(width, bitCount)) * uint64_t(height) > kMaxBmpBits)
        throw EOutOfResources("Bitmap too large");
    if (bitCount <= 8)
        palette.resize(size_t(1) << bitCount);
    else
        palette.clear();
    const TDibInfo info = MakeInfo(width, height, bitCount, rgb565, palette);
    void* bits = nullptr;
    win::BitmapHandle handle(
        ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle || !bits) throw EOutOfResources("Out of system resources");
    TBitmap::TDib dib;
    dib.Handle = std::move(handle);
    dib.Bits = static_cast<uint8_t*>(bits);
    dib.Width = width;
    dib.Height = height;
    dib.BitCount = bitCount;
    dib.Rgb565 = rgb565;
    dib.Palette = std::move(palette);
    return dib;
}

// Read-only view of stored pixels, rows addressed top-down.
struct TPixels {
    const uint8_t* Bits;
    int32_t Width;
    int32_t Height;
    int BitCount;
    bool Rgb565;
    const std::vector<TBmpColor>* Palette;

    [[nodiscard]] const uint8_t* Row(int32_t y) const {
        return Bits + size_t(Height - 1 - y) * TBmpImage::BmpStride(Width, BitCount);
    }
    [[nodiscard]] COLORREF Pixel(const uint8_t* row, int32_t x) const {
        auto expand = [](unsigned value, int max) {
            return unsigned((value * 255 + unsigned(max) / 2) / unsigned(max));
        };
        switch (BitCount) {
        case 1:
        case 4:
        case 8: {
            unsigned index;
            if (BitCount == 8)
                index = row[x];
            else if (BitCount == 4)
                index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            else
                index = (row[x / 8] >> (7 - x % 8)) & 1;
            const TBmpColor& c = (*Palette)[index];
            return RGB(c.Red, c.Green, c.Blue);
        }
        case 16: {
            const unsigned v = unsigned(row[x * 2] | (row[x * 2 + 1] << 8));
            if (Rgb565)
                return RGB(expand((v >> 11) & 31, kFiveBitMax), expand((v >> 5) & 63, kSixBitMax),
                           expand(v & 31, kFiveBitMax));
            return RGB(expand((v >> 10) & 31, kFiveBitMax), expand((v >> 5) & 31, kFiveBitMax),
                       expand(v & 31, kFiveBitMax));
        }
        case 24: return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        default: return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
        }
    }
};

// Nearest palette entry of a colour, remembered per colour.
class TPaletteMatcher {
public:
    explicit TPaletteMatcher(const std::vector<TBmpColor>& palette) : FPalette(palette) {}
    uint8_t Find(COLORREF color) {
        if (auto it = FCache.find(color); it != FCache.end()) return it->second;
        const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
        int best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < FPalette.size(); ++i) {
            const long dr = FPalette[i].Red - r, dg = FPalette[i].Green - g, db = FPalette[i].Blue - b;
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = int(i);
            }
        }
        FCache.emplace(color, uint8_t(best));
        return uint8_t(best);
    }

private:
    const std::vector<TBmpColor>& FPalette;
    std::unordered_map<COLORREF, uint8_t> FCache;
};

void WritePixel(uint8_t* row, int32_t x, const TBitmap::TDib& dib, COLORREF color, TPaletteMatcher* matcher) {
    const unsigned r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (dib.BitCount) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (x % 8));
        if (matcher->Find(color))
            row[x / 8] |= bit;
        else
            row[x / 8] &= uint8_t(~bit);
        break;
    }
    case 4: {
        const uint8_t index = matcher->Find(color);
        uint8_t& byte = row[x / 2];
        byte = (x % 2 == 0) ? uint8_t((byte & 0x0F) | (index << 4)) : uint8_t((byte & 0xF0) | index);
        break;
    }
    case 8: row[x] = matcher->Find(color); break;
    case 16: {
        const unsigned v =
            dib.Rgb565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        row[x * 2] = uint8_t(v);
        row[x * 2 + 1] = uint8_t(v >> 8);
        break;
    }
    case 24:
        row[x * 3] = uint8_t(b);
        row[x * 3 + 1] = uint8_t(g);
        row[x * 3 + 2] = uint8_t(r);
        break;
    default:
        row[x * 4] = uint8_t(b);
        row[x * 4 + 1] = uint8_t(g);
        row[x * 4 + 2] = uint8_t(r);
        row[x * 4 + 3] = 0;
        break;
    }
}

// Copies every pixel of source into dib by colour (dib may have another format and size).
void CopyPixels(const TPixels& source, TBitmap::TDib& dib) {
    TPaletteMatcher matcher(dib.Palette);
    const size_t stride = TBmpImage::BmpStride(dib.Width, dib.BitCount);
    const int32_t width = std::min(source.Width, dib.Width);
    const int32_t height = std::min(source.Height, dib.Height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = source.Row(y);
        uint8_t* out = dib.Bits + size_t(dib.Height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) WritePixel(out, x, dib, source.Pixel(in, x), &matcher);
    }
}

}  // namespace

// The screen's format is looked up only when the bitmap gets pixels of its
// own: asking costs a screen DC, and most bitmaps made empty are loaded from
// a picture that brings its own format.
TBitmap::TBitmap() : FDeviceFormat(true) {}

TBitmap::TBitmap(int32_t width, int32_t height, TPixelFormat format) {
    FormatOf(format, FBitCount, FRgb565);
    if (FBitCount <= 8) FPalette = DefaultPalette(FBitCount);
    SetSize(width, height);
}

TBitmap::~TBitmap() { FreeContext(); }

void TBitmap::FreeContext() {
    if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::ResolveDeviceFormat() {
    if (!FDeviceFormat) return;
    FormatOf(pfDevice, FBitCount, FRgb565);
    FPalette = FBitCount <= 8 ? DefaultPalette(FBitCount) : std::vector<TBmpColor>{};
    FDeviceFormat = false;
}

void TBitmap::Adopt(TDib&& dib) {
    FreeContext();
    FDeviceFormat = false;
    FHandle = std::move(dib.Handle);
    FBits = dib.Bits;
    FWidth = dib.Width;
    FHeight = dib.Height;
    FBitCount = dib.BitCount;
    FRgb565 = dib.Rgb565;
    FPalette = std::move(dib.Palette);
}

void TBitmap::Clear() {
    FreeContext();
    FHandle.reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
}

uint8_t* TBitmap::Row(int32_t y) const { return FBits + size_t(FHeight - 1 - y) * RowBytes(); }

COLORREF TBitmap::PixelRGB(int32_t x, int32_t y) const {
    const TPixels pixels{FBits, FWidth, FHeight, FBitCount, FRgb565, &FPalette};
    return pixels.Pixel(pixels.Row(y), x);
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == nullptr) {
        Clear();
        Changed();
        return;
    }
    if (const TBitmap* other = ObjectAs<TBitmap>(source)) {
        if (other == this) return;
        ::GdiFlush();
        if (other->Empty()) {
            Clear();
            FDeviceFormat = other->FDeviceFormat;
            FBitCount = other->FBitCount;
            FRgb565 = other->FRgb565;
            FPalette = other->FPalette;
        } else {
            TDib dib = MakeDib(other->FWidth, other->FHeight, other->FBitCount, other->FRgb565, other->FPalette);
            std::memcpy(dib.Bits, other->FBits, other->RowBytes() * size_t(other->FHeight));
            Adopt(std::move(dib));
        }
        FTransparentMode = other->FTransparentMode;
        FTransparentColor = other->FTransparentColor;
        inherited::SetTransparent(other->Transparent());
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight) return;
    if (width == 0 || height == 0) {
        Clear();
        FWidth = width;
        FHeight = height;
        Changed();
        return;
    }
    ResolveDeviceFormat();
    TDib dib = MakeDib(width, height, FBitCount, FRgb565, FPalette);
    if (FHandle) {
        // Keep the common area: rows are copied whole bytes, then the partial last byte masked.
        ::GdiFlush();
        const int32_t rows = std::min(height, FHeight);
        const size_t bits = size_t(std::min(width, FWidth)) * size_t(FBitCount);
        const size_t fullBytes = bits / 8;
        const unsigned restBits = unsigned(bits % 8);
        const size_t newStride = TBmpImage::BmpStride(width, FBitCount);
        for (int32_t y = 0; y < rows; ++y) {
            const uint8_t* in = Row(y);
            uint8_t* out = dib.Bits + size_t(height - 1 - y) * newStride;
            std::memcpy(out, in, fullBytes);
            if (restBits) out[fullBytes] = uint8_t(in[fullBytes] & (0xFF << (8 - restBits)));
        }
    }
    Adopt(std::move(dib));
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const {
    int bitCount = FBitCount;
    bool rgb565 = FRgb565;
    if (FDeviceFormat) FormatOf(pfDevice, bitCount, rgb565);
    switch (bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return rgb565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    int bitCount;
    bool rgb565;
    FormatOf(value, bitCount, rgb565);
    if (!FDeviceFormat && bitCount == FBitCount && rgb565 == FRgb565) return;
    std::vector<TBmpColor> palette = bitCount <= 8 ? DefaultPalette(bitCount) : std::vector<TBmpColor>{};
    if (!FHandle) {
        FDeviceFormat = false;
        FBitCount = bitCount;
        FRgb565 = rgb565;
        FPalette = std::move(palette);
        return;
    }
    ::GdiFlush();
    TDib dib = MakeDib(FWidth, FHeight, bitCount, rgb565, std::move(palette));
    CopyPixels(TPixels{FBits, FWidth, FHeight, FBitCount, FRgb565, &FPalette}, dib);
    Adopt(std::move(dib));
    Changed();
}

HBITMAP TBitmap::Handle() {
    FreeContext();
    return FHandle.get();
}

void TBitmap::SetHandle(HBITMAP handle) {
    win::BitmapHandle owned(handle);
    BITMAP info{};
    if (!handle || ::GetObjectW(handle, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0) {
        Clear();
        Changed();
        return;
    }
    const int depth = info.bmBitsPixel * info.bmPlanes;
    const int bitCount = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : depth <= 16 ? 16 : depth <= 24 ? 24 : 32;
    const int32_t height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    TDibInfo dibInfo = MakeInfo(info.bmWidth, height, bitCount, false, {});
    std::vector<uint8_t> bits(TBmpImage::BmpStride(info.bmWidth, bitCount) * size_t(height));
    win::ScreenDC screen;
    if (::GetDIBits(screen.get(), handle, 0, UINT(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&dibInfo),
                    DIB_RGB_COLORS) == 0)
        throw EInvalidGraphic(kInvalidBitmap);
    std::vector<TBmpColor> palette;
    if (bitCount <= 8)
        for (unsigned i = 0; i < (1u << bitCount); ++i)
            palette.push_back(
                TBmpColor{dibInfo.Colors[i].rgbBlue, dibInfo.Colors[i].rgbGreen, dibInfo.Colors[i].rgbRed, 0});
    TDib dib = MakeDib(info.bmWidth, height, bitCount, false, std::move(palette));
    std::memcpy(dib.Bits, bits.data(), bits.size());
    Adopt(std::move(dib));
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    HBITMAP handle = FHandle.release();
    Clear();
    Changed();
    return handle;
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
    return *FCanvas;
}

void* TBitmap::ScanLine(int32_t row) {
    if (!FHandle || row < 0 || row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    ::GdiFlush();
    return Row(row);
}

std::unique_ptr<TBitmap> TBitmap::CreateMask(TColor transparentColor) {
    auto mask = std::make_unique<TBitmap>(0, 0, pf1bit);
    if (!FHandle) return mask;
    ::GdiFlush();
    const COLORREF key = COLORREF(ColorToRGB(transparentColor)) & kWhite;
    TDib dib = MakeDib(FWidth, FHeight, 1, false, DefaultPalette(1));
    const TPixels pixels{FBits, FWidth, FHeight, FBitCount, FRgb565, &FPalette};
    const size_t stride = TBmpImage::BmpStride(FWidth, 1);
    const uint8_t keyBlue = GetBValue(key), keyGreen = GetGValue(key), keyRed = GetRValue(key);
    const size_t bytesPerPixel = size_t(FBitCount / 8);
    for (int32_t y = 0; y < FHeight; ++y) {
        const uint8_t* in = pixels.Row(y);
        uint8_t* out = dib.Bits + size_t(FHeight - 1 - y) * stride;
        if (FBitCount == 24 || FBitCount == 32) {
            // Direct colour: compare the bytes (the common case of skin bitmaps).
            for (int32_t x = 0; x < FWidth; ++x, in += bytesPerPixel)
                if (in[0] == keyBlue && in[1] == keyGreen && in[2] == keyRed) out[x / 8] |= uint8_t(0x80 >> (x % 8));
        } else {
            for (int32_t x = 0; x < FWidth; ++x)
                if (pixels.Pixel(in, x) == key) out[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    mask->Adopt(std::move(dib));
    return mask;
}

void TBitmap::Mask(TColor transparentColor) {
    if (!FHandle) {
        FDeviceFormat = false;
        FBitCount = 1;
        FRgb565 = false;
        FPalette = DefaultPalette(1);
        return;
    }
    std::unique_ptr<TBitmap> mask = CreateMask(transparentColor);
    TDib dib;
    dib.Handle = std::move(mask->FHandle);
    dib.Bits = mask->FBits;
    dib.Width = FWidth;
    dib.Height = FHeight;
    dib.BitCount = 1;
    dib.Palette = DefaultPalette(1);
    mask->Clear();
    Adopt(std::move(dib));
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == Monochrome()) return;
    if (value)
        Mask(clWhite);
    else
        SetPixelFormat(pfDevice);
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (!FHandle) return clDefault;
    ::GdiFlush();
    return TColor(PixelRGB(0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == FTransparentColor && FTransparentMode == (value == clDefault ? tmAuto : tmFixed)) return;
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode) return;
    // Fixing the mode keeps the colour that was in use.
    if (value == tmFixed && FTransparentColor == clDefault) FTransparentColor = TransparentColor();
    FTransparentMode = value;
    Changed();
}

void TBitmap::LoadFromBmpImage(const TBmpImage& image) {
    if (image.Empty()) {
        Clear();
        Changed();
        return;
    }
    if (image.Bits.size() < image.Stride() * size_t(image.Height)) throw EInvalidGraphic(kInvalidBitmap);
    TDib dib = MakeDib(image.Width, image.Height, image.BitCount, image.BitCount == 16 && image.Rgb565, image.Palette);
    std::memcpy(dib.Bits, image.Bits.data(), image.Stride() * size_t(image.Height));
    Adopt(std::move(dib));
    Changed();
}

TBmpImage TBitmap::ToBmpImage() {
    TBmpImage image;
    if (!FHandle) return image;
    ::GdiFlush();
    image.Width = FWidth;
    image.Height = FHeight;
    image.BitCount = FBitCount;
    image.Rgb565 = FRgb565;
    image.Palette = FPalette;
    image.Bits.assign(FBits, FBits + RowBytes() * size_t(FHeight));
    return image;
}

void TBitmap::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> data;
    TBmpImage image;
    TBmpResult result = TBmpResult::Truncated;
    try {
        const int64_t position = stream.Position();
        const int64_t remaining = stream.Size() - position;
        if (remaining > kMaxStreamBytes) {
            result = TBmpResult::TooLarge;
        } else if (remaining > 0) {
            if (auto* memory = dynamic_cast<TCustomMemoryStream*>(&stream)) {
                // Decoded where it lies, with no copy of the file.
                result = DecodeBmpFile({memory->Memory() + position, size_t(remaining)}, image);
                memory->Seek(remaining, TSeekOrigin::soCurrent);
            } else {
                data.resize(size_t(remaining));
                stream.ReadBuffer(data.data(), int32_t(remaining));
                result = DecodeBmpFile(data, image);
            }
        }
    } catch (const EStreamError&) {
        result = TBmpResult::Truncated;
    }
    if (result != TBmpResult::Ok) {
        Clear();
        Changed();
        throw EInvalidGraphic(kInvalidBitmap);
    }
    LoadFromBmpImage(image);
}

void TBitmap::SaveToStream(TStream& stream) {
    const std::vector<uint8_t> data = EncodeBmpFile(ToBmpImage());
    if (!data.empty()) stream.WriteBuffer(data.data(), int32_t(data.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, std::string_view name) {
    const std::wstring wide = AnsiToWideText(name);
    LoadFromResourceName(instance, wide.c_str());
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const wchar_t* name) {
    HRSRC resource = ::FindResourceW(instance, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) {
        const std::string text =
            IS_INTRESOURCE(name) ? IntToStr(int64_t(reinterpret_cast<ULONG_PTR>(name))) : WideToAnsiText(name);
        throw EResNotFound("Resource " + text + " not found");
    }
    const DWORD size = ::SizeofResource(instance, resource);
    TBmpImage image;
    if (DecodePackedDib(std::span<const uint8_t>(static_cast<const uint8_t*>(data), size), image) != TBmpResult::Ok) {
        Clear();
        Changed();
        throw EInvalidGraphic(kInvalidBitmap);
    }
    LoadFromBmpImage(image);
}

void TBitmap::DrawTo(TCanvas& canvas, const RECT& rect) {
    if (!FHandle) return;
    HDC dest = canvas.Handle();
    HDC source = Canvas().Handle();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!Transparent()) {
        ::StretchBlt(dest, rect.left, rect.top, width, height, source, 0, 0, FWidth, FHeight, canvas.CopyMode());
        return;
    }
    // Transparent: destination XOR picture, AND mask (white keeps, black clears), XOR picture again
    // leaves the destination where the key colour is and the picture elsewhere.
    std::unique_ptr<TBitmap> mask = CreateMask(TransparentColor());
    win::MemoryDC maskDC;
    win::SelectedObject selected(maskDC.get(), mask->FHandle.get());
    const COLORREF oldText = ::SetTextColor(dest, kBlack);
    const COLORREF oldBack = ::SetBkColor(dest, kWhite);
    ::StretchBlt(dest, rect.left, rect.top, width, height, source, 0, 0, FWidth, FHeight, SRCINVERT);
    ::StretchBlt(dest, rect.left, rect.top, width, height, maskDC.get(), 0, 0, FWidth, FHeight, SRCAND);
    ::StretchBlt(dest, rect.left, rect.top, width, height, source, 0, 0, FWidth, FHeight, SRCINVERT);
    ::SetTextColor(dest, oldText);
    ::SetBkColor(dest, oldBack);
}

void TBitmap::Changed() { inherited::Changed(); }

// ---- TBrush's pattern -------------------------------------------------------
// Defined here, where a TBitmap is known: the brush keeps the bitmap and reads its pixels only when it makes its
// handle, so later changes of the bitmap still show.

void TBrush::SetBitmap(TBitmap* value) {
    if (value == FBitmap) return;
    FBitmap = value;
    FPatternHandle = nullptr;
    if (value) FPatternHandle = [value]() -> HBITMAP { return value->Empty() ? nullptr : value->Handle(); };
    Changed();
}
