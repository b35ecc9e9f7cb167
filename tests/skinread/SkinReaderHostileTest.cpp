// TSkinReader on hostile packages: every damaged length is refused or
// limited to the intact files, without reading out of bounds, without
// unbounded allocation and without the version message.
#include <gtest/gtest.h>

#include <optional>
#include <span>

#include "TestData.h"
#include "framework/rtl/Strings.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

class SkinReaderHostileTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = TSkinReader::SetMessageProc([this](const std::string&) { ++messages_; });
    }
    void TearDown() override {
        TSkinReader::SetMessageProc(std::move(previous_));
        EXPECT_EQ(messages_, 0) << "damage is no version problem";
    }

    bool Read(const std::vector<uint8_t>& package) {
        Fill(stream_, package);
        return reader_.ReadPackage(stream_);
    }

    std::vector<uint8_t> Extract(std::string_view name) {
        TMemoryStream target;
        reader_.ExtractFile(name, target);
        const std::span<const uint8_t> inPlace = reader_.FileData(name);
        EXPECT_EQ(std::vector<uint8_t>(inPlace.begin(), inPlace.end()), Contents(target))
            << "the bytes in place are the bytes extracted";
        return Contents(target);
    }

    // Version 20000 archive: names, then sizes as given, then data.
    static std::vector<uint8_t> Archive(const std::string& names, const std::vector<int32_t>& sizes,
                                        const std::string& data, std::optional<int32_t> nameListLength = std::nullopt) {
        std::vector<uint8_t> archive(SkinHeaderSize, 0);
        WriteLE32(archive.data(), SkinVersion20000);
        WriteLE32(archive.data() + 4,
                  static_cast<uint32_t>(nameListLength.value_or(static_cast<int32_t>(names.size()))));
        archive.insert(archive.end(), names.begin(), names.end());
        for (int32_t size : sizes) {
            archive.resize(archive.size() + 4);
            WriteLE32(archive.data() + archive.size() - 4, static_cast<uint32_t>(size));
        }
        archive.insert(archive.end(), data.begin(), data.end());
        return archive;
    }

    TSkinReader reader_;
    TMemoryStream stream_;
    int messages_ = 0;
    TSkinReader::TMessageProc previous_;
};

std::vector<uint8_t> Framing(uint32_t unpackedSize, size_t streamBytes) {
    std::vector<uint8_t> package(4 + streamBytes, 0);
    WriteLE32(package.data(), unpackedSize);
    return package;
}

}  // namespace

TEST_F(SkinReaderHostileTest, RefusesPackagesTooShortForTheirFraming) {
    EXPECT_FALSE(Read({}));
    EXPECT_FALSE(Read({1, 0, 0}));
    EXPECT_EQ(reader_.Count(), 0);
}

TEST_F(SkinReaderHostileTest, RefusesUnpackedSizesBeyondTheLimit) {
    // Plausible for its input length but above the 64 MiB cap.
    EXPECT_FALSE(Read(Framing(SkinMaxUnpackedSize + 1, 2 * 1024 * 1024)));
}

TEST_F(SkinReaderHostileTest, RefusesUnpackedSizesTheInputCannotProduce) {
    EXPECT_FALSE(Read(Framing(0xFFFFFFFF, 8)));
    EXPECT_FALSE(Read(Framing(1 * 1024 * 1024, 100)));
}

TEST_F(SkinReaderHostileTest, RefusesArchivesShorterThanTheHeader) {
    EXPECT_FALSE(Read(PackageOf(Bytes("short"))));
    EXPECT_FALSE(Read(Framing(0, 0)));
}

TEST_F(SkinReaderHostileTest, RefusesNameListsLongerThanTheArchiveOrNegative) {
    EXPECT_FALSE(Read(PackageOf(Archive("a.bmp\r\n", {1}, "x", 1000))));
    EXPECT_FALSE(Read(PackageOf(Archive("a.bmp\r\n", {1}, "x", 0x7FFFFFFF))));
    EXPECT_FALSE(Read(PackageOf(Archive("a.bmp\r\n", {1}, "x", -5))));
    EXPECT_EQ(reader_.Count(), 0);
}

TEST_F(SkinReaderHostileTest, RefusesSizeTablesPastTheArchive) {
    // 3000 names but sizes for only two of them.
    std::string names;
    for (int i = 0; i < 3000; ++i) names += "n\n";
    EXPECT_FALSE(Read(PackageOf(Archive(names, {1, 1}, "ab"))));
}

TEST_F(SkinReaderHostileTest, RefusesMoreFilesThanTheLimit) {
    // Names and sizes all present: only the count is too large.
    std::string names;
    for (int i = 0; i <= SkinMaxFiles; ++i) names += "\n";
    EXPECT_FALSE(Read(PackageOf(Archive(names, std::vector<int32_t>(SkinMaxFiles + 1, 0), ""))));
    names.pop_back();
    EXPECT_TRUE(Read(PackageOf(Archive(names, std::vector<int32_t>(SkinMaxFiles, 0), ""))));
    EXPECT_EQ(reader_.Count(), SkinMaxFiles);
}

TEST_F(SkinReaderHostileTest, NegativeSizeKeepsOnlyTheFilesBeforeIt) {
    ASSERT_TRUE(Read(PackageOf(Archive("a\r\nb\r\nc\r\n", {2, -1, 1}, "AAB"))));
    EXPECT_EQ(reader_.Count(), 3);
    EXPECT_TRUE(reader_.Intact(0));
    EXPECT_FALSE(reader_.Intact(1));
    EXPECT_EQ(Extract("a"), Bytes("AA"));
    EXPECT_TRUE(Extract("b").empty());
    EXPECT_TRUE(Extract("c").empty());
}

TEST_F(SkinReaderHostileTest, SizesRunningPastTheDataAreaKeepTheFilesBefore) {
    ASSERT_TRUE(Read(PackageOf(Archive("a\r\nb\r\nc\r\n", {1, 5, 0}, "ABBB"))));
    EXPECT_EQ(Extract("a"), Bytes("A"));
    EXPECT_TRUE(Extract("b").empty());
    EXPECT_TRUE(Extract("c").empty());
}

TEST_F(SkinReaderHostileTest, SizesWhoseSumOverflowsStopAtTheOverflow) {
    ASSERT_TRUE(Read(PackageOf(Archive("a\nb\nc\nd\n", {1, 0x7FFFFFFF, 0x7FFFFFFF, 2}, "ABCD"))));
    EXPECT_EQ(Extract("a"), Bytes("A"));
    EXPECT_TRUE(Extract("b").empty());
    EXPECT_TRUE(Extract("d").empty());
    std::string found = "none";
    TMemoryStream target;
    reader_.ExtractFirstMatch("d", target, found);
    EXPECT_EQ(found, "d") << "the name is found; its bytes are not intact";
    EXPECT_EQ(target.Size(), 0);
}

TEST_F(SkinReaderHostileTest, TruncatedStreamKeepsTheBytesBeforeTheCut) {
    // Missing input reads as zero bits: the archive keeps its full length,
    // whatever precedes the cut decodes intact, the rest is filler.
    const std::vector<uint8_t> ini = MakeData(TDataKind::TextLike, 100);
    std::vector<uint8_t> package =
        BuildSkinPackage({{"a.ini", ini}, {"b.bmp", MakeData(TDataKind::Incompressible, 20000)}});
    package.resize(package.size() / 2);
    ASSERT_TRUE(Read(package));
    EXPECT_EQ(Extract("a.ini"), ini);
    EXPECT_EQ(Extract("b.bmp").size(), 20000u);
}

TEST_F(SkinReaderHostileTest, ExpansionStopsAtTheStatedSizeWhenTheLastMatchRunsPastIt) {
    // The stream codes the archive followed by more 'B's, so that its last
    // match starts inside the stated size and runs well past it. The member
    // claims two bytes more than the archive holds: they must not come from
    // what the match wrote past the end.
    const std::vector<uint8_t> archive = Archive("a\r\n", {6}, "ABBB");
    std::vector<uint8_t> coded = archive;
    coded.insert(coded.end(), 40, 'B');
    std::vector<uint8_t> package = Framing(static_cast<uint32_t>(archive.size()), 0);
    const std::vector<uint8_t> stream = TLzhEncoder().Encode(coded);
    package.insert(package.end(), stream.begin(), stream.end());

    Fill(stream_, package);
    TMemoryStream expanded;
    ASSERT_TRUE(TSkinReader::ExpandPackage(stream_, expanded));
    EXPECT_EQ(Contents(expanded), archive);

    ASSERT_TRUE(Read(package));
    EXPECT_FALSE(reader_.Intact(0));
    EXPECT_TRUE(Extract("a").empty());
}
