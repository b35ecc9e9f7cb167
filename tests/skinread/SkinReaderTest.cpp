// TSkinReader on well-formed packages: every version, name matching,
// duplicates, line rules and the unknown-version message.
#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "TestData.h"
#include "framework/rtl/Strings.h"
#include "skin/data/SkinRead.h"

namespace {

// Captures the reader's messages for the life of the fixture.
class SkinReaderTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = TSkinReader::SetMessageProc([this](const std::string& text) { messages_.push_back(text); });
    }
    void TearDown() override { TSkinReader::SetMessageProc(std::move(previous_)); }

    bool Read(const std::vector<uint8_t>& package) {
        Fill(stream_, package);
        return reader_.ReadPackage(stream_);
    }

    std::vector<uint8_t> Extract(std::string_view name) {
        TMemoryStream target;
        reader_.ExtractFile(name, target);
        EXPECT_EQ(target.Position(), 0);
        const std::span<const uint8_t> inPlace = reader_.FileData(name);
        EXPECT_EQ(std::vector<uint8_t>(inPlace.begin(), inPlace.end()), Contents(target))
            << "the bytes in place are the bytes extracted";
        return Contents(target);
    }

    static std::vector<TSkinPackageFile> SampleFiles() {
        return {{"Longhorn Style-Blue.ini", Bytes("[Form]\r\nTitle=title.bmp\r\n")},
                {"frameleft.bmp", MakeData(TDataKind::Incompressible, 700, 1)},
                {"office2003__ComboboxBtn.bmp", MakeData(TDataKind::Repetitive, 5000)},
                {"empty.bmp", {}},
                {"tab.bmp", MakeData(TDataKind::TextLike, 3000)}};
    }

    TSkinReader reader_;
    TMemoryStream stream_;
    std::vector<std::string> messages_;
    TSkinReader::TMessageProc previous_;
};

// An archive with a version the writer refuses to write.
std::vector<uint8_t> ArchiveWithVersion(uint32_t version, const std::vector<TSkinPackageFile>& files) {
    std::vector<uint8_t> archive = BuildSkinArchive(files, SkinVersion20000);
    WriteLE32(archive.data(), version);
    return archive;
}

}  // namespace

TEST_F(SkinReaderTest, ReadsEveryKnownVersion) {
    const auto files = SampleFiles();
    for (uint32_t version : {20000u, 30000u, 40000u, 50000u, 60000u, 70000u}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(Read(BuildSkinPackage(files, version)));
        EXPECT_EQ(reader_.Version(), version);
        ASSERT_EQ(reader_.Count(), static_cast<int32_t>(files.size()));
        for (size_t i = 0; i < files.size(); ++i) {
            EXPECT_EQ(reader_.Names().Strings(static_cast<int32_t>(i)), LowerCase(files[i].Name));
            EXPECT_EQ(reader_.Sizes(static_cast<int32_t>(i)), static_cast<int32_t>(files[i].Data.size()));
            EXPECT_EQ(Extract(files[i].Name), files[i].Data);
        }
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinReaderTest, MatchesNamesRegardlessOfCase) {
    ASSERT_TRUE(Read(BuildSkinPackage(SampleFiles())));
    EXPECT_EQ(Extract("OFFICE2003__COMBOBOXBTN.bmp"), MakeData(TDataKind::Repetitive, 5000));
    EXPECT_EQ(Extract("longhorn style-blue.INI"), Bytes("[Form]\r\nTitle=title.bmp\r\n"));
}

TEST_F(SkinReaderTest, MissingFileYieldsEmptyStream) {
    ASSERT_TRUE(Read(BuildSkinPackage(SampleFiles())));
    TMemoryStream target;
    Fill(target, Bytes("stale"));
    reader_.ExtractFile("nothere.bmp", target);
    EXPECT_EQ(target.Size(), 0);
    EXPECT_TRUE(Extract("frameleft").empty()) << "names match whole, not as prefixes";
    EXPECT_TRUE(Extract("empty.bmp").empty());
}

TEST_F(SkinReaderTest, FirstOfTwoEqualNamesWins) {
    ASSERT_TRUE(Read(BuildSkinPackage({{"a.bmp", Bytes("first")}, {"A.BMP", Bytes("second")}})));
    EXPECT_EQ(Extract("a.bmp"), Bytes("first"));
    std::string found;
    TMemoryStream target;
    reader_.ExtractFirstMatch("a.", target, found);
    EXPECT_EQ(Contents(target), Bytes("first"));
}

TEST_F(SkinReaderTest, FirstMatchFindsTheIniBySubstring) {
    ASSERT_TRUE(Read(BuildSkinPackage(SampleFiles())));
    TMemoryStream target;
    std::string found = "unchanged";
    reader_.ExtractFirstMatch(".ini", target, found);
    EXPECT_EQ(found, "longhorn style-blue.ini");
    EXPECT_EQ(target.Position(), 0);
    EXPECT_EQ(Contents(target), Bytes("[Form]\r\nTitle=title.bmp\r\n"));

    // The text is not lower-cased: upper case never matches the stored names.
    found = "unchanged";
    reader_.ExtractFirstMatch(".INI", target, found);
    EXPECT_EQ(found, "unchanged");
    EXPECT_EQ(target.Size(), 0);
}

TEST_F(SkinReaderTest, SplitsTheNameListAtCrLfCrOrLf) {
    // Hand-made name list: CR LF, CR alone, LF alone, no final break.
    const std::string names = "one.bmp\r\nTWO.bmp\rthree.ini\nfour.bmp";
    std::vector<uint8_t> archive(SkinHeaderSize, 0);
    WriteLE32(archive.data(), SkinVersion20000);
    WriteLE32(archive.data() + 4, static_cast<uint32_t>(names.size()));
    archive.insert(archive.end(), names.begin(), names.end());
    for (uint32_t size : {1u, 2u, 3u, 4u}) {
        archive.resize(archive.size() + 4);
        WriteLE32(archive.data() + archive.size() - 4, size);
    }
    const std::string data = "ABBCCCDDDD";
    archive.insert(archive.end(), data.begin(), data.end());

    ASSERT_TRUE(Read(PackageOf(archive)));
    ASSERT_EQ(reader_.Count(), 4);
    EXPECT_EQ(reader_.Names().Strings(1), "two.bmp");
    EXPECT_EQ(Extract("one.bmp"), Bytes("A"));
    EXPECT_EQ(Extract("two.bmp"), Bytes("BB"));
    EXPECT_EQ(Extract("three.ini"), Bytes("CCC"));
    EXPECT_EQ(Extract("four.bmp"), Bytes("DDDD"));
}

TEST_F(SkinReaderTest, IgnoresHeaderPaddingAndExtraBlockContents) {
    const auto files = SampleFiles();
    std::vector<uint8_t> archive = BuildSkinArchive(files, SkinVersion30000);
    for (int i = SkinHeaderUnusedOffset; i < SkinHeaderSize + SkinExtraBlockLength(SkinVersion30000); ++i) {
        archive[static_cast<size_t>(i)] = 0xA5;
    }
    ASSERT_TRUE(Read(PackageOf(archive)));
    EXPECT_EQ(Extract("tab.bmp"), files[4].Data);
}

TEST_F(SkinReaderTest, UnknownVersionShowsTheMessageOnceAndYieldsNoSkin) {
    ASSERT_TRUE(Read(BuildSkinPackage(SampleFiles())));
    EXPECT_FALSE(Read(PackageOf(ArchiveWithVersion(10000, SampleFiles()))));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader_.Count(), 0);
    EXPECT_EQ(reader_.Names().Count(), 0);
    EXPECT_TRUE(Extract("tab.bmp").empty()) << "the earlier package is gone";
}

TEST_F(SkinReaderTest, ManyMoreFilesThanTheOldFixedTable) {
    std::vector<TSkinPackageFile> files;
    for (int i = 0; i < 1500; ++i) files.push_back({"f" + std::to_string(i) + ".bmp", Bytes(std::to_string(i * 7))});
    ASSERT_TRUE(Read(BuildSkinPackage(files)));
    ASSERT_EQ(reader_.Count(), 1500);
    EXPECT_EQ(Extract("f0.bmp"), Bytes("0"));
    EXPECT_EQ(Extract("f1000.bmp"), Bytes("7000"));
    EXPECT_EQ(Extract("f1499.bmp"), Bytes("10493"));
}

TEST_F(SkinReaderTest, ReadsAPackageOfStoredSkinSize) {
    // About the size of the program's stored skin: an INI and 34 bitmaps.
    std::vector<TSkinPackageFile> files = {{"skin.ini", MakeData(TDataKind::TextLike, 3869)}};
    for (int i = 0; i < 34; ++i) {
        files.push_back(
            {"bitmap" + std::to_string(i) + ".bmp",
             MakeData(i % 2 ? TDataKind::Repetitive : TDataKind::TextLike, 6500, static_cast<uint32_t>(i))});
    }
    const std::vector<uint8_t> package = BuildSkinPackage(files);
    ASSERT_TRUE(Read(package));
    EXPECT_EQ(stream_.Position(), stream_.Size()) << "the LZH stream is consumed exactly";
    for (const auto& file : files) EXPECT_EQ(Extract(file.Name), file.Data);
}

TEST(SkinArchiveWriter, RefusesWhatTheReaderCouldNotGiveBack) {
    EXPECT_THROW(BuildSkinArchive({{"", Bytes("x")}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinArchive({{"a\r\nb.bmp", Bytes("x")}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinArchive({{"a.bmp", Bytes("x")}}, 10000), std::invalid_argument);
    EXPECT_THROW(BuildSkinArchive({{"big.bmp", std::vector<uint8_t>(SkinMaxUnpackedSize)}}), std::invalid_argument);
}

TEST(SkinArchiveWriter, LaysOutHeaderExtraBlockNamesSizesAndData) {
    const std::vector<uint8_t> archive = BuildSkinArchive({{"A.ini", Bytes("xy")}, {"b.bmp", Bytes("z")}});
    const std::string names = "A.ini\r\nb.bmp\r\n";
    ASSERT_EQ(archive.size(), 16u + 117u + names.size() + 8u + 3u);
    EXPECT_EQ(ReadLE32(archive.data()), 60000u);
    EXPECT_EQ(ReadLE32(archive.data() + 4), names.size());
    EXPECT_EQ(std::string(archive.begin() + 133, archive.begin() + 133 + static_cast<long>(names.size())), names);
    EXPECT_EQ(ReadLE32(archive.data() + 133 + names.size()), 2u);
    EXPECT_EQ(ReadLE32(archive.data() + 137 + names.size()), 1u);
    EXPECT_EQ(std::string(archive.end() - 3, archive.end()), "xyz");
}
