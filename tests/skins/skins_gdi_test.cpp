// Both bundled packages, read from the program's resources by the package reader: every bitmap
// loads through the framework's GDI bitmap with the size and pixels its file holds, transparent
// magenta included.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bmp_reader.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/win/ResourceData.h"
#include "skin/data/SkinReader.h"

namespace {
TColor ColourOf(Rgb pixel) { return static_cast<TColor>(RGB(pixel.r, pixel.g, pixel.b)); }

// The package linked in under `name`, copied into a stream.
void LoadPackage(const wchar_t* name, TMemoryStream& package) {
    const std::span<const uint8_t> bytes = win::RcDataResource(nullptr, name);
    ASSERT_FALSE(bytes.empty());
    package.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    package.SetPosition(0);
}

void ExpectEveryBitmapLoads(const wchar_t* resource, int32_t expectedFiles) {
    TMemoryStream package;
    LoadPackage(resource, package);
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(package));
    ASSERT_EQ(reader.Count(), expectedFiles);
    int bitmaps = 0;
    for (int32_t i = 0; i < reader.Count(); ++i) {
        const std::string name = reader.Names().Strings(i);
        if (name.size() < 4 || name.substr(name.size() - 4) != ".bmp") continue;
        SCOPED_TRACE(name);
        TMemoryStream member;
        reader.ExtractFile(name, member);
        ASSERT_GT(member.Size(), 0);
        const std::vector<uint8_t> bytes(member.Memory(), member.Memory() + member.Size());
        const auto expected = DecodeBmp24(bytes);
        ASSERT_TRUE(expected.has_value());

        TBitmap bitmap;
        member.SetPosition(0);
        bitmap.LoadFromStream(member);
        ASSERT_EQ(bitmap.Width(), expected->Width());
        ASSERT_EQ(bitmap.Height(), expected->Height());
        // Corners (where the transparent key lives in rounded pictures), centre and a diagonal.
        const int w = expected->Width();
        const int h = expected->Height();
        const std::pair<int, int> points[] = {
            {0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}, {w / 3, h / 3}, {2 * w / 3, 2 * h / 3}};
        for (const auto& [x, y] : points)
            EXPECT_EQ(bitmap.Canvas().Pixels(x, y), ColourOf(expected->At(x, y))) << "(" << x << ", " << y << ")";
        ++bitmaps;
    }
    EXPECT_EQ(bitmaps, expectedFiles - 1);
}

TEST(BundledSkinsUnderGdi, DefaultBitmapsLoadWithTheirPixels) { ExpectEveryBitmapLoads(L"DEFAULT_SKN", 35); }

TEST(BundledSkinsUnderGdi, GraphiteBitmapsLoadWithTheirPixels) { ExpectEveryBitmapLoads(L"GRAPHITE_SKN", 40); }
}  // namespace
