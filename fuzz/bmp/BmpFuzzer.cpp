// The BMP codec under libFuzzer: any input is decoded without reading past it or allocating without
// limit; a decoded image is consistent and survives an encode/decode round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/graphics/BmpCodec.h"

namespace {

// Images up to this many bytes of pixels also make the encode/decode round trip; larger ones (up to
// 64 MB from a few bytes of run-length data) would make each run a hundred times slower without
// testing anything their size changes.
constexpr size_t kRoundTripMaxBytes = 1024 * 1024;

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
        TBmpImage image;
        const TBmpResult result = packed ? DecodePackedDib(input, image) : DecodeBmpFile(input, image);
        if (!packed) {
            // The headers alone say what decoding gives, or why it fails before the pixels.
            TBmpInfo info;
            const TBmpResult headers = ReadBmpFileInfo(input, info);
            if (headers != TBmpResult::Ok) Check(result == headers);
            if (result == TBmpResult::Ok)
                Check(headers == TBmpResult::Ok && info.Width == image.Width && info.Height == image.Height &&
                      info.BitCount == image.BitCount && info.DecodedBytes() == image.Bits.size());
        }
        if (result != TBmpResult::Ok) {
            Check(image.Empty() && image.Bits.empty());
            continue;
        }
        CheckImage(image);
        if (image.Bits.size() > kRoundTripMaxBytes) continue;
        TBmpImage again;
        Check(DecodeBmpFile(EncodeBmpFile(image), again) == TBmpResult::Ok);
        Check(again.Width == image.Width && again.Height == image.Height && again.BitCount == image.BitCount);
        Check(again.Rgb565 == image.Rgb565 && again.Palette == image.Palette && again.Bits == image.Bits);
    }
    return 0;
}
