// Fuzzes the LZH decoder on arbitrary streams and the encoder/decoder pair
// on arbitrary data: no input may crash, hang or read out of bounds, the
// decoder always delivers the stated size, and every encoding decodes back.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/LittleEndian.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"

namespace {

constexpr uint64_t MaxUnpacked = 1u << 16;  // keeps garbage expansion (and so each run) short

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input as a framed stream.
    std::vector<uint8_t> expanded;
    if (LzhExpandFramed(data, size, expanded, MaxUnpacked)) {
        if (expanded.size() != ReadLE32(data)) std::abort();
    }

    // The input as data to pack: it must come back byte for byte.
    const std::vector<uint8_t> framed = LzhCompressFramed({data, size});
    std::vector<uint8_t> roundTrip;
    if (!LzhExpandFramed(framed.data(), framed.size(), roundTrip, size)) std::abort();
    if (roundTrip != std::vector<uint8_t>(data, data + size)) std::abort();
    return 0;
}
