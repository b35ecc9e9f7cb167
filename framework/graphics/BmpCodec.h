// BMP codec: decodes every Windows and OS/2 bitmap file variant into one DIB layout and writes it
// back. Portable (no Win32), so it is also fuzzed on the host. Hostile input is rejected with a
// reason and never read past its end nor decoded into an unbounded allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// One colour-table entry in the RGBQUAD byte order.
struct TBmpColor {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;
    friend bool operator==(const TBmpColor&, const TBmpColor&) = default;
};

// A decoded image in uncompressed DIB layout: rows bottom-up, each padded to 4 bytes.
// 1/4/8 bits: indices into Palette (always 2^BitCount entries); 16 bits: 5-5-5, or 5-6-5 when Rgb565;
// 24 bits: blue, green, red; 32 bits: blue, green, red, alpha/reserved.
struct TBmpImage {
    int32_t Width = 0;
    int32_t Height = 0;
    int BitCount = 0;
    bool Rgb565 = false;
    std::vector<TBmpColor> Palette;
    std::vector<uint8_t> Bits;

    [[nodiscard]] bool Empty() const { return Width <= 0 || Height <= 0; }
    [[nodiscard]] size_t Stride() const { return BmpStride(Width, BitCount); }
    static size_t BmpStride(int32_t width, int bitCount) { return ((size_t(width) * size_t(bitCount) + 31) / 32) * 4; }
};

// Why a BMP could not be decoded (Ok when it could).
enum class TBmpResult {
    Ok,
    Truncated,     // the data ends before the header, colour table or pixels it declares
    BadSignature,  // a file that does not start with "BM"
    BadHeader,     // impossible header values (size, zero or negative width, zero height)
    Unsupported,   // a compression or bit count this codec does not handle (JPEG, PNG, Huffman, ...)
    TooLarge,      // dimensions or pixel data above the codec's limits
    BadPalette,    // more colour entries than the bit count allows
    BadOffset,     // a pixel offset inside the headers or past the end of the data
    BadRle,        // run-length data that runs past a row or the bitmap
};

// Limits of decoded images: at most this many pixels on a side and bytes of pixel data (of the
// decoded format, which can be wider than the stored one).
constexpr int32_t kMaxBmpDimension = 32768;
constexpr uint64_t kMaxBmpBits = 64u * 1024u * 1024u;

// What a BMP file's headers say about the image it decodes to.
struct TBmpInfo {
    int32_t Width = 0;
    int32_t Height = 0;
    int BitCount = 0;  // of the decoded image: bit fields with unusual masks widen to 32
    [[nodiscard]] uint64_t DecodedBytes() const {
        return uint64_t(TBmpImage::BmpStride(Width, BitCount)) * uint64_t(Height);
    }
};

// Reads a BMP file's headers without touching its pixels: Ok when DecodeBmpFile gets past them,
// so a caller can refuse an image by its decoded size before anything is allocated for it.
TBmpResult ReadBmpFileInfo(std::span<const uint8_t> data, TBmpInfo& info);

// Decodes a BMP file (BITMAPFILEHEADER first). On any failure image is left empty.
TBmpResult DecodeBmpFile(std::span<const uint8_t> data, TBmpImage& image);

// Decodes a packed DIB (header, masks, colour table and pixels; the layout of RT_BITMAP resources).
TBmpResult DecodePackedDib(std::span<const uint8_t> data, TBmpImage& image);

// Writes an uncompressed bottom-up BMP file with a BITMAPINFOHEADER (5-6-5 as bit fields).
std::vector<uint8_t> EncodeBmpFile(const TBmpImage& image);
