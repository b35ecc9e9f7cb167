// The packer's encoder against the decoder: every output decodes byte for
// byte, consumes its input exactly and compresses like a classic LZHUF coder.
#include <gtest/gtest.h>

#include <tuple>

#include "TestData.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhEncoder.h"

namespace {

using TRoundTrip = std::tuple<TDataKind, size_t>;

std::string KindName(TDataKind kind) {
    switch (kind) {
    case TDataKind::Repetitive: return "Repetitive";
    case TDataKind::TextLike: return "TextLike";
    case TDataKind::Incompressible: return "Incompressible";
    }
    return "";
}

class LzhRoundTrip : public testing::TestWithParam<TRoundTrip> {};

}  // namespace

TEST_P(LzhRoundTrip, DecodesEncoderOutputByteExactly) {
    const auto [kind, size] = GetParam();
    const std::vector<uint8_t> data = MakeData(kind, size);
    TLzhEncoder encoder;
    const std::vector<uint8_t> coded = encoder.Encode(data);
    size_t consumed = 0;
    const std::vector<uint8_t> decoded = Expand(coded, static_cast<int64_t>(data.size()), &consumed);
    ASSERT_EQ(decoded.size(), data.size());
    EXPECT_TRUE(decoded == data);
    EXPECT_EQ(consumed, coded.size());

    // Classic LZHUF ratios: incompressible data grows by a few per cent
    // while the tree adapts, repetitive data shrinks to about 10 bits per
    // 60-byte match after the first period's literals.
    if (kind == TDataKind::Incompressible) EXPECT_LE(coded.size(), size + size / 30 + 16);
    if (kind == TDataKind::Repetitive && size >= 4096) EXPECT_LE(coded.size(), size / 40 + 64);
    if (kind == TDataKind::TextLike && size >= 4096) EXPECT_LE(coded.size(), size / 2);
}

INSTANTIATE_TEST_SUITE_P(
    SizesAndKinds, LzhRoundTrip,
    testing::Combine(testing::Values(TDataKind::Repetitive, TDataKind::TextLike, TDataKind::Incompressible),
                     testing::Values(size_t{0}, size_t{1}, size_t{59}, size_t{60}, size_t{61}, size_t{4095},
                                     size_t{4096}, size_t{4097}, size_t{65536}, size_t{1} << 20)),
    [](const testing::TestParamInfo<TRoundTrip>& info) {
        return KindName(std::get<0>(info.param)) + "_" + std::to_string(std::get<1>(info.param));
    });

TEST(LzhRoundTripCases, EmptyInputGivesAnEmptyStream) {
    TLzhEncoder encoder;
    EXPECT_TRUE(encoder.Encode({}).empty());
    EXPECT_EQ(LzhCompressFramed({}), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(LzhRoundTripCases, RunsUseOverlappingMatches) {
    const std::vector<uint8_t> run(10000, 'x');
    TLzhEncoder encoder;
    const std::vector<uint8_t> coded = encoder.Encode(run);
    EXPECT_LT(coded.size(), 300u);
    EXPECT_EQ(Expand(coded, static_cast<int64_t>(run.size())), run);
}

TEST(LzhRoundTripCases, LeadingSpacesMatchTheInitialWindow) {
    const std::vector<uint8_t> spaces(60, ' ');
    TLzhEncoder encoder;
    const std::vector<uint8_t> coded = encoder.Encode(spaces);
    EXPECT_LE(coded.size(), 3u) << "one match symbol and a position";
    EXPECT_EQ(Expand(coded, 60), spaces);
}

TEST(LzhRoundTripCases, SurvivesManyTreeRebuilds) {
    // Each decoded symbol counts one at the root; a rebuild comes every few
    // ten thousand symbols, so 300 KB of mixed data passes several of them.
    std::vector<uint8_t> data;
    for (uint32_t seed = 1; data.size() < 300000; ++seed) {
        const auto part = MakeData(static_cast<TDataKind>(seed % 3), 5000 + seed * 37, seed);
        data.insert(data.end(), part.begin(), part.end());
    }
    const std::vector<uint8_t> framed = LzhCompressFramed(data);
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(LzhExpandFramed(framed.data(), framed.size(), decoded, data.size()));
    EXPECT_TRUE(decoded == data);
}

TEST(LzhRoundTripCases, EncoderIsReusable) {
    TLzhEncoder encoder;
    const auto a = MakeData(TDataKind::TextLike, 5000, 7);
    const auto b = MakeData(TDataKind::Incompressible, 3000, 8);
    const auto codedA = encoder.Encode(a);
    const auto codedB = encoder.Encode(b);
    EXPECT_EQ(Expand(codedA, 5000), a);
    EXPECT_EQ(Expand(codedB, 3000), b);
    EXPECT_EQ(encoder.Encode(a), codedA);
}
