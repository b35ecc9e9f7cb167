// The layer check: the tree itself keeps the layer order and has no circles of includes, and the check
// really fails (naming file and line) on a planted upward include and a planted circle.
#include <gtest/gtest.h>

#include <fstream>

#include "LayerCheck.h"

namespace fs = std::filesystem;
using layercheck::CheckLayers;
using layercheck::FormatFindings;

namespace {

// A small tree of its own under the temporary folder, removed afterwards.
class PlantedTree : public ::testing::Test {
protected:
    void SetUp() override {
        FRoot = fs::temp_directory_path() /
                ("layer_check_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(FRoot);
        // A clean base: each layer includes the one below it, headers from the root, sources their own header
        // beside them.
        Write("framework/rtl/Object.h", {"#pragma once"});
        Write("framework/core/Component.h", {"#pragma once", "#include \"framework/rtl/Object.h\""});
        Write("framework/core/Component.cpp", {"#include \"Component.h\""});
        Write("framework/controls/Control.h", {"#pragma once", "#include \"framework/core/Component.h\""});
        Write("framework/controls/Control.cpp", {"#include \"framework/controls/Control.h\"", "#include <windows.h>"});
        Write("framework/controls/Form.h", {"#pragma once", "#include \"framework/controls/Control.h\""});
        Write("framework/controls/Form.cpp", {"#include \"framework/controls/Form.h\""});
        Write("skin/data/SkinData.h", {"#pragma once", "#include \"framework/controls/Form.h\""});
        Write("skin/form/SkinManage.h", {"#pragma once", "#include \"skin/data/SkinData.h\""});
        Write("app/Unit1.cpp",
              {"#include \"skin/form/SkinManage.h\"", "#include \"gtest/gtest.h\"", "#include \"Unit1.frm.h\""});
    }
    void TearDown() override { fs::remove_all(FRoot); }

    void Write(const std::string& file, const std::vector<std::string>& lines) {
        fs::create_directories((FRoot / file).parent_path());
        std::ofstream out(FRoot / file);
        for (const std::string& line : lines) out << line << '\n';
    }

    fs::path FRoot;
};

}  // namespace

TEST(LayerCheck, SourceTreeKeepsTheLayerOrderWithoutCircles) {
    const auto findings = CheckLayers(QUIRN_SOURCE_DIR);
    EXPECT_TRUE(findings.empty()) << FormatFindings(findings);
}

TEST_F(PlantedTree, CleanTreePasses) {
    const auto findings = CheckLayers(FRoot);
    EXPECT_TRUE(findings.empty()) << FormatFindings(findings);
}

TEST_F(PlantedTree, UpwardIncludeIsNamedWithFileAndLine) {
    // Both targets include nothing back, so only the direction is at fault.
    Write("framework/controls/Cursors.h", {"#pragma once"});
    Write("skin/form/SkinDraw.h", {"#pragma once"});
    Write("framework/core/Component.cpp",
          {"#include \"Component.h\"", "", "  #  include \"framework/controls/Cursors.h\"  // reaches up"});
    Write("skin/data/SkinData.cpp", {"#include \"skin/data/SkinData.h\"", "#include \"skin/form/SkinDraw.h\""});
    const auto findings = CheckLayers(FRoot);
    ASSERT_EQ(findings.size(), 2u) << FormatFindings(findings);
    EXPECT_EQ(findings[0].File, "framework/core/Component.cpp");
    EXPECT_EQ(findings[0].Line, 3);
    EXPECT_EQ(findings[0].Message,
              "includes framework/controls/Cursors.h of layer framework/controls, above its own layer framework/core");
    EXPECT_EQ(findings[1].File, "skin/data/SkinData.cpp");
    EXPECT_EQ(findings[1].Line, 2);
    EXPECT_NE(findings[1].Message.find("skin/form/SkinDraw.h of layer skin/form"), std::string::npos);
    EXPECT_EQ(FormatFindings(findings).substr(0, 32), "framework/core/Component.cpp:3: ");
}

TEST_F(PlantedTree, UpwardIncludeThatClosesACircleGivesBothFindings) {
    Write("framework/core/Component.cpp", {"#include \"Component.h\"", "#include \"framework/controls/Form.h\""});
    const auto findings = CheckLayers(FRoot);
    ASSERT_EQ(findings.size(), 2u) << FormatFindings(findings);
    EXPECT_NE(findings[0].Message.find("closes a circle of includes between 3 files"), std::string::npos);
    EXPECT_NE(findings[1].Message.find("above its own layer framework/core"), std::string::npos);
}

TEST_F(PlantedTree, UpwardIncludeOfAMissingFileStillCounts) {
    Write("framework/rtl/Object.cpp", {"#include \"framework/graphics/Gone.h\""});
    const auto findings = CheckLayers(FRoot);
    ASSERT_EQ(findings.size(), 1u) << FormatFindings(findings);
    EXPECT_EQ(findings[0].File, "framework/rtl/Object.cpp");
}

TEST_F(PlantedTree, CircleThroughASourceFileIsNamedWithEveryInclude) {
    // Control.cpp reaches Form, whose header builds on Control: the two files need each other.
    Write("framework/controls/Control.cpp",
          {"#include \"framework/controls/Control.h\"", "#include \"framework/controls/Form.h\""});
    const auto findings = CheckLayers(FRoot);
    ASSERT_EQ(findings.size(), 1u) << FormatFindings(findings);
    EXPECT_EQ(findings[0].File, "framework/controls/Control.cpp");
    EXPECT_EQ(findings[0].Line, 2);
    EXPECT_EQ(findings[0].Message,
              "closes a circle of includes between 2 files: framework/controls/Control.cpp:2 -> "
              "framework/controls/Form.h; framework/controls/Form.h:2 -> framework/controls/Control.h");
}

TEST_F(PlantedTree, CircleOfHeadersAcrossThreeFilesAndRelativeIncludes) {
    Write("framework/graphics/Bitmap.h", {"#pragma once", "#include \"Canvas.h\""});
    Write("framework/graphics/Canvas.h", {"#pragma once", "#include \"Brush.h\""});
    Write("framework/graphics/Brush.h", {"#pragma once", "", "#include \"../graphics/Bitmap.h\""});
    const auto findings = CheckLayers(FRoot);
    ASSERT_EQ(findings.size(), 1u) << FormatFindings(findings);
    EXPECT_EQ(findings[0].File, "framework/graphics/Bitmap.h");
    EXPECT_NE(findings[0].Message.find("between 3 files"), std::string::npos);
    EXPECT_NE(findings[0].Message.find("framework/graphics/Brush.h:3 -> framework/graphics/Bitmap.h"),
              std::string::npos)
        << findings[0].Message;
}

TEST_F(PlantedTree, SameLayerAndDownwardIncludesWithoutCirclesPass) {
    Write("framework/controls/Menu.h", {"#pragma once", "#include \"framework/core/Component.h\""});
    Write("framework/controls/Menu.cpp", {"#include \"Menu.h\"", "#include \"framework/rtl/Object.h\""});
    Write("framework/controls/Form.cpp", {"#include \"framework/controls/Form.h\"", "#include \"Menu.h\""});
    Write("skin/controls/SkinButton.cpp", {"#include \"skin/form/SkinManage.h\""});
    const auto findings = CheckLayers(FRoot);
    EXPECT_TRUE(findings.empty()) << FormatFindings(findings);
}
