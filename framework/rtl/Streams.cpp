#include "framework/rtl/Streams.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>

#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int32_t CopyChunkSize = 0xF000;

std::filesystem::path PathFromUtf8(const std::string& fileName) {
    return std::filesystem::path(std::u8string(fileName.begin(), fileName.end()));
}

int64_t ClampSeekTarget(int64_t base, int64_t offset) {
    if (offset > 0 && base > INT64_MAX - offset) return INT64_MAX;
    return base + offset;
}

}  // namespace

// --- TStream -----------------------------------------------------------------

int64_t TStream::Size() {
    const int64_t position = Seek(0, TSeekOrigin::soCurrent);
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int32_t count) {
    if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
    if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count < 0) throw EStreamError("Invalid stream copy count");
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, CopyChunkSize)));
    int64_t remaining = count;
    while (remaining > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(remaining, CopyChunkSize));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        remaining -= chunk;
    }
    return count;
}

// --- TCustomMemoryStream -----------------------------------------------------

void TCustomMemoryStream::SetPointer(void* memory, int64_t size) {
    FMemory = static_cast<uint8_t*>(memory);
    FSize = size;
}

int32_t TCustomMemoryStream::Read(void* buffer, int32_t count) {
    if (count <= 0 || FPosition >= FSize) return 0;
    const auto n = static_cast<int32_t>(std::min<int64_t>(count, FSize - FPosition));
    std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int32_t TCustomMemoryStream::Write(const void*, int32_t) { throw EWriteError("Stream is read-only"); }

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t target = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning: target = offset; break;
    case TSeekOrigin::soCurrent: target = ClampSeekTarget(FPosition, offset); break;
    case TSeekOrigin::soEnd: target = ClampSeekTarget(FSize, offset); break;
    }
    if (target < 0) throw EStreamError("Seek before the start of a stream");
    FPosition = target;
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    int64_t written = 0;
    while (written < FSize) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(FSize - written, INT32_MAX));
        stream.WriteBuffer(FMemory + written, chunk);
        written += chunk;
    }
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

TReadOnlyMemoryStream::TReadOnlyMemoryStream(const void* memory, int64_t size) {
    if (size < 0 || (memory == nullptr && size != 0)) throw EStreamError("Invalid memory block");
    SetPointer(const_cast<void*>(memory), size);
}

// --- TMemoryStream -----------------------------------------------------------

void TMemoryStream::Reserve(int64_t capacity) {
    if (capacity > MaxSize) throw EStreamError("Out of memory while expanding memory stream");
    if (capacity <= static_cast<int64_t>(FBuffer.size())) return;
    // Grow by a quarter at least so that many small writes stay linear.
    const int64_t grown =
        std::min<int64_t>(MaxSize, static_cast<int64_t>(FBuffer.size()) + static_cast<int64_t>(FBuffer.size()) / 4);
    try {
        FBuffer.resize(static_cast<size_t>(std::max(capacity, grown)));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
    FMemory = FBuffer.data();
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
    if (count <= 0) return 0;
    const int64_t end = FPosition + count;
    if (end > FSize) {
        Reserve(end);
        if (FPosition > FSize) std::memset(FMemory + FSize, 0, static_cast<size_t>(FPosition - FSize));
        FSize = end;
    }
    std::memcpy(FMemory + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

void TMemoryStream::SetSize(int64_t newSize) {
    if (newSize < 0) throw EStreamError("Invalid stream size");
    Reserve(newSize);
    if (newSize > FSize) std::memset(FMemory + FSize, 0, static_cast<size_t>(newSize - FSize));
    FSize = newSize;
    if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
    std::vector<uint8_t>().swap(FBuffer);
    FMemory = nullptr;
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const int64_t count = stream.Size();
    if (count < 0 || count > MaxSize) throw EStreamError("Out of memory while expanding memory stream");
    SetSize(count);
    int64_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count - done, INT32_MAX));
        stream.ReadBuffer(FMemory + done, chunk);
        done += chunk;
    }
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

// --- TFileStream -------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
    const bool create = (mode & fmCreate) == fmCreate;
    const unsigned access = mode & 0x3;
    const char* openMode = create ? "w+b" : (access == fmOpenRead ? "rb" : "r+b");
#ifdef _WIN32
    const std::wstring wide = PathFromUtf8(fileName).wstring();
    const std::wstring wideMode(openMode, openMode + std::strlen(openMode));
    FFile = _wfopen(wide.c_str(), wideMode.c_str());
#else
    FFile = std::fopen(fileName.c_str(), openMode);
#endif
    if (FFile == nullptr) {
        if (create) throw EFCreateError("Cannot create file \"" + fileName + "\"");
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    }
}

TFileStream::~TFileStream() {
    if (FFile != nullptr) std::fclose(FFile);
}

int32_t TFileStream::Read(void* buffer, int32_t count) {
    if (count <= 0) return 0;
    // C streams need a positioning call between a write and a read.
    if (FLastWasWrite) std::fflush(FFile);
    FLastWasWrite = false;
    FLastWasRead = true;
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
    if (count <= 0) return 0;
    if (FLastWasRead) Seek(0, TSeekOrigin::soCurrent);
    FLastWasRead = false;
    FLastWasWrite = true;
    return static_cast<int32_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence =
        origin == TSeekOrigin::soBeginning ? SEEK_SET : (origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END);
#ifdef _WIN32
    if (_fseeki64(FFile, offset, whence) != 0) throw EStreamError("Seek error in \"" + FFileName + "\"");
    const int64_t position = _ftelli64(FFile);
#else
    if (fseeko(FFile, static_cast<off_t>(offset), whence) != 0)
        throw EStreamError("Seek error in \"" + FFileName + "\"");
    const int64_t position = ftello(FFile);
#endif
    FLastWasRead = FLastWasWrite = false;
    return position;
}

void TFileStream::SetSize(int64_t newSize) {
    if (newSize < 0) throw EStreamError("Invalid stream size");
    const int64_t position = Position();
    std::fflush(FFile);
#ifdef _WIN32
    const bool ok = _chsize_s(_fileno(FFile), newSize) == 0;
#else
    const bool ok = ftruncate(fileno(FFile), static_cast<off_t>(newSize)) == 0;
#endif
    if (!ok) throw EStreamError("Cannot change the size of \"" + FFileName + "\"");
    Seek(std::min(position, newSize), TSeekOrigin::soBeginning);
}

bool FileExists(const std::string& fileName) {
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(fileName), error);
}
