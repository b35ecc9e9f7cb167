#include "framework/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "framework/rtl/SysUtils.h"

namespace {

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("quirn_rtl_") + name)).string();
}

std::string Contents(TCustomMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

TEST(MemoryStream, WritesReadsAndSeeks) {
    TMemoryStream stream;
    stream.WriteBuffer("hello", 5);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Position(), 5);
    stream.SetPosition(1);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 4);
    EXPECT_STREQ(buffer, "ello");
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 3);
    EXPECT_EQ(stream.Seek(1, TSeekOrigin::soCurrent), 4);
    EXPECT_THROW(stream.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
    EXPECT_EQ(stream.Position(), 4);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream stream;
    stream.SetPosition(3);
    stream.WriteBuffer("x", 1);
    ASSERT_EQ(stream.Size(), 4);
    EXPECT_EQ(Contents(stream), std::string("\0\0\0x", 4));
    stream.SetSize(2);
    EXPECT_EQ(stream.Position(), 2);
    stream.SetSize(5);
    EXPECT_EQ(Contents(stream), std::string(5, '\0'));
}

TEST(MemoryStream, ReadBufferFailsWhenShortAndLeavesNoPartialSuccess) {
    TMemoryStream stream;
    stream.WriteBuffer("ab", 2);
    stream.SetPosition(0);
    char buffer[3];
    EXPECT_THROW(stream.ReadBuffer(buffer, 3), EReadError);
    stream.SetPosition(0);
    EXPECT_THROW(stream.ReadBuffer(buffer, -1), EReadError);
    EXPECT_NO_THROW(stream.ReadBuffer(buffer, 0));
}

TEST(MemoryStream, RefusesToGrowWithoutLimit) {
    TMemoryStream stream;
    EXPECT_THROW(stream.SetSize(TMemoryStream::MaxSize + 1), EStreamError);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryStream, ClearAndLoadFromStream) {
    TMemoryStream source;
    source.WriteBuffer("abcdef", 6);
    TMemoryStream copy;
    copy.WriteBuffer("zz", 2);
    copy.LoadFromStream(source);
    EXPECT_EQ(Contents(copy), "abcdef");
    EXPECT_EQ(copy.Position(), 0);
    copy.Clear();
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Memory(), nullptr);
}

TEST(Stream, CopyFromCopiesCountOrWholeSource) {
    TMemoryStream source;
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    source.WriteBuffer(big.data(), static_cast<int32_t>(big.size()));

    TMemoryStream all;
    EXPECT_EQ(all.CopyFrom(source, 0), 100000);
    EXPECT_EQ(Contents(all), big);

    source.SetPosition(10);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 5), 5);
    EXPECT_EQ(Contents(part), big.substr(10, 5));

    source.SetPosition(99998);
    EXPECT_THROW(part.CopyFrom(source, 5), EReadError);
    EXPECT_THROW(part.CopyFrom(source, -1), EStreamError);
}

TEST(ReadOnlyMemoryStream, ReadsForeignBlockAndRefusesWrites) {
    static const char data[] = "resource";
    TReadOnlyMemoryStream stream(data, 8);
    char buffer[9] = {};
    stream.ReadBuffer(buffer, 8);
    EXPECT_STREQ(buffer, "resource");
    EXPECT_THROW(stream.WriteBuffer("x", 1), EWriteError);
    EXPECT_THROW(stream.SetSize(1), EStreamError);
}

TEST(FileStream, RoundTripsThroughFilesAndReportsMissingOnes) {
    const std::string path = TempPath("stream.bin");
    {
        TMemoryStream stream;
        stream.WriteBuffer("file data", 9);
        stream.SaveToFile(path);
    }
    EXPECT_TRUE(FileExists(path));
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(Contents(loaded), "file data");

    {
        TFileStream file(path, fmOpenReadWrite);
        EXPECT_EQ(file.Size(), 9);
        file.Seek(0, TSeekOrigin::soEnd);
        file.WriteBuffer("!", 1);
        file.SetPosition(0);
        char first[5] = {};
        file.ReadBuffer(first, 4);
        EXPECT_STREQ(first, "file");
        file.WriteBuffer("_", 1);
        file.SetSize(6);
        EXPECT_EQ(file.Size(), 6);
    }
    loaded.LoadFromFile(path);
    EXPECT_EQ(Contents(loaded), "file_d");
    std::filesystem::remove(path);

    EXPECT_FALSE(FileExists(path));
    EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
    EXPECT_THROW(TFileStream(TempPath("no/such/dir/x"), fmCreate), EFCreateError);
}

TEST(FileStream, AcceptsUtf8Paths) {
    const std::string path = TempPath("\xE6\x9F\xA5\xE8\xAF\xA2.bin");  // two CJK characters
    {
        TFileStream file(path, fmCreate);
        file.WriteBuffer("ok", 2);
    }
    EXPECT_TRUE(FileExists(path));
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(Contents(loaded), "ok");
    std::filesystem::remove(std::filesystem::path(std::u8string(path.begin(), path.end())));
}
