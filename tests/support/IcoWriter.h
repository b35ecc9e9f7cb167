// A minimal .ico writer of the tests, independent of the icon code under test: an .ico file from
// DIB images, and images of one solid colour each (32-bit, opaque), so that the image a size was
// made from shows in its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BmpWriter.h"

namespace icotest {

struct SolidImage {
    int Size = 0;  // width and height, 1 to 256
    COLORREF Colour = 0;
};

// One image of an .ico file: its DIB bytes and what the directory says of it.
struct IconEntry {
    int Size = 0;
    int BitCount = 0;
    std::vector<uint8_t> Image;
};

// An .ico file of the images, in the order given.
inline std::vector<uint8_t> IcoFileOf(const std::vector<IconEntry>& entries) {
    constexpr uint32_t kIconType = 1;
    constexpr size_t kDirectorySize = 6;
    constexpr size_t kEntrySize = 16;
    std::vector<uint8_t> file;
    bmptest::Put16(file, 0);
    bmptest::Put16(file, kIconType);
    bmptest::Put16(file, uint32_t(entries.size()));
    size_t offset = kDirectorySize + kEntrySize * entries.size();
    for (const IconEntry& entry : entries) {
        const auto side = uint8_t(entry.Size == 256 ? 0 : entry.Size);
        file.insert(file.end(), {side, side, 0, 0});
        bmptest::Put16(file, 1);
        bmptest::Put16(file, uint32_t(entry.BitCount));
        bmptest::Put32(file, uint32_t(entry.Image.size()));
        bmptest::Put32(file, uint32_t(offset));
        offset += entry.Image.size();
    }
    for (const IconEntry& entry : entries) file.insert(file.end(), entry.Image.begin(), entry.Image.end());
    return file;
}

// One DIB image of an icon: header (height doubled for the mask), BGRA pixels, an all-opaque mask.
inline std::vector<uint8_t> SolidIconImage(const SolidImage& layout) {
    constexpr uint32_t kHeaderSize = 40;
    constexpr uint32_t kBitCount = 32;
    constexpr uint8_t kOpaque = 0xFF;
    std::vector<uint8_t> image;
    bmptest::Put32(image, kHeaderSize);
    bmptest::Put32(image, uint32_t(layout.Size));
    bmptest::Put32(image, uint32_t(layout.Size * 2));
    bmptest::Put16(image, 1);
    bmptest::Put16(image, kBitCount);
    for (int i = 0; i < 6; ++i) bmptest::Put32(image, 0);
    for (int i = 0; i < layout.Size * layout.Size; ++i)
        image.insert(image.end(),
                     {GetBValue(layout.Colour), GetGValue(layout.Colour), GetRValue(layout.Colour), kOpaque});
    const size_t maskStride = (size_t(layout.Size) + 31) / 32 * 4;
    image.insert(image.end(), maskStride * size_t(layout.Size), 0);
    return image;
}

// An .ico file of solid 32-bit images, in the order given.
inline std::vector<uint8_t> SolidIcoFile(const std::vector<SolidImage>& layouts) {
    std::vector<IconEntry> entries;
    for (const SolidImage& layout : layouts) entries.push_back({layout.Size, 32, SolidIconImage(layout)});
    return IcoFileOf(entries);
}

// Bytes as the hexadecimal digits of a text form's binary value.
inline std::string HexDigits(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

}  // namespace icotest
