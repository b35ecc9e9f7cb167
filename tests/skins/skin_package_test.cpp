// The packed bundled skins, read back through the engine's own package reader: version 60000,
// the definition file first and found by ".ini", every member equal to its committed file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "skin/data/SkinReader.h"

namespace {
namespace fs = std::filesystem;

constexpr uint32_t kPackageVersion = 60000;

std::vector<uint8_t> Bytes(TMemoryStream& stream) {
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void ExpectPackageMatchesFolder(const std::string& skin, size_t expectedFiles) {
  SCOPED_TRACE(skin);
  const fs::path folder = fs::path(QUIRN_SOURCE_DIR) / "skins" / skin;
  std::vector<std::string> bitmaps;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".bmp") bitmaps.push_back(entry.path().filename().string());

  TMemoryStream package;
  package.LoadFromFile((fs::path(QUIRN_SKIN_PACKAGE_DIR) / (skin + ".skn")).string());
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadPackage(package));
  EXPECT_EQ(reader.Version(), kPackageVersion);
  ASSERT_EQ(static_cast<size_t>(reader.Count()), expectedFiles);
  ASSERT_EQ(bitmaps.size() + 1, expectedFiles);
  EXPECT_EQ(reader.Names().Strings(0), skin + ".ini");

  TMemoryStream ini;
  std::string found;
  reader.ExtractFirstMatch(".ini", ini, found);
  EXPECT_EQ(found, skin + ".ini");
  EXPECT_EQ(Bytes(ini), ReadFileBytes((folder / (skin + ".ini")).string()));

  for (const std::string& name : bitmaps) {
    TMemoryStream member;
    // Names are matched without regard to letter case, as the skin parser asks for them.
    std::string asked = name;
    for (char& c : asked) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    reader.ExtractFile(asked, member);
    EXPECT_EQ(Bytes(member), ReadFileBytes((folder / name).string())) << name;
  }
}

TEST(BundledPackages, DefaultReadsBackWith35FilesDefinitionFirst) { ExpectPackageMatchesFolder("default", 35); }

TEST(BundledPackages, GraphiteReadsBackWithEveryFileDefinitionFirst) { ExpectPackageMatchesFolder("graphite", 40); }
}  // namespace
