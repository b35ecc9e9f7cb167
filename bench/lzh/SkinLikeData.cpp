#include "SkinLikeData.h"

#include <algorithm>
#include <random>
#include <string>

#include "skin/data/SkinArchive.h"

namespace {

constexpr int BmpFileHeaderSize = 14;
constexpr int BmpInfoHeaderSize = 40;
constexpr int BytesPerPixel = 3;
constexpr uint32_t Magenta = 0xFF00FF;

enum class TStyle { Gradient, Button, Texture };

uint32_t Blend(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / std::max(den, 1)) << shift;
    }
    return out;
}

std::vector<uint8_t> MakeBitmap(int width, int height, TStyle style, std::mt19937& random) {
    const int stride = (width * BytesPerPixel + 3) & ~3;
    const int pixelBytes = stride * height;
    std::vector<uint8_t> bmp(BmpFileHeaderSize + BmpInfoHeaderSize + pixelBytes, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    WriteLE32(&bmp[2], static_cast<uint32_t>(bmp.size()));
    WriteLE32(&bmp[10], BmpFileHeaderSize + BmpInfoHeaderSize);
    WriteLE32(&bmp[14], BmpInfoHeaderSize);
    WriteLE32(&bmp[18], static_cast<uint32_t>(width));
    WriteLE32(&bmp[22], static_cast<uint32_t>(height));
    bmp[26] = 1;                  // planes
    bmp[28] = BytesPerPixel * 8;  // bits per pixel
    WriteLE32(&bmp[34], static_cast<uint32_t>(pixelBytes));

    const uint32_t top = random() & 0xFFFFFF, bottom = random() & 0xFFFFFF;
    const int corner = std::min(width, height) / 6;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &bmp[BmpFileHeaderSize + BmpInfoHeaderSize + y * stride];
        for (int x = 0; x < width; ++x) {
            uint32_t colour = Blend(top, bottom, y, height - 1);
            switch (style) {
            case TStyle::Gradient:  // dithered, as saved by paint programs
                if (random() % 3 == 0) colour ^= 0x010101 * (random() % 4);
                break;
            case TStyle::Button: {
                const int cellX = x % std::max(width / 4, 1);  // four state frames side by side
                const bool edge = cellX == 0 || y == 0 || y == height - 1;
                const bool cornerCut = (cellX < corner && (y < corner - cellX || y >= height - corner + cellX));
                if (cornerCut)
                    colour = Magenta;
                else if (edge)
                    colour = 0x404040;
                else if (random() % 4 == 0)
                    colour ^= 0x010101 * (random() % 4);
                break;
            }
            case TStyle::Texture: colour = Blend(colour, random() % 4 == 0 ? 0xFFFFFF : 0x000000, 1, 16); break;
            }
            row[x * 3] = static_cast<uint8_t>(colour);
            row[x * 3 + 1] = static_cast<uint8_t>(colour >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(colour >> 16);
        }
    }
    return bmp;
}

std::string MakeIni(std::mt19937& random, int bitmaps) {
    std::string ini = "[Form]\r\n";
    static const char* const keys[] = {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight",
                                       "Frame",     "Tile",      "Trans"};
    for (int i = 0; i < bitmaps; ++i) {
        ini += "\r\n[Element" + std::to_string(i) + "]\r\nBitmap=bitmap" + std::to_string(i) + ".bmp\r\n";
        for (const char* key : keys) ini += std::string(key) + "=" + std::to_string(random() % 12) + "\r\n";
        ini += "NormalColour=" + std::to_string(random() & 0xFFFFFF) + "\r\n";
    }
    return ini;
}

}  // namespace

std::vector<TSkinPackageFile> MakeSkinLikeFiles(size_t targetBytes, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<TSkinPackageFile> files;
    std::vector<TSkinPackageFile> bitmaps;
    size_t total = 0;
    for (int i = 0; total < targetBytes; ++i) {
        const auto style = static_cast<TStyle>(i % 3);
        const int width =
            style == TStyle::Button ? 4 * (20 + static_cast<int>(random() % 40)) : 8 + static_cast<int>(random() % 120);
        const int height = 8 + static_cast<int>(random() % 40);
        bitmaps.push_back({"bitmap" + std::to_string(i) + ".bmp", MakeBitmap(width, height, style, random)});
        total += bitmaps.back().Data.size();
    }
    const std::string ini = MakeIni(random, static_cast<int>(bitmaps.size()));
    files.push_back({"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    files.insert(files.end(), bitmaps.begin(), bitmaps.end());
    return files;
}
