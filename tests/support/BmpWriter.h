// A minimal BMP writer of the tests, independent of the codec under test: it lays out the headers,
// masks, colour table and pixel bytes exactly as given, so fixtures of every variant (and hostile
// ones) can be built byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace bmptest {

using Rgb = std::array<uint8_t, 3>;  // red, green, blue

struct BmpLayout {
    uint32_t HeaderSize = 40;  // 12 (OS/2 1.x), 16..64 (OS/2 2.x), 40, 52, 56, 108, 124
    int32_t Width = 0;
    int32_t Height = 0;  // negative: top-down rows
    uint16_t BitCount = 24;
    uint32_t Compression = 0;
    uint32_t ColorsUsed = 0;
    std::vector<uint32_t> Masks;  // after a 40-byte header, or inside bigger headers
    std::vector<Rgb> Palette;     // RGBQUAD entries, RGBTRIPLE for the 12-byte header
    std::vector<uint8_t> Pixels;  // the pixel bytes as stored
    std::optional<uint32_t> BitsOffset;
    uint32_t SizeImage = 0;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline std::vector<uint8_t> WriteBmp(const BmpLayout& layout) {
    std::vector<uint8_t> dib;
    Put32(dib, layout.HeaderSize);
    if (layout.HeaderSize == 12) {
        Put16(dib, uint32_t(layout.Width));
        Put16(dib, uint32_t(layout.Height));
        Put16(dib, 1);
        Put16(dib, layout.BitCount);
    } else {
        Put32(dib, uint32_t(layout.Width));
        Put32(dib, uint32_t(layout.Height));
        Put16(dib, 1);
        Put16(dib, layout.BitCount);
        std::vector<uint8_t> rest;
        Put32(rest, layout.Compression);
        Put32(rest, layout.SizeImage);
        Put32(rest, 2835);
        Put32(rest, 2835);
        Put32(rest, layout.ColorsUsed);
        Put32(rest, 0);
        const bool masksInside = layout.HeaderSize >= 52;
        for (size_t i = 0; masksInside && i < 4; ++i) Put32(rest, i < layout.Masks.size() ? layout.Masks[i] : 0);
        if (layout.HeaderSize >= 16) rest.resize(layout.HeaderSize - 16, 0);
        dib.insert(dib.end(), rest.begin(), rest.end());
        if (!masksInside)
            for (uint32_t mask : layout.Masks) Put32(dib, mask);
    }
    for (const Rgb& c : layout.Palette) {
        dib.insert(dib.end(), {c[2], c[1], c[0]});
        if (layout.HeaderSize != 12) dib.push_back(0);
    }
    std::vector<uint8_t> file;
    const uint32_t offset = layout.BitsOffset.value_or(uint32_t(14 + dib.size()));
    file.push_back('B');
    file.push_back('M');
    Put32(file, uint32_t(14 + dib.size() + layout.Pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), layout.Pixels.begin(), layout.Pixels.end());
    return file;
}

// Packs rows given top-down, one value per pixel, into stored rows (bottom-up unless topDown),
// each padded to 4 bytes. Values are indices (1/4/8 bits) or little-endian pixels (16/24/32 bits).
inline std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount, bool topDown) {
    std::vector<uint8_t> out;
    const size_t count = rows.size();
    for (size_t r = 0; r < count; ++r) {
        const auto& row = rows[topDown ? r : count - 1 - r];
        std::vector<uint8_t> bytes;
        if (bitCount < 8) {
            bytes.assign((row.size() * size_t(bitCount) + 7) / 8, 0);
            for (size_t x = 0; x < row.size(); ++x) {
                const size_t bit = x * size_t(bitCount);
                bytes[bit / 8] |= uint8_t(row[x] << (8 - bitCount - bit % 8));
            }
        } else {
            for (uint32_t v : row)
                for (int b = 0; b < bitCount / 8; ++b) bytes.push_back(uint8_t(v >> (8 * b)));
        }
        while (bytes.size() % 4) bytes.push_back(0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

}  // namespace bmptest
