// The BMP codec under libFuzzer: any input is decoded without reading past it or allocating without
// limit; a decoded image is consistent and survives an encode/decode round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/graphics/BmpCodec.h"

namespace {

// Images whose headers ask for more than this many bytes of pixels are checked by their headers
// only: decoding one (up to 64 MB from a few bytes of run-length data) makes a run a thousand times
// slower without reaching code that smaller images do not (the unit tests decode them at the limit).
constexpr uint64_t kDecodeMaxBytes = 4u * 1024u * 1024u;
constexpr size_t kFileHeaderSize = 14;

// The decoded size the headers state: of the file, or of the packed DIB behind a file header.
TBmpResult HeaderInfo(std::span<const uint8_t> input, bool packed, TBmpInfo& info) {
    if (!packed) return ReadBmpFileInfo(input, info);
    std::vector<uint8_t> file(kFileHeaderSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    file.insert(file.end(), input.begin(), input.end());
    return ReadBmpFileInfo(file, info);
}

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckImage(const TBmpImage& image) {
    Check(image.Width > 0 && image.Height > 0);
    Check(image.Width <= kMaxBmpDimension && image.Height <= kMaxBmpDimension);
    Check(image.Bits.size() == image.Stride() * size_t(image.Height));
    Check(image.Bits.size() <= kMaxBmpBits);
    if (image.BitCount <= 8)
        Check(image.Palette.size() == (size_t(1) << image.BitCount));
    else
        Check(image.Palette.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    for (bool packed : {false, true}) {
        TBmpInfo info;
        const TBmpResult headers = HeaderInfo(input, packed, info);
        if (headers == TBmpResult::Ok && info.DecodedBytes() > kDecodeMaxBytes) continue;
        TBmpImage image;
        const TBmpResult result = packed ? DecodePackedDib(input, image) : DecodeBmpFile(input, image);
        // The headers alone say what decoding gives, or why it fails before the pixels.
        if (headers != TBmpResult::Ok) Check(result == headers);
        if (result == TBmpResult::Ok)
            Check(headers == TBmpResult::Ok && info.Width == image.Width && info.Height == image.Height &&
                  info.BitCount == image.BitCount && info.DecodedBytes() == image.Bits.size());
        if (result != TBmpResult::Ok) {
            Check(image.Empty() && image.Bits.empty());
            continue;
        }
        CheckImage(image);
        TBmpImage again;
        Check(DecodeBmpFile(EncodeBmpFile(image), again) == TBmpResult::Ok);
        Check(again.Width == image.Width && again.Height == image.Height && again.BitCount == image.BitCount);
        Check(again.Rgb565 == image.Rgb565 && again.Palette == image.Palette && again.Bits == image.Bits);
    }
    return 0;
}
