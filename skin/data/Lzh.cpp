// TLZH: the LZHUF decoder.
#include "skin/data/Lzh.h"

#include <algorithm>
#include <new>

#include "framework/rtl/Streams.h"
#include "skin/data/LittleEndian.h"

using namespace lzh;

namespace {

constexpr int ByteBits = 8;
constexpr int BitBufferBits = 16;  // the bit buffer is unsigned 16-bit
constexpr int TopBitShift = BitBufferBits - 1;
constexpr int TopByteShift = BitBufferBits - ByteBits;

}  // namespace

// Everything the decoder allocates per run: the ring buffer and the tree.
struct TLZH::TTables {
    std::array<uint8_t, TextBufSize> TextBuf{};
    TLzhTree Tree;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::FillBitBuffer() {
    while (FBitCount <= ByteBits) {
        uint8_t byte = 0;
        int32_t actual = 0;
        (*FReadBytes)(&byte, 1, actual);
        if (actual != 1) byte = 0;  // input ending early reads as zero bits
        FBitBuf = static_cast<uint16_t>(FBitBuf | (byte << (ByteBits - FBitCount)));
        FBitCount = static_cast<uint8_t>(FBitCount + ByteBits);
    }
}

int TLZH::GetBit() {
    FillBitBuffer();
    const int bit = FBitBuf >> TopBitShift;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte() {
    FillBitBuffer();
    const int byte = FBitBuf >> TopByteShift;
    FBitBuf = static_cast<uint16_t>(FBitBuf << ByteBits);
    FBitCount = static_cast<uint8_t>(FBitCount - ByteBits);
    return byte;
}

int TLZH::DecodeChar() {
    TLzhTree& tree = FTables->Tree;
    int node = tree.Root();
    while (node < T) node = tree.Son[node + GetBit()];
    const int symbol = node - T;
    tree.Update(symbol);
    return symbol;
}

int TLZH::DecodePosition() {
    int i = GetByte();
    const int upper = PositionTables.DCode[i];
    const int length = PositionTables.DLen[i];
    for (int extra = length - 2; extra > 0; --extra) i = (i << 1) + GetBit();
    return (upper << LowPositionBits) | (i & ((1 << LowPositionBits) - 1));
}

void TLZH::PutByte(uint8_t Value) {
    int32_t actual = 0;
    (*FWriteBytes)(&Value, 1, actual);
    if (actual != 1) throw ElzhException(std::string(LzhWriteFailedMessage));
}

void TLZH::ExpandStream(int64_t TextSize, const TReadBytes& ReadBytes, const TWriteBytes& WriteBytes) {
    if (TextSize <= 0) return;

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

    FReadBytes = &ReadBytes;
    FWriteBytes = &WriteBytes;
    FBitBuf = 0;
    FBitCount = 0;

    auto& textBuf = FTables->TextBuf;
    std::fill(textBuf.begin(), textBuf.begin() + InitialWritePos, InitialFill);
    FTables->Tree.Start();

    int r = InitialWritePos;
    int64_t count = 0;
    while (count < TextSize) {
        const int symbol = DecodeChar();
        if (symbol < FirstMatchSymbol) {
            const auto byte = static_cast<uint8_t>(symbol);
            PutByte(byte);
            textBuf[r] = byte;
            r = (r + 1) & WindowMask;
            ++count;
        } else {
            const int start = (r - DecodePosition() - 1) & WindowMask;
            const int length = symbol - (FirstMatchSymbol - 1 - THRESHOLD);
            // Byte by byte: an overlapping match re-reads what it just wrote.
            for (int k = 0; k < length; ++k) {
                const uint8_t byte = textBuf[(start + k) & WindowMask];
                PutByte(byte);
                textBuf[r] = byte;
                r = (r + 1) & WindowMask;
                ++count;
            }
        }
    }
}

void TLZH::StreamReadBytes(void* Buffer, int32_t Count, int32_t& Actual) {
    const int64_t left = std::max<int64_t>(0, FInStream->Size() - FInStream->Position());
    Actual = static_cast<int32_t>(std::min<int64_t>(std::max(Count, 0), left));
    if (Actual > 0) Actual = FInStream->Read(Buffer, Actual);
}

void TLZH::StreamWriteBytes(const void* Buffer, int32_t Count, int32_t& Actual) {
    Actual = FOutStream->Write(Buffer, Count);
}

void TLZH::ExpandStreams(int64_t TextSize) {
    const TReadBytes read = [this](void* buffer, int32_t count, int32_t& actual) {
        StreamReadBytes(buffer, count, actual);
    };
    const TWriteBytes write = [this](const void* buffer, int32_t count, int32_t& actual) {
        StreamWriteBytes(buffer, count, actual);
    };
    ExpandStream(TextSize, read, write);
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
