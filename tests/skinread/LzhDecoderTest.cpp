// TLZH against bit streams built by hand from the coding rules, so the
// decoder is checked independently of the packer's encoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ReferenceLiteralCoder.h"
#include "TestData.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"

namespace {

// Bits of a symbol in the starting tree: leaves 0..313 hold the symbols in
// order, and the parent of node x is N_CHAR + x / 2 up to the root R.
std::string InitialTreeCode(int symbol) {
    std::string bits;
    for (int node = symbol; node != lzh::R; node = lzh::N_CHAR + node / 2)
        bits.insert(bits.begin(), char('0' + (node & 1)));
    return bits;
}

int MatchSymbol(int length) { return 256 - 3 + length; }

}  // namespace

TEST(LzhPositionTables, FollowThePublishedLayout) {
    const auto& t = lzh::PositionTables;
    const struct {
        int entry, code, length;
    } samples[] = {{0, 0, 3},    {31, 0, 3},   {32, 1, 4},   {79, 3, 4},   {80, 4, 5},   {143, 11, 5},
                   {144, 12, 6}, {191, 23, 6}, {192, 24, 7}, {239, 47, 7}, {240, 48, 8}, {255, 63, 8}};
    for (const auto& s : samples) {
        EXPECT_EQ(t.DCode[s.entry], s.code) << s.entry;
        EXPECT_EQ(t.DLen[s.entry], s.length) << s.entry;
    }
}

TEST(LzhDecoder, TextSizeZeroReadsAndWritesNothing) {
    int reads = 0, writes = 0;
    TLZH lzh;
    lzh.ExpandStream(
        0,
        [&](void*, int32_t, int32_t& actual) {
            ++reads;
            actual = 0;
        },
        [&](const void*, int32_t count, int32_t& actual) {
            ++writes;
            actual = count;
        });
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(writes, 0);
}

TEST(LzhDecoder, MissingInputReadsAsZeroBits) {
    // All-zero bits follow the first sons from the root: 626 -> 624 -> 620 ->
    // 612 -> 596 -> 564 -> 500 -> 372 -> leaf 116, the letter 't'.
    EXPECT_EQ(InitialTreeCode('t'), "00000000");
    EXPECT_EQ(Expand({}, 1), Bytes("t"));
}

TEST(LzhDecoder, DecodesALiteralFromTheStartingTree) {
    EXPECT_EQ(Expand(PackBits(InitialTreeCode('Q')), 1), Bytes("Q"));
}

TEST(LzhDecoder, DecodesMatchIntoInitialWindowAsSpaces) {
    // Position 1000: upper six bits 15 -> table code 100111 (6 bits), then
    // the low six bits 101000.
    const std::string bits = InitialTreeCode(MatchSymbol(7)) + "100111" + "101000";
    EXPECT_EQ(Expand(PackBits(bits), 7), Bytes("       "));
    // Position 0 (code 000, low bits 000000): the byte just before the start.
    EXPECT_EQ(Expand(PackBits(InitialTreeCode(MatchSymbol(60)) + "000000000"), 60), std::vector<uint8_t>(60, 0x20));
    // Position 4095 (code 11111111, low bits 111111) reaches the window's
    // last F bytes, which nothing has written yet: they read as zero.
    EXPECT_EQ(Expand(PackBits(InitialTreeCode(MatchSymbol(3)) + "11111111" + "111111"), 3), std::vector<uint8_t>(3, 0));
}

TEST(LzhDecoder, WritesTheWholeLastMatchPastTextSize) {
    const std::string bits = InitialTreeCode(MatchSymbol(5)) + "000000000";
    EXPECT_EQ(Expand(PackBits(bits), 2).size(), 5u);
}

TEST(LzhDecoder, MovesBytesInBlocks) {
    // 300 KB: several output blocks, matches reaching back across a block
    // boundary, and input blocks refilled mid-stream.
    const std::vector<uint8_t> data = MakeData(TDataKind::TextLike, 300000, 4);
    const std::vector<uint8_t> coded = TLzhEncoder().Encode(data);
    ASSERT_GT(coded.size(), size_t{TLZH::InputBlockSize} * 2);
    size_t pos = 0;
    int reads = 0;
    std::vector<int32_t> writes;
    std::vector<uint8_t> out;
    TLZH lzh;
    lzh.ExpandStream(
        static_cast<int64_t>(data.size()),
        [&](void* buffer, int32_t count, int32_t& actual) {
            EXPECT_GT(count, 0);
            EXPECT_LE(count, TLZH::InputBlockSize);
            ++reads;
            actual = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(count), coded.size() - pos));
            std::copy_n(coded.data() + pos, actual, static_cast<uint8_t*>(buffer));
            pos += static_cast<size_t>(actual);
        },
        [&](const void* buffer, int32_t count, int32_t& actual) {
            writes.push_back(count);
            const auto* bytes = static_cast<const uint8_t*>(buffer);
            out.insert(out.end(), bytes, bytes + count);
            actual = count;
        });
    EXPECT_TRUE(out == data);
    EXPECT_LE(reads, static_cast<int>(coded.size() / TLZH::InputBlockSize) + 3);
    EXPECT_EQ(writes.size(), (data.size() + TLZH::OutputBlockSize - 1) / TLZH::OutputBlockSize);
    for (const int32_t count : writes) EXPECT_LE(count, TLZH::OutputBlockSize + lzh::F - 1);
    EXPECT_EQ(lzh.UnusedInput(), 0) << "the stream ends with its last used byte";
}

TEST(LzhDecoder, SourceGivingFewBytesPerCallDecodesTheSame) {
    const std::vector<uint8_t> data = MakeData(TDataKind::Repetitive, 70000, 2);
    const std::vector<uint8_t> coded = TLzhEncoder().Encode(data);
    for (const size_t chunk : {size_t{1}, size_t{3}, size_t{7}, size_t{4099}}) {
        size_t pos = 0;
        std::vector<uint8_t> out;
        TLZH lzh;
        lzh.ExpandStream(
            static_cast<int64_t>(data.size()),
            [&](void* buffer, int32_t count, int32_t& actual) {
                actual = static_cast<int32_t>(std::min({static_cast<size_t>(count), chunk, coded.size() - pos}));
                std::copy_n(coded.data() + pos, actual, static_cast<uint8_t*>(buffer));
                pos += static_cast<size_t>(actual);
            },
            [&](const void* buffer, int32_t count, int32_t& actual) {
                const auto* bytes = static_cast<const uint8_t*>(buffer);
                out.insert(out.end(), bytes, bytes + count);
                actual = count;
            });
        EXPECT_TRUE(out == data) << "chunk " << chunk;
    }
}

TEST(LzhDecoder, SourceOverstatingWhatItGaveIsHeldToTheRequest) {
    // A source claiming more zero bytes than asked for must not make the
    // decoder read past its block: the claim is cut to the request, and the
    // zeros decode as from a source that has ended.
    TLZH lzh;
    std::vector<uint8_t> out;
    lzh.ExpandStream(
        100000,
        [](void* buffer, int32_t count, int32_t& actual) {
            std::fill_n(static_cast<uint8_t*>(buffer), count, uint8_t{0});
            actual = count * 4;
        },
        [&](const void* buffer, int32_t count, int32_t& actual) {
            const auto* bytes = static_cast<const uint8_t*>(buffer);
            out.insert(out.end(), bytes, bytes + count);
            actual = count;
        });
    std::vector<uint8_t> ended = Expand({}, 100000);
    out.resize(100000);
    ended.resize(100000);
    EXPECT_TRUE(out == ended);
}

TEST(LzhDecoder, OutputRefusingBytesRaisesElzhException) {
    TLZH lzh;
    try {
        lzh.ExpandStream(
            4, [](void*, int32_t, int32_t& actual) { actual = 0; },
            [](const void*, int32_t, int32_t& actual) { actual = 0; });
        FAIL() << "no exception";
    } catch (const ElzhException& e) {
        EXPECT_EQ(e.Message(), LzhWriteFailedMessage);
    }
}

TEST(LzhDecoder, DecoderIsReusableAfterAnException) {
    TLZH lzh;
    EXPECT_THROW(lzh.ExpandStream(
                     1, [](void*, int32_t, int32_t& actual) { actual = 0; },
                     [](const void*, int32_t, int32_t& actual) { actual = 0; }),
                 ElzhException);
    std::vector<uint8_t> out;
    lzh.ExpandStream(
        1, [](void*, int32_t, int32_t& actual) { actual = 0; },
        [&](const void* b, int32_t, int32_t& actual) {
            out.push_back(*static_cast<const uint8_t*>(b));
            actual = 1;
        });
    EXPECT_EQ(out, Bytes("t"));
}

TEST(LzhDecoder, StreamCallbacksMoveBytesBetweenStreams) {
    TMemoryStream in, out;
    Fill(in, PackBits(InitialTreeCode(MatchSymbol(4)) + "000000000"));
    TLZH lzh;
    lzh.SetInStream(&in);
    lzh.SetOutStream(&out);
    int32_t actual = -1;
    char byte = 0;
    in.SetPosition(in.Size());
    lzh.StreamReadBytes(&byte, 1, actual);
    EXPECT_EQ(actual, 0) << "no bytes left past the end";
    in.SetPosition(0);
    lzh.ExpandStreams(4);
    EXPECT_EQ(Contents(out), Bytes("    "));
    EXPECT_EQ(in.Position(), in.Size());
}

TEST(LzhDecoder, StreamExpansionLeavesTheInputAfterTheLastUsedByte) {
    // The decoder reads ahead a block; what follows the coded stream in the
    // input stream is left unread.
    const std::vector<uint8_t> data = MakeData(TDataKind::TextLike, 5000, 3);
    std::vector<uint8_t> bytes = TLzhEncoder().Encode(data);
    const auto codedSize = static_cast<int64_t>(bytes.size());
    bytes.insert(bytes.end(), 3000, 0xA5);
    TMemoryStream in, out;
    Fill(in, bytes);
    TLZH lzh;
    lzh.SetInStream(&in);
    lzh.SetOutStream(&out);
    lzh.ExpandStreams(static_cast<int64_t>(data.size()));
    EXPECT_EQ(in.Position(), codedSize);
    EXPECT_TRUE(Contents(out) == data);
}

TEST(LzhFramed, RefusesShortFramesAndImplausibleSizes) {
    std::vector<uint8_t> out = {1};
    EXPECT_FALSE(LzhExpandFramed(nullptr, 0, out, 1000));
    EXPECT_TRUE(out.empty());
    const uint8_t huge[] = {0, 0, 0, 0x10, 0xAA};  // 256 MiB from one byte
    EXPECT_FALSE(LzhExpandFramed(huge, sizeof huge, out, uint64_t{1} << 32));
    const uint8_t capped[] = {0x00, 0x10, 0, 0, 0, 0, 0, 0};  // 4096 bytes, limit 100
    EXPECT_FALSE(LzhExpandFramed(capped, sizeof capped, out, 100));
    EXPECT_TRUE(LzhExpandFramed(capped, sizeof capped, out, 4096));
    EXPECT_EQ(out.size(), 4096u);
}
