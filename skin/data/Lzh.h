// TLZH: expands an LZHUF-coded stream (the skin package's compression)
// through two byte-transfer callbacks, so any source and sink can be used.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/SysUtils.h"
#include "skin/data/LzhCoding.h"

class TStream;

// Raised when the decoder's tables cannot be had or given back, or when the
// output refuses the expanded bytes.
class ElzhException : public Exception {
public:
    using Exception::Exception;
};

inline constexpr std::string_view LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
// Message for a failure to give the tables back; releasing memory cannot
// fail in this implementation, so it is kept only for callers that match it.
inline constexpr std::string_view LzhFreeMemoryMessage = "LZH : Error freeing memory for dictionary tables";
inline constexpr std::string_view LzhWriteFailedMessage = "LZH : Cannot write the expanded data";

// Upper bound of what an LZHUF stream can expand to: the shortest match
// costs 10 bits (a 1-bit symbol, a 9-bit position) and gives 60 bytes, so
// a byte of input yields at most 48 bytes; the bound keeps some slack.
inline constexpr uint64_t LzhMaxExpansionPerByte = 64;
inline constexpr uint64_t LzhExpansionSlack = 4096;

// True when an unpacked size is within what packedBytes of input can produce.
constexpr bool LzhSizePlausible(uint64_t unpackedBytes, uint64_t packedBytes) {
    return unpackedBytes <= packedBytes * LzhMaxExpansionPerByte + LzhExpansionSlack;
}

class TLZH {
public:
    // Fetches up to Count bytes into Buffer and reports how many it gave.
    using TReadBytes = std::function<void(void* Buffer, int32_t Count, int32_t& Actual)>;
    // Stores Count bytes from Buffer and reports how many it took.
    using TWriteBytes = std::function<void(const void* Buffer, int32_t Count, int32_t& Actual)>;

    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Decodes until at least TextSize bytes are written. Input that ends
    // early reads as zero bits. Raises ElzhException when the tables cannot
    // be allocated or the output takes fewer bytes than it is given.
    void ExpandStream(int64_t TextSize, const TReadBytes& ReadBytes, const TWriteBytes& WriteBytes);

    // The streams the stream callbacks use (not owned).
    void SetInStream(TStream* Stream) { FInStream = Stream; }
    void SetOutStream(TStream* Stream) { FOutStream = Stream; }
    TStream* InStream() const { return FInStream; }
    TStream* OutStream() const { return FOutStream; }

    // Reads min(Count, bytes left in the input stream) bytes from it.
    void StreamReadBytes(void* Buffer, int32_t Count, int32_t& Actual);
    // Writes all Count bytes to the output stream.
    void StreamWriteBytes(const void* Buffer, int32_t Count, int32_t& Actual);

    // ExpandStream between the input and the output stream.
    void ExpandStreams(int64_t TextSize);

private:
    struct TTables;

    int GetBit();
    int GetByte();
    void FillBitBuffer();
    int DecodeChar();
    int DecodePosition();
    void PutByte(uint8_t Value);

    TStream* FInStream = nullptr;
    TStream* FOutStream = nullptr;
    std::unique_ptr<TTables> FTables;
    const TReadBytes* FReadBytes = nullptr;
    const TWriteBytes* FWriteBytes = nullptr;
    uint16_t FBitBuf = 0;
    uint8_t FBitCount = 0;
};

// Expands a stream in the package's framing (4-byte little-endian unpacked
// size, then the bit stream) held in memory. Returns false, leaving Output
// empty, when the framing is short or the size is beyond maxUnpacked or
// beyond what the input can produce.
bool LzhExpandFramed(const uint8_t* data, size_t size, std::vector<uint8_t>& output, uint64_t maxUnpacked);
