// The kit's expected pictures and the engine's drawing routines follow the same composition rules: for the
// bundled skins' own frame bitmaps, the kit's nine-slice (test code on plain GDI) and CreateSkinElementBitmap
// give the same pixels. A frame test that fails then points at where the engine put an element, not at a
// disagreement between the kit and the routines.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SkinImages.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/Streams.h"
#include "skin/data/SkinDraw.h"

namespace {

TEST(KitMatchesDrawingRoutines, NineSlicesOfTheBundledSkinsFrameBitmaps) {
    for (const wchar_t* skinName : {L"default", L"graphite"}) {
        const std::wstring wideName = skinName;
        const std::string name(wideName.begin(), wideName.end());
        SkinPackageImages skin(BundledSkinPackage(skinName));
        ASSERT_TRUE(skin.Loaded());
        for (const char* side : {"Top", "Bottom", "Left", "Right"}) {
            const std::string member = skin.Value("Personality", side);
            const std::vector<uint8_t> bytes = skin.MemberBytes(member);
            ASSERT_FALSE(bytes.empty()) << member;
            TReadOnlyMemoryStream stream(bytes.data(), int64_t(bytes.size()));
            TBitmap element;
            element.LoadFromStream(stream);
            const PixelImage source = DecodeBmp(bytes);
            // Top and bottom frames are stacked, left and right side by side (two frames: active, inactive).
            const bool stacked = std::string(side) == "Top" || std::string(side) == "Bottom";
            const RECT margins{6, 5, 7, 4};
            for (bool tile : {false, true})
                for (int frame : {1, 2}) {
                    const RECT cell = FrameCellOf(source, 2, frame, stacked);
                    const int width = stacked ? 333 : cell.right - cell.left;
                    const int height = stacked ? cell.bottom - cell.top : 271;
                    auto composed =
                        CreateSkinElementBitmap(RECT{0, 0, width, height}, element, margins, stacked, tile, 2, frame);
                    const PixelImage expected = NineSliced(source, cell, margins, width, height, tile);
                    EXPECT_TRUE(ImageMatchesAt(
                        CaptureBitmap(composed->Handle()), POINT{0, 0}, expected,
                        name + "-" + member + (tile ? "-tiled-" : "-stretched-") + std::to_string(frame)));
                }
        }
    }
}

}  // namespace
