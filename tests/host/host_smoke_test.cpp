// Host-side smoke test: the portable build and GoogleTest work natively.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

TEST(HostBuild, IsLittleEndianAsThePackageFormatAssumes) {
    EXPECT_EQ(std::endian::native, std::endian::little);
    const std::uint32_t value = 0x11223344;
    EXPECT_EQ(*reinterpret_cast<const std::uint8_t*>(&value), 0x44);
}
