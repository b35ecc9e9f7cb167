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
    // Fetches up to Count bytes into Buffer and reports how many it gave;
    // giving none marks the end of the input.
    using TReadBytes = std::function<void(void* buffer, int32_t count, int32_t& actual)>;
    // Stores Count bytes from Buffer and reports how many it took.
    using TWriteBytes = std::function<void(const void* buffer, int32_t count, int32_t& actual)>;

    // The decoder moves bytes in blocks: it asks ReadBytes for up to
    // InputBlockSize bytes at a time and hands WriteBytes up to
    // OutputBlockSize + F - 1 bytes at a time.
    static constexpr int32_t InputBlockSize = 16 * 1024;
    static constexpr int32_t OutputBlockSize = 32 * 1024;

    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Decodes until at least TextSize bytes are written (the last match is
    // written whole). Input that ends early reads as zero bits. Raises
    // ElzhException when the tables cannot be allocated or the output takes
    // fewer bytes than it is given.
    void ExpandStream(int64_t textSize, const TReadBytes& readBytes, const TWriteBytes& writeBytes);

    // Bytes the last ExpandStream fetched beyond the last one its bits came
    // from (the input block is read ahead).
    int64_t UnusedInput() const { return FUnusedInput; }

    // The streams the stream callbacks use (not owned).
    void SetInStream(TStream* stream) { FInStream = stream; }
    void SetOutStream(TStream* stream) { FOutStream = stream; }
    TStream* InStream() const { return FInStream; }
    TStream* OutStream() const { return FOutStream; }

    // Reads min(Count, bytes left in the input stream) bytes from it.
    void StreamReadBytes(void* buffer, int32_t count, int32_t& actual);
    // Writes all Count bytes to the output stream.
    void StreamWriteBytes(const void* buffer, int32_t count, int32_t& actual);

    // ExpandStream between the input and the output stream; the input stream
    // is left just after the last byte the decoder used.
    void ExpandStreams(int64_t textSize);

private:
    struct TTables;
    struct TInputSpan {
        const uint8_t* Next;
        const uint8_t* End;
    };

    // Moves the unread input to the front of the input block and tops the
    // block up from ReadBytes; past the end of the input it holds zeros.
    TInputSpan RefillInput(const uint8_t* next, const uint8_t* end);
    // Hands Count bytes to WriteBytes; raises when it takes fewer.
    void WriteBlock(const uint8_t* data, int32_t count);

    TStream* FInStream = nullptr;
    TStream* FOutStream = nullptr;
    std::unique_ptr<TTables> FTables;
    const TReadBytes* FReadBytes = nullptr;
    const TWriteBytes* FWriteBytes = nullptr;
    bool FInputEnded = false;
    int64_t FInputDelivered = 0;  // bytes ReadBytes gave
    int64_t FInputTaken = 0;      // bytes moved out of the input block into the bit buffer, zeros included
    int64_t FUnusedInput = 0;
};

// Expands a stream in the package's framing (4-byte little-endian unpacked
// size, then the bit stream) held in memory. Returns false, leaving Output
// empty, when the framing is short or the size is beyond maxUnpacked or
// beyond what the input can produce.
bool LzhExpandFramed(const uint8_t* data, size_t size, std::vector<uint8_t>& output, uint64_t maxUnpacked);
