// TLZH: the LZHUF decoder.
#include "skin/data/Lzh.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "framework/rtl/Streams.h"
#include "skin/data/LittleEndian.h"

using namespace lzh;

namespace {

// The bit buffer is a machine word: bits are taken from its top, most
// significant first, and whole input bytes are loaded below the valid ones.
using TBitWord = std::uintptr_t;
constexpr int WordBits = static_cast<int>(sizeof(TBitWord)) * 8;
constexpr int WordBytes = static_cast<int>(sizeof(TBitWord));
constexpr int ByteBits = 8;

// Longest bit string one position takes: the 8-bit table index, up to six
// more table bits (DLen - 2) and nothing else (the six raw bits are the
// index's tail).
constexpr int PositionIndexBits = 8;
constexpr int MaxPositionBits = PositionIndexBits + 8 - 2;
// Refilling before a symbol once fewer bits than this are left is enough for
// the tree walk of almost every symbol; the walk refills by itself otherwise.
constexpr int SymbolRefillBits = WordBits / 2;
static_assert(SymbolRefillBits >= TLzhTree::PrefixBits, "the prefix table's bits are there without a refill");

// Matches are copied in chunks of this many bytes when they start at least
// that far back, so a chunk never reads bytes the same chunk writes.
constexpr int CopyChunk = 8;

TBitWord LoadBigEndian(const uint8_t* bytes) {
    TBitWord word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little) {
        if constexpr (sizeof(TBitWord) == 8) {
            word = static_cast<TBitWord>(__builtin_bswap64(static_cast<uint64_t>(word)));
        } else {
            word = static_cast<TBitWord>(__builtin_bswap32(static_cast<uint32_t>(word)));
        }
    }
    return word;
}

}  // namespace

// Everything the decoder allocates per run: the output block preceded by the
// window (so matches copy from plain memory, never wrapping), the input
// block and the tree.
struct TLZH::TTables {
    // [0, N): the last N bytes before the block; then the block, with room for
    // the last match to run F - 1 bytes past it and for a chunk's overshoot.
    std::array<uint8_t, N + TLZH::OutputBlockSize + F + CopyChunk> Output;
    std::array<uint8_t, TLZH::InputBlockSize> Input;
    TLzhTree Tree;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

TLZH::TInputSpan TLZH::RefillInput(const uint8_t* next, const uint8_t* end) {
    uint8_t* const block = FTables->Input.data();
    const auto kept = static_cast<int32_t>(end - next);
    FInputTaken += next - block;
    std::memmove(block, next, static_cast<size_t>(kept));
    int32_t filled = kept;
    while (!FInputEnded && filled < InputBlockSize) {
        const int32_t wanted = InputBlockSize - filled;
        int32_t actual = 0;
        (*FReadBytes)(block + filled, wanted, actual);
        if (actual <= 0) {
            FInputEnded = true;
        } else {
            actual = std::min(actual, wanted);
            filled += actual;
            FInputDelivered += actual;
        }
    }
    if (FInputEnded) {
        // Input ending early reads as zero bits.
        std::fill(block + filled, block + InputBlockSize, uint8_t{0});
        filled = InputBlockSize;
    }
    return {block, block + filled};
}

void TLZH::WriteBlock(const uint8_t* data, int32_t count) {
    int32_t actual = 0;
    (*FWriteBytes)(data, count, actual);
    if (actual != count) throw ElzhException(std::string(LzhWriteFailedMessage));
}

void TLZH::ExpandStream(int64_t textSize, const TReadBytes& readBytes, const TWriteBytes& writeBytes) {
    FUnusedInput = 0;
    if (textSize <= 0) return;

    FTables.reset(new (std::nothrow) TTables);
    if (!FTables) throw ElzhException(std::string(LzhNoMemoryMessage));
    struct TTablesRelease {
        TLZH& owner;
        ~TTablesRelease() {
            owner.FTables.reset();
            owner.FReadBytes = nullptr;
            owner.FWriteBytes = nullptr;
        }
    } release{*this};

    FReadBytes = &readBytes;
    FWriteBytes = &writeBytes;
    FInputEnded = false;
    FInputDelivered = 0;
    FInputTaken = 0;

    TLzhTree& tree = FTables->Tree;
    tree.Start();

    // The window before the first byte: ring positions N - F .. N - 1 (never
    // written, so zero) and then 0 .. N - F - 1 (spaces), oldest first.
    uint8_t* const window = FTables->Output.data();
    uint8_t* const blockStart = window + N;
    std::fill(window, window + F, uint8_t{0});
    std::fill(window + F, blockStart, InitialFill);

    // Bit input: bits holds count valid bits at its top. Input bytes are
    // fetched a word at a time from the input block, whose bounds are checked
    // once per refill.
    const uint8_t* next = FTables->Input.data();
    const uint8_t* end = next;
    TBitWord bits = 0;
    int count = 0;
    const auto refill = [&] {
        if (end - next < WordBytes) {
            const TInputSpan span = RefillInput(next, end);
            next = span.Next;
            end = span.End;
        }
        bits |= LoadBigEndian(next) >> count;
        const int bytes = (WordBits - 1 - count) / ByteBits;
        next += bytes;
        count += bytes * ByteBits;
    };

    // The nodes from the root to a leaf: a path holds at most every inner
    // node (N_CHAR - 1 of them) and the leaf.
    std::array<int, N_CHAR> path;
    path[0] = R;

    uint8_t* out = blockStart;
    int64_t left = textSize;
    while (left > 0) {
        uint8_t* const limit = blockStart + std::min<int64_t>(left, OutputBlockSize);
        while (out < limit) {
            if (count < SymbolRefillBits) refill();
            // Down the tree: the top levels in one step through the prefix
            // table, then one bit a level, noting the path for the update.
            if (!tree.PrefixValid) tree.BuildPrefix();
            const TLzhTree::TPrefixEntry& prefix = tree.Prefix[bits >> (WordBits - TLzhTree::PrefixBits)];
            std::copy(prefix.Path.begin(), prefix.Path.end(), path.begin() + 1);
            int depth = prefix.Bits;
            bits <<= depth;
            count -= depth;
            int node = tree.Son[prefix.Node];
            while (node < T) {
                if (count == 0) refill();
                const int child = node + static_cast<int>(bits >> (WordBits - 1));
                path[++depth] = child;
                node = tree.Son[child];
                bits <<= 1;
                --count;
            }
            const int symbol = node - T;
            tree.UpdateAlong(path.data(), depth, symbol);

            if (symbol < FirstMatchSymbol) {
                *out++ = static_cast<uint8_t>(symbol);
                continue;
            }
            // Position: the table index is the next 8 bits; DLen says how many
            // bits the table code really takes, and the six bits after it are
            // the low position bits.
            if (count < MaxPositionBits) refill();
            const auto index = static_cast<unsigned>(bits >> (WordBits - PositionIndexBits));
            const int codeBits = PositionTables.DLen[index] + LowPositionBits;
            const auto lowBits = static_cast<unsigned>(bits >> (WordBits - codeBits)) & ((1u << LowPositionBits) - 1);
            bits <<= codeBits;
            count -= codeBits;
            const int distance = static_cast<int>((PositionTables.DCode[index] << LowPositionBits) | lowBits) + 1;
            const int length = symbol - (FirstMatchSymbol - 1 - THRESHOLD);

            const uint8_t* from = out - distance;
            if (distance >= CopyChunk) {
                for (int k = 0; k < length; k += CopyChunk) std::memcpy(out + k, from + k, CopyChunk);
            } else {
                // An overlapping match re-reads what it just wrote.
                for (int k = 0; k < length; ++k) out[k] = from[k];
            }
            out += length;
        }
        const auto produced = static_cast<int32_t>(out - blockStart);
        WriteBlock(blockStart, produced);
        left -= produced;
        std::memmove(window, out - N, N);
        out = blockStart;
    }

    // Bytes fetched beyond the last one whose bits were used.
    const int64_t taken = FInputTaken + (next - FTables->Input.data());
    const int64_t usedBytes = (taken * ByteBits - count + ByteBits - 1) / ByteBits;
    FUnusedInput = std::max<int64_t>(0, FInputDelivered - usedBytes);
}

void TLZH::StreamReadBytes(void* buffer, int32_t count, int32_t& actual) {
    const int64_t left = std::max<int64_t>(0, FInStream->Size() - FInStream->Position());
    actual = static_cast<int32_t>(std::min<int64_t>(std::max(count, 0), left));
    if (actual > 0) actual = FInStream->Read(buffer, actual);
}

void TLZH::StreamWriteBytes(const void* buffer, int32_t count, int32_t& actual) {
    actual = FOutStream->Write(buffer, count);
}

void TLZH::ExpandStreams(int64_t textSize) {
    const TReadBytes read = [this](void* buffer, int32_t count, int32_t& actual) {
        StreamReadBytes(buffer, count, actual);
    };
    const TWriteBytes write = [this](const void* buffer, int32_t count, int32_t& actual) {
        StreamWriteBytes(buffer, count, actual);
    };
    ExpandStream(textSize, read, write);
    if (FUnusedInput > 0) FInStream->Seek(-FUnusedInput, TSeekOrigin::soCurrent);
}

bool LzhExpandFramed(const uint8_t* data, size_t size, std::vector<uint8_t>& output, uint64_t maxUnpacked) {
    output.clear();
    constexpr size_t frameHeader = LE32Bytes;
    if (size < frameHeader) return false;
    const uint64_t unpacked = ReadLE32(data);
    if (unpacked > maxUnpacked || !LzhSizePlausible(unpacked, size - frameHeader)) return false;

    output.reserve(static_cast<size_t>(unpacked) + F);
    size_t readPos = frameHeader;
    TLZH lzh;
    lzh.ExpandStream(
        static_cast<int64_t>(unpacked),
        [&](void* buffer, int32_t count, int32_t& actual) {
            actual = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(std::max(count, 0)), size - readPos));
            std::copy_n(data + readPos, actual, static_cast<uint8_t*>(buffer));
            readPos += static_cast<size_t>(actual);
        },
        [&](const void* buffer, int32_t count, int32_t& actual) {
            const auto* bytes = static_cast<const uint8_t*>(buffer);
            output.insert(output.end(), bytes, bytes + count);
            actual = count;
        });
    // The last match may run past the stated size; the frame says how much is data.
    output.resize(static_cast<size_t>(unpacked));
    return true;
}
