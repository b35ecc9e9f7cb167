// The framework's own classes publish their colours, cursors and charsets with
// identifiers, and their forms stream them by name (Windows side).
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/controls/Button.h"
#include "framework/controls/Label.h"
#include "framework/core/PropAccess.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/Pen.h"

namespace {

// Every class the framework registers for streaming that may carry such properties.
constexpr const char* kFrameworkClasses[] = {
    "TControl",  "TWinControl", "TGraphicControl", "TCustomControl", "TForm",      "TButton",
    "TLabel",    "TEdit",       "TMemo",           "TGroupBox",      "TStatusBar", "TTimer",
    "TMainMenu", "TPopupMenu",  "TMenuItem",       "THintWindow",
};

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The map a property of that name must carry; nullptr for none.
const TIdentMap* ExpectedMap(const std::string& name) {
    if (EndsWith(name, "Color")) return &ColorIdents;
    if (EndsWith(name, "Cursor")) return &CursorIdents;
    if (EndsWith(name, "Charset")) return &CharsetIdents;
    return nullptr;
}

// Checks the integer properties of cls and of the objects it publishes (Font, Brush, ...).
void CheckClass(const TClass& cls, const std::string& path, std::set<const TClass*>& seen, int& checked) {
    if (!seen.insert(&cls).second) return;
    for (const TPropInfo* prop : GetPropList(cls)) {
        const std::string name = path + prop->Name();
        if (prop->Kind() == tkClass && prop->PropType().ClassType != nullptr) {
            CheckClass(*prop->PropType().ClassType, name + ".", seen, checked);
            continue;
        }
        if (prop->Kind() != tkInteger) continue;
        const TIdentMap* expected = ExpectedMap(prop->Name());
        EXPECT_EQ(prop->Identifiers(), expected) << cls.ClassName() << ": " << name;
        if (expected != nullptr) ++checked;
    }
}

std::string Text(TComponent& root) {
    TMemoryStream stream;
    WriteComponent(stream, &root);
    stream.SetPosition(0);
    return ObjectBinaryToText(stream);
}

std::unique_ptr<TButton> ReadButton(std::string_view text) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    stream.SetPosition(0);
    return std::unique_ptr<TButton>(ObjectAs<TButton>(ReadComponent(stream)));
}

}  // namespace

TEST(FrameworkIdentifiers, EveryColourCursorAndCharsetPropertyHasItsMap) {
    std::vector<const TClass*> classes = {&TFont::StaticClass(), &TBrush::StaticClass(), &TPen::StaticClass(),
                                          &TImageList::StaticClass()};
    for (const char* className : kFrameworkClasses) {
        const TClass* cls = GetClass(className);
        ASSERT_NE(cls, nullptr) << className << " is not registered";
        classes.push_back(cls);
    }
    int checked = 0;
    for (const TClass* cls : classes) {
        std::set<const TClass*> seen;
        CheckClass(*cls, "", seen, checked);
    }
    // Control Color and Cursor, Font Color and Charset, Brush and Pen Color, image list BkColor.
    EXPECT_GE(checked, 7);
    const TPropInfo* fontColor = GetPropInfo(TFont::StaticClass(), "Color");
    ASSERT_NE(fontColor, nullptr);
    EXPECT_EQ(fontColor->Identifiers(), &ColorIdents);
}

TEST(FrameworkIdentifiers, AButtonReadsTheSameByNameAndByNumber) {
    const auto byName = ReadButton(
        "object B: TButton\n"
        "  Color = clBtnFace\n"
        "  Cursor = crHandPoint\n"
        "  Font.Charset = GB2312_CHARSET\n"
        "  Font.Color = clGreen\n"
        "end\n");
    const auto byNumber = ReadButton(
        "object B: TButton\n"
        "  Color = -16777201\n"
        "  Cursor = -21\n"
        "  Font.Charset = 134\n"
        "  Font.Color = 32768\n"
        "end\n");
    for (TButton* button : {byName.get(), byNumber.get()}) {
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Color(), clBtnFace);
        EXPECT_EQ(button->Cursor(), crHandPoint);
        EXPECT_EQ(button->Font()->Charset(), GB2312_CHARSET);
        EXPECT_EQ(button->Font()->Color(), clGreen);
    }
    // Written back, the values carry their names.
    const std::string text = Text(*byNumber);
    for (const char* line :
         {"Color = clBtnFace\n", "Cursor = crHandPoint\n", "Font.Charset = GB2312_CHARSET\n", "Font.Color = clGreen\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing in\n" << text;
}

TEST(FrameworkIdentifiers, UnnamedValuesStayNumbers) {
    TLabel label(nullptr);
    label.SetName("L");
    label.SetColor(RGBColor(1, 2, 3));
    label.Font()->SetColor(RGBColor(0x10, 0x20, 0x30));
    label.SetCursor(5);
    const std::string text = Text(label);
    EXPECT_NE(text.find("  Color = 197121\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Font.Color = 3153936\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Cursor = 5\n"), std::string::npos) << text;
    EXPECT_EQ(*GetPropAsText(&label, "Color"), "197121");
    ASSERT_TRUE(SetPropAsText(&label, "Color", "clInfoBk"));
    EXPECT_EQ(label.Color(), clInfoBk);
    EXPECT_EQ(*GetPropAsText(label.Font(), "Charset"), "DEFAULT_CHARSET");
    EXPECT_THROW(SetPropAsText(&label, "Cursor", "crPointingHand"), EConvertError);
}
