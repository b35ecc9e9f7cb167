// Streams: byte streams (abstract TStream, memory and file streams) used for
// loading, saving and component streaming.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// What a Seek offset counts from.
enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// TStream: abstract sequence of bytes with a position; derived classes supply
// Read, Write and Seek, everything else builds on them.
class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Transfer up to count bytes; the result is the number transferred.
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    // Moves the position; the result is the new position from the start.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    // Streams that cannot change their size raise EStreamError.
    virtual void SetSize(int64_t newSize);

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }

    // Exactly count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, int32_t count);
    void WriteBuffer(const void* buffer, int32_t count);
    // Copies count bytes from the source's position; count 0 copies the whole
    // source from its start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// TCustomMemoryStream: a stream over one block of memory; reading and seeking.
// A derived class decides where the block lives (owned buffer, resource data).
class TCustomMemoryStream : public TStream {
public:
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;  // read-only: EWriteError
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }

    uint8_t* Memory() const { return FMemory; }
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

protected:
    // Points the stream at a block it does not own (size in bytes).
    void SetPointer(void* memory, int64_t size);

    uint8_t* FMemory = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

// TReadOnlyMemoryStream: reads a block owned by someone else (resource data,
// a buffer handed in); the block must outlive the stream.
class TReadOnlyMemoryStream : public TCustomMemoryStream {
public:
    TReadOnlyMemoryStream(const void* memory, int64_t size);
};

// TMemoryStream: a growable stream over memory it owns.
class TMemoryStream : public TCustomMemoryStream {
public:
    // The largest size a memory stream grows to; beyond it EStreamError.
    static constexpr int64_t MaxSize = int64_t{1} << 30;

    TMemoryStream() = default;
    int32_t Write(const void* buffer, int32_t count) override;
    void SetSize(int64_t newSize) override;

    void Clear();
    // Replace the contents by the whole of the stream / file; position 0.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);

private:
    void Reserve(int64_t capacity);

    std::vector<uint8_t> FBuffer;
};

// File open modes: one access mode, optionally or-ed with a share mode (the
// share modes are accepted for compatibility; files are not locked).
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// TFileStream: a stream over a file named by a UTF-8 path.
class TFileStream : public TStream {
public:
    // fmCreate creates or truncates; EFCreateError / EFOpenError on failure.
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    const std::string& FileName() const { return FFileName; }

private:
    std::FILE* FFile = nullptr;
    std::string FFileName;
    bool FLastWasWrite = false;
    bool FLastWasRead = false;
};

// True when the UTF-8 path names an existing regular file.
bool FileExists(const std::string& fileName);
