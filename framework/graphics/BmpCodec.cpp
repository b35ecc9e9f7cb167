#include "framework/graphics/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace {

constexpr uint16_t kFileSignature = 0x4D42;  // "BM"
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;     // OS/2 1.x BITMAPCOREHEADER
constexpr uint32_t kMinInfoHeaderSize = 16;  // OS/2 2.x headers may stop after the bit count
constexpr uint32_t kInfoHeaderSize = 40;     // BITMAPINFOHEADER
constexpr uint32_t kOs2InfoHeaderSize = 64;  // OS/2 2.x BITMAPINFOHEADER2
constexpr uint32_t kMaxHeaderSize = 1024;    // larger than any known header (V5 has 124)
constexpr uint32_t kRgbMasksEnd = 52;        // V2 header: red, green, blue masks at 40, 44, 48
constexpr uint32_t kAlphaMaskEnd = 56;       // V3 header: alpha mask at 52

enum Compression : uint32_t {
    BI_RGB_ = 0,
    BI_RLE8_ = 1,
    BI_RLE4_ = 2,
    BI_BITFIELDS_ = 3,
    BI_ALPHABITFIELDS_ = 6,
};

// Escape codes of the run-length encodings (a zero count byte followed by one of these).
constexpr uint8_t kRleEndOfLine = 0;
constexpr uint8_t kRleEndOfBitmap = 1;
constexpr uint8_t kRleDelta = 2;

constexpr uint32_t k555Red = 0x7C00, k555Green = 0x03E0, k555Blue = 0x001F;
constexpr uint32_t k565Red = 0xF800, k565Green = 0x07E0, k565Blue = 0x001F;
constexpr uint32_t k888Red = 0xFF0000, k888Green = 0x00FF00, k888Blue = 0x0000FF, k888Alpha = 0xFF000000;

// Bounds-checked little-endian reads.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : FData(data) {}
    [[nodiscard]] bool Has(size_t offset, size_t count) const {
        return offset <= FData.size() && count <= FData.size() - offset;
    }
    [[nodiscard]] uint16_t U16(size_t offset) const { return uint16_t(FData[offset] | (FData[offset + 1] << 8)); }
    [[nodiscard]] uint32_t U32(size_t offset) const {
        return uint32_t(FData[offset]) | (uint32_t(FData[offset + 1]) << 8) | (uint32_t(FData[offset + 2]) << 16) |
               (uint32_t(FData[offset + 3]) << 24);
    }
    [[nodiscard]] const uint8_t* At(size_t offset) const { return FData.data() + offset; }
    [[nodiscard]] size_t Size() const { return FData.size(); }

private:
    std::span<const uint8_t> FData;
};

struct Header {
    uint32_t Size = 0;
    int64_t Width = 0;
    int64_t Height = 0;  // negative: rows stored top-down
    uint32_t BitCount = 0;
    uint32_t Compression = BI_RGB_;
    uint32_t SizeImage = 0;
    uint32_t ColorsUsed = 0;
    uint32_t Masks[4] = {};  // red, green, blue, alpha
    bool Core = false;
};

struct Layout {
    Header H;
    size_t PaletteOffset = 0;
    size_t PaletteEntries = 0;
    size_t EntrySize = 4;
    size_t PaletteEnd = 0;
    // The decoded format: bit fields other than 5-5-5, 5-6-5 and 8-8-8(-8) are converted to 32 bits.
    int DecodedBitCount = 0;
    bool Rgb565 = false;
    bool Convert = false;
};

bool IsValidBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Picks the decoded format: the stored one, except bit fields with masks other than 5-5-5, 5-6-5
// and 8-8-8 (with or without the usual alpha), which are converted to 32 bits.
void SetDecodedFormat(Layout& layout) {
    const Header& h = layout.H;
    const uint32_t* m = h.Masks;
    const bool bitfields = h.Compression == BI_BITFIELDS_ || h.Compression == BI_ALPHABITFIELDS_;
    layout.DecodedBitCount = int(h.BitCount);
    layout.Rgb565 = false;
    layout.Convert = false;
    if (bitfields && h.BitCount == 16) {
        if (m[0] == k565Red && m[1] == k565Green && m[2] == k565Blue && m[3] == 0)
            layout.Rgb565 = true;
        else if (!(m[0] == k555Red && m[1] == k555Green && m[2] == k555Blue && m[3] == 0))
            layout.Convert = true;
    } else if (bitfields && h.BitCount == 32) {
        layout.Convert =
            !(m[0] == k888Red && m[1] == k888Green && m[2] == k888Blue && (m[3] == 0 || m[3] == k888Alpha));
    }
    if (layout.Convert) layout.DecodedBitCount = 32;
}

// Reads the DIB header at offset and locates masks and colour table.
TBmpResult ReadLayout(const Reader& in, size_t offset, Layout& layout) {
    Header& h = layout.H;
    if (!in.Has(offset, 4)) return TBmpResult::Truncated;
    h.Size = in.U32(offset);
    if (h.Size == kCoreHeaderSize) {
        if (!in.Has(offset, kCoreHeaderSize)) return TBmpResult::Truncated;
        h.Core = true;
        h.Width = in.U16(offset + 4);
        h.Height = in.U16(offset + 6);
        h.BitCount = in.U16(offset + 10);
        layout.EntrySize = 3;
    } else {
        if (h.Size < kMinInfoHeaderSize || h.Size > kMaxHeaderSize) return TBmpResult::BadHeader;
        if (!in.Has(offset, h.Size)) return TBmpResult::Truncated;
        // Fields a short OS/2 2.x header leaves out read as zero.
        auto field = [&](uint32_t at) -> uint32_t { return at + 4 <= h.Size ? in.U32(offset + at) : 0; };
        h.Width = int32_t(in.U32(offset + 4));
        h.Height = int32_t(in.U32(offset + 8));
        h.BitCount = in.U16(offset + 14);
        h.Compression = field(16);
        h.SizeImage = field(20);
        h.ColorsUsed = field(32);
        if (h.Size >= kRgbMasksEnd) {
            h.Masks[0] = in.U32(offset + 40);
            h.Masks[1] = in.U32(offset + 44);
            h.Masks[2] = in.U32(offset + 48);
        }
        if (h.Size >= kAlphaMaskEnd) h.Masks[3] = in.U32(offset + 52);
    }
    if (h.Width <= 0 || h.Height == 0) return TBmpResult::BadHeader;
    if (!IsValidBitCount(h.BitCount)) return TBmpResult::Unsupported;
    const int64_t rows = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width > kMaxBmpDimension || rows > kMaxBmpDimension) return TBmpResult::TooLarge;

    // OS/2 2.x reuses 3 and 4 for Huffman and 24-bit RLE, which are not supported.
    const bool os2 = h.Size == kOs2InfoHeaderSize || (h.Size > kCoreHeaderSize && h.Size < kInfoHeaderSize);
    size_t next = offset + h.Size;
    switch (h.Compression) {
    case BI_RGB_: break;
    case BI_RLE8_:
        if (h.BitCount != 8 || h.Height < 0) return TBmpResult::Unsupported;
        break;
    case BI_RLE4_:
        if (h.BitCount != 4 || h.Height < 0) return TBmpResult::Unsupported;
        break;
    case BI_BITFIELDS_:
    case BI_ALPHABITFIELDS_: {
        if (os2 || (h.BitCount != 16 && h.BitCount != 32)) return TBmpResult::Unsupported;
        const size_t maskCount = h.Compression == BI_ALPHABITFIELDS_ ? 4 : 3;
        if (h.Size < kRgbMasksEnd) {
            // A plain info header is followed by the masks.
            if (!in.Has(next, maskCount * 4)) return TBmpResult::Truncated;
            for (size_t i = 0; i < maskCount; ++i) h.Masks[i] = in.U32(next + i * 4);
            next += maskCount * 4;
        }
        break;
    }
    default: return TBmpResult::Unsupported;
    }
    if (h.Compression == BI_RGB_ || h.Compression == BI_RLE8_ || h.Compression == BI_RLE4_) {
        // Masks a V4/V5 header carries are meaningless without bit-field compression.
        std::fill(std::begin(h.Masks), std::end(h.Masks), 0u);
    }
    SetDecodedFormat(layout);
    // The limit holds for what decoding allocates, not for what the file stores.
    if (uint64_t(TBmpImage::BmpStride(int32_t(h.Width), layout.DecodedBitCount)) * uint64_t(rows) > kMaxBmpBits)
        return TBmpResult::TooLarge;

    layout.PaletteOffset = next;
    if (h.BitCount <= 8) {
        const uint32_t full = 1u << h.BitCount;
        if (h.ColorsUsed > full) return TBmpResult::BadPalette;
        layout.PaletteEntries = h.ColorsUsed == 0 ? full : h.ColorsUsed;
    } else {
        // An optional optimisation palette of direct-colour bitmaps is skipped.
        if (h.ColorsUsed > 256) return TBmpResult::BadPalette;
        layout.PaletteEntries = h.ColorsUsed;
    }
    if (!in.Has(layout.PaletteOffset, layout.PaletteEntries * layout.EntrySize)) return TBmpResult::Truncated;
    layout.PaletteEnd = layout.PaletteOffset + layout.PaletteEntries * layout.EntrySize;
    return TBmpResult::Ok;
}

void SetNibble(uint8_t* row, int64_t x, uint8_t value) {
    uint8_t& byte = row[x / 2];
    if (x % 2 == 0)
        byte = uint8_t((byte & 0x0F) | (value << 4));
    else
        byte = uint8_t((byte & 0xF0) | (value & 0x0F));
}

// Expands RLE8 or RLE4 data into an uncompressed bottom-up image. Encoders commonly encode the
// padding of each row too, so runs may reach into the stored row's padding (those pixels are
// dropped) but not past it; deltas must stay inside the bitmap; the data must end with
// end-of-bitmap or fill every row.
TBmpResult DecodeRle(std::span<const uint8_t> data, bool rle4, TBmpImage& image) {
    const int64_t width = image.Width;
    const int64_t height = image.Height;
    const size_t stride = image.Stride();
    const int64_t paddedWidth = int64_t(stride) * (rle4 ? 2 : 1);
    int64_t x = 0;
    int64_t y = 0;
    size_t p = 0;
    auto put = [&](int64_t px, uint8_t value) {
        if (px >= width) return;
        uint8_t* row = image.Bits.data() + size_t(y) * stride;
        if (rle4)
            SetNibble(row, px, value);
        else
            row[px] = value;
    };
    while (p + 2 <= data.size()) {
        const uint8_t count = data[p];
        const uint8_t code = data[p + 1];
        p += 2;
        if (count > 0) {
            if (y >= height || x + count > paddedWidth) return TBmpResult::BadRle;
            for (int i = 0; i < count; ++i) {
                // RLE4 alternates the two nibbles of the code byte.
                const uint8_t value = rle4 ? uint8_t(i % 2 == 0 ? code >> 4 : code & 0x0F) : code;
                put(x + i, value);
            }
            x += count;
            continue;
        }
        switch (code) {
        case kRleEndOfLine:
            x = 0;
            ++y;
            break;
        case kRleEndOfBitmap: return TBmpResult::Ok;
        case kRleDelta:
            if (p + 2 > data.size()) return TBmpResult::Truncated;
            x += data[p];
            y += data[p + 1];
            p += 2;
            if (x > width || y > height) return TBmpResult::BadRle;
            break;
        default: {
            // Absolute block of `code` pixels, padded to a 16-bit boundary.
            const size_t bytes = rle4 ? (size_t(code) + 1) / 2 : size_t(code);
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (p + padded > data.size()) return TBmpResult::Truncated;
            if (y >= height || x + code > paddedWidth) return TBmpResult::BadRle;
            for (int i = 0; i < code; ++i) {
                const uint8_t byte = data[p + size_t(rle4 ? i / 2 : i)];
                const uint8_t value = rle4 ? uint8_t(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
                put(x + i, value);
            }
            x += code;
            p += padded;
            break;
        }
        }
    }
    // Without end-of-bitmap the data is complete only when every row was ended.
    return y >= height ? TBmpResult::Ok : TBmpResult::Truncated;
}

struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;
    explicit Channel(uint32_t mask) : Mask(mask) {
        if (mask) {
            Shift = std::countr_zero(mask);
            Max = mask >> Shift;
        }
    }
    [[nodiscard]] uint8_t Expand(uint32_t pixel) const {
        if (!Max) return 0;
        const uint64_t value = (pixel & Mask) >> Shift;
        return uint8_t((value * 255 + Max / 2) / Max);
    }
};

// Converts bit-field pixels with arbitrary masks into 32-bit blue, green, red, alpha.
void ConvertBitfields(const uint8_t* source, size_t sourceStride, int bitCount, const uint32_t masks[4], bool topDown,
                      TBmpImage& image) {
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const size_t stride = image.Stride();
    for (int32_t row = 0; row < image.Height; ++row) {
        const int32_t sourceRow = topDown ? image.Height - 1 - row : row;
        const uint8_t* in = source + size_t(sourceRow) * sourceStride;
        uint8_t* out = image.Bits.data() + size_t(row) * stride;
        for (int32_t x = 0; x < image.Width; ++x) {
            uint32_t pixel;
            if (bitCount == 16) {
                pixel = uint32_t(in[x * 2] | (in[x * 2 + 1] << 8));
            } else {
                const uint8_t* p = in + size_t(x) * 4;
                pixel = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
            }
            out[x * 4 + 0] = blue.Expand(pixel);
            out[x * 4 + 1] = green.Expand(pixel);
            out[x * 4 + 2] = red.Expand(pixel);
            out[x * 4 + 3] = alpha.Expand(pixel);
        }
    }
}

TBmpResult DecodePixels(const Reader& in, const Layout& layout, size_t bitsOffset, TBmpImage& image) {
    const Header& h = layout.H;
    if (bitsOffset < layout.PaletteEnd || bitsOffset > in.Size()) return TBmpResult::BadOffset;

    TBmpImage out;
    out.Width = int32_t(h.Width);
    out.Height = int32_t(h.Height < 0 ? -h.Height : h.Height);
    const bool topDown = h.Height < 0;
    out.BitCount = layout.DecodedBitCount;
    out.Rgb565 = layout.Rgb565;
    const bool rle = h.Compression == BI_RLE8_ || h.Compression == BI_RLE4_;
    const size_t sourceStride = TBmpImage::BmpStride(out.Width, int(h.BitCount));
    // Uncompressed pixels must all be there before anything is allocated for them.
    if (!rle && !in.Has(bitsOffset, sourceStride * size_t(out.Height))) return TBmpResult::Truncated;

    if (out.BitCount <= 8) {
        out.Palette.assign(size_t(1) << out.BitCount, TBmpColor{});
        for (size_t i = 0; i < layout.PaletteEntries; ++i) {
            const uint8_t* e = in.At(layout.PaletteOffset + i * layout.EntrySize);
            out.Palette[i] = TBmpColor{e[0], e[1], e[2], 0};
        }
    }
    out.Bits.assign(out.Stride() * size_t(out.Height), 0);

    if (rle) {
        size_t available = in.Size() - bitsOffset;
        if (h.SizeImage > 0) available = std::min<size_t>(available, h.SizeImage);
        const TBmpResult result =
            DecodeRle(std::span<const uint8_t>(in.At(bitsOffset), available), h.Compression == BI_RLE4_, out);
        if (result != TBmpResult::Ok) return result;
    } else {
        const uint8_t* source = in.At(bitsOffset);
        if (layout.Convert) {
            ConvertBitfields(source, sourceStride, int(h.BitCount), h.Masks, topDown, out);
        } else {
            for (int32_t row = 0; row < out.Height; ++row) {
                const int32_t sourceRow = topDown ? out.Height - 1 - row : row;
                std::memcpy(out.Bits.data() + size_t(row) * sourceStride, source + size_t(sourceRow) * sourceStride,
                            sourceStride);
            }
        }
    }
    image = std::move(out);
    return TBmpResult::Ok;
}

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// Reads the file header and the DIB headers after it.
TBmpResult ReadFileLayout(const Reader& in, Layout& layout) {
    if (!in.Has(0, kFileHeaderSize)) return TBmpResult::Truncated;
    if (in.U16(0) != kFileSignature) return TBmpResult::BadSignature;
    return ReadLayout(in, kFileHeaderSize, layout);
}

}  // namespace

TBmpResult DecodeBmpFile(std::span<const uint8_t> data, TBmpImage& image) {
    image = TBmpImage{};
    const Reader in(data);
    Layout layout;
    if (const TBmpResult result = ReadFileLayout(in, layout); result != TBmpResult::Ok) return result;
    // A zero offset means the pixels follow the colour table.
    const uint32_t bitsOffset = in.U32(10);
    return DecodePixels(in, layout, bitsOffset == 0 ? layout.PaletteEnd : bitsOffset, image);
}

TBmpResult ReadBmpFileInfo(std::span<const uint8_t> data, TBmpInfo& info) {
    info = TBmpInfo{};
    const Reader in(data);
    Layout layout;
    if (const TBmpResult result = ReadFileLayout(in, layout); result != TBmpResult::Ok) return result;
    info.Width = int32_t(layout.H.Width);
    info.Height = int32_t(layout.H.Height < 0 ? -layout.H.Height : layout.H.Height);
    info.BitCount = layout.DecodedBitCount;
    return TBmpResult::Ok;
}

TBmpResult DecodePackedDib(std::span<const uint8_t> data, TBmpImage& image) {
    image = TBmpImage{};
    const Reader in(data);
    Layout layout;
    if (const TBmpResult result = ReadLayout(in, 0, layout); result != TBmpResult::Ok) return result;
    return DecodePixels(in, layout, layout.PaletteEnd, image);
}

std::vector<uint8_t> EncodeBmpFile(const TBmpImage& image) {
    std::vector<uint8_t> out;
    if (image.Empty()) return out;
    const bool masks = image.BitCount == 16 && image.Rgb565;
    const size_t paletteBytes = image.BitCount <= 8 ? (size_t(1) << image.BitCount) * 4 : 0;
    const size_t bitsOffset = kFileHeaderSize + kInfoHeaderSize + (masks ? 12 : 0) + paletteBytes;
    const size_t bitsSize = image.Stride() * size_t(image.Height);
    out.reserve(bitsOffset + bitsSize);
    PutU16(out, kFileSignature);
    PutU32(out, uint32_t(bitsOffset + bitsSize));
    PutU32(out, 0);
    PutU32(out, uint32_t(bitsOffset));
    PutU32(out, kInfoHeaderSize);
    PutU32(out, uint32_t(image.Width));
    PutU32(out, uint32_t(image.Height));
    PutU16(out, 1);
    PutU16(out, uint32_t(image.BitCount));
    PutU32(out, masks ? BI_BITFIELDS_ : BI_RGB_);
    PutU32(out, uint32_t(bitsSize));
    constexpr uint32_t kPixelsPerMetre96Dpi = 3780;
    PutU32(out, kPixelsPerMetre96Dpi);
    PutU32(out, kPixelsPerMetre96Dpi);
    PutU32(out, 0);
    PutU32(out, 0);
    if (masks) {
        PutU32(out, k565Red);
        PutU32(out, k565Green);
        PutU32(out, k565Blue);
    }
    if (paletteBytes) {
        for (size_t i = 0; i < paletteBytes / 4; ++i) {
            const TBmpColor c = i < image.Palette.size() ? image.Palette[i] : TBmpColor{};
            out.insert(out.end(), {c.Blue, c.Green, c.Red, 0});
        }
    }
    const size_t have = std::min(bitsSize, image.Bits.size());
    out.insert(out.end(), image.Bits.begin(), image.Bits.begin() + std::ptrdiff_t(have));
    out.resize(bitsOffset + bitsSize, 0);
    return out;
}
