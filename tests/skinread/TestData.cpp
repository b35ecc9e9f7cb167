#include "TestData.h"

#include <algorithm>
#include <random>

#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"

std::vector<uint8_t> MakeData(TDataKind kind, size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> data(size);
    switch (kind) {
    case TDataKind::Repetitive: {
        static constexpr std::string_view pattern = "[Frame]\r\nLeft=frameleft.bmp\r\n";
        for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(pattern[i % pattern.size()]);
        break;
    }
    case TDataKind::TextLike: {
        static constexpr std::string_view words[] = {"frame",   "left", "button", "colour", "=", "bmp", "\r\n",
                                                     "caption", "top",  "Tile",   "1",      "0", "255", "[Title]"};
        std::string text;
        while (text.size() < size) {
            text += words[random() % std::size(words)];
            text += random() % 3 ? " " : "";
        }
        std::copy_n(text.begin(), size, data.begin());
        break;
    }
    case TDataKind::Incompressible:
        for (auto& byte : data) byte = static_cast<uint8_t>(random());
        break;
    }
    return data;
}

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Expand(const std::vector<uint8_t>& stream, int64_t textSize, size_t* consumed) {
    std::vector<uint8_t> out;
    size_t pos = 0;
    TLZH lzh;
    lzh.ExpandStream(
        textSize,
        [&](void* buffer, int32_t count, int32_t& actual) {
            actual = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(count), stream.size() - pos));
            std::copy_n(stream.data() + pos, actual, static_cast<uint8_t*>(buffer));
            pos += static_cast<size_t>(actual);
        },
        [&](const void* buffer, int32_t count, int32_t& actual) {
            const auto* bytes = static_cast<const uint8_t*>(buffer);
            out.insert(out.end(), bytes, bytes + count);
            actual = count;
        });
    if (consumed) *consumed = pos - static_cast<size_t>(lzh.UnusedInput());
    return out;
}

void Fill(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
    stream.Clear();
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
}

std::vector<uint8_t> Contents(TMemoryStream& stream) { return {stream.Memory(), stream.Memory() + stream.Size()}; }

std::vector<uint8_t> PackageOf(const std::vector<uint8_t>& archive) { return LzhCompressFramed(archive); }
