#include "bmp_reader.h"

#include <fstream>
#include <iterator>

namespace {
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitsPerPixel = 24;

uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
uint32_t Get16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}
}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<Image> DecodeBmp24(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    if (Get32(bytes, 2) != bytes.size() || Get32(bytes, 14) != kInfoHeaderSize) return std::nullopt;
    const uint32_t offset = Get32(bytes, 10);
    const int32_t width = static_cast<int32_t>(Get32(bytes, 18));
    const int32_t height = static_cast<int32_t>(Get32(bytes, 22));
    if (Get16(bytes, 26) != 1 || Get16(bytes, 28) != kBitsPerPixel || Get32(bytes, 30) != 0) return std::nullopt;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return std::nullopt;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (offset < kFileHeaderSize + kInfoHeaderSize || offset + stride * static_cast<size_t>(height) != bytes.size())
        return std::nullopt;
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t at = row + static_cast<size_t>(x) * 3;
            image.Set(x, y, Rgb{bytes[at + 2], bytes[at + 1], bytes[at]});
        }
    }
    return image;
}
