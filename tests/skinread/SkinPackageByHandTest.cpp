// TSkinReader on packages laid out byte by byte in the test, from the package layout alone (not by the
// packer's archive writer or encoder): the unpacked size, then an LZH stream of the reference coder that
// holds the archive's header, extra block, name list, size table and member files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReferenceLiteralCoder.h"
#include "TestData.h"
#include "framework/rtl/Strings.h"
#include "skin/data/SkinRead.h"

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void Append(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// Each version's extra block between the 16-byte header and the name list.
struct VersionLayout {
    uint32_t Version;
    size_t ExtraBlock;
};
constexpr VersionLayout kLayouts[] = {{20000, 0}, {30000, 256}, {40000, 80}, {50000, 48}, {60000, 117}, {70000, 69}};

struct Member {
    std::string StoredName;  // as the name list holds it
    std::string Data;
};

// Four members; the name list ends its lines with CR LF, LF and CR, and its last line with nothing.
const std::vector<Member>& Members() {
    static const std::vector<Member> members = {
        {"Blue Skin.INI", "[Form]\r\nFrameLeft=FrameLeft.bmp\r\n"},
        {"FrameLeft.bmp", std::string("BM\x00\x01\x02\xFF", 6)},
        {"TAB.bmp", "tab"},
        {"empty.bmp", ""},
    };
    return members;
}

std::vector<uint8_t> ArchiveByHand(const VersionLayout& layout) {
    const std::string nameList = "Blue Skin.INI\r\nFrameLeft.bmp\nTAB.bmp\rempty.bmp";
    std::vector<uint8_t> archive;
    Put32(archive, layout.Version);
    Put32(archive, static_cast<uint32_t>(nameList.size()));
    for (int i = 0; i < 8; ++i) archive.push_back(0xA5);  // header bytes 8..15: not interpreted
    for (size_t i = 0; i < layout.ExtraBlock; ++i) archive.push_back(static_cast<uint8_t>(0x30 + i % 50));
    Append(archive, nameList);
    for (const Member& member : Members()) Put32(archive, static_cast<uint32_t>(member.Data.size()));
    for (const Member& member : Members()) Append(archive, member.Data);
    return archive;
}

std::vector<uint8_t> PackageByHand(const std::vector<uint8_t>& archive) {
    std::vector<uint8_t> package;
    Put32(package, static_cast<uint32_t>(archive.size()));
    ReferenceLiteralCoder coder;
    const std::vector<uint8_t> stream = PackBits(coder.CodeLiterals(archive));
    package.insert(package.end(), stream.begin(), stream.end());
    return package;
}

std::string Extracted(const TSkinReader& reader, std::string_view name) {
    TMemoryStream target;
    reader.ExtractFile(name, target);
    EXPECT_EQ(target.Position(), 0);
    const std::vector<uint8_t> bytes = Contents(target);
    return {bytes.begin(), bytes.end()};
}

// Captures the reader's messages for the life of each test.
class SkinPackageByHand : public testing::Test {
protected:
    void SetUp() override {
        previous = TSkinReader::SetMessageProc([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override { TSkinReader::SetMessageProc(std::move(previous)); }

    std::vector<std::string> messages;
    TSkinReader::TMessageProc previous;
};

}  // namespace

TEST_F(SkinPackageByHand, EveryVersionsLayoutReadsBackItsMembers) {
    for (const VersionLayout& layout : kLayouts) {
        SCOPED_TRACE(layout.Version);
        TMemoryStream package;
        Fill(package, PackageByHand(ArchiveByHand(layout)));
        TSkinReader reader;
        ASSERT_TRUE(reader.ReadPackage(package));
        EXPECT_EQ(reader.Version(), layout.Version);
        ASSERT_EQ(reader.Count(), 4);
        EXPECT_EQ(reader.Names().Strings(0), "blue skin.ini");
        EXPECT_EQ(reader.Names().Strings(1), "frameleft.bmp");
        EXPECT_EQ(reader.Names().Strings(2), "tab.bmp");
        EXPECT_EQ(reader.Names().Strings(3), "empty.bmp");
        for (int32_t i = 0; i < 4; ++i) {
            const Member& member = Members()[static_cast<size_t>(i)];
            EXPECT_EQ(reader.Sizes(i), static_cast<int32_t>(member.Data.size()));
            EXPECT_EQ(Extracted(reader, member.StoredName), member.Data) << member.StoredName;
        }
        EXPECT_EQ(Extracted(reader, "FRAMELEFT.BMP"), Members()[1].Data);
        EXPECT_EQ(Extracted(reader, "frameleft"), "") << "names match whole";

        TMemoryStream ini;
        std::string found = "unchanged";
        reader.ExtractFirstMatch(".ini", ini, found);
        EXPECT_EQ(found, "blue skin.ini");
        EXPECT_EQ(Contents(ini), Bytes(Members()[0].Data));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinPackageByHand, AnUnknownVersionLeavesTheReaderEmptyWithItsMessage) {
    TMemoryStream package;
    Fill(package, PackageByHand(ArchiveByHand({10000, 0})));
    TSkinReader reader;
    EXPECT_FALSE(reader.ReadPackage(package));
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_EQ(Extracted(reader, "tab.bmp"), "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "This is Older Skin File\rPlease update to new version !");
}
