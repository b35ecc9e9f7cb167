// Identifiers of integer property values: the maps themselves, property text,
// and component streaming by identifier.
#include "framework/core/IdentMap.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestClasses.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/core/PropAccess.h"

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = identmap_detail::AsciiLower(c);
    return lower;
}

// Names are unique ignoring case, and values repeat only for the aliases named.
void ExpectWellFormed(const TIdentMap& map, const std::set<std::string>& aliases) {
    std::set<std::string> names;
    std::set<int64_t> values;
    for (const TIdentMapEntry& entry : map.Entries) {
        EXPECT_TRUE(names.insert(Lower(entry.Name)).second) << entry.Name << " twice in " << map.TypeName;
        const bool newValue = values.insert(entry.Value).second;
        EXPECT_EQ(newValue, !aliases.contains(std::string(entry.Name))) << entry.Name << " in " << map.TypeName;
        // Every name leads back to its value.
        EXPECT_EQ(IdentToInt(entry.Name, map), entry.Value) << entry.Name;
    }
}

std::string FormText(TComponent& root) {
    TMemoryStream stream;
    WriteComponent(stream, &root);
    stream.SetPosition(0);
    return ObjectBinaryToText(stream);
}

void ReadText(std::string_view text, TComponent& root) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    stream.SetPosition(0);
    ReadComponentRes(stream, &root);
}

std::string ReadErrorOf(std::string_view text) {
    TTestForm form(nullptr);
    try {
        ReadText(text, form);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return {};
}

const TPropInfo& Prop(const TObject* object, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (prop == nullptr) throw std::runtime_error("missing property " + std::string(name));
    return *prop;
}

}  // namespace

TEST(IdentMap, LookupsGoBothWaysAndIgnoreCaseOnNames) {
    EXPECT_EQ(IntToIdent(clBtnFace, ColorIdents), "clBtnFace");
    EXPECT_EQ(IntToIdent(clGreen, ColorIdents), "clGreen");
    EXPECT_EQ(IntToIdent(clNone, ColorIdents), "clNone");
    EXPECT_EQ(IdentToInt("clWindowText", ColorIdents), clWindowText);
    EXPECT_EQ(IdentToInt("CLWINDOWTEXT", ColorIdents), clWindowText);
    EXPECT_EQ(IdentToInt("clwindowtext", ColorIdents), clWindowText);
    EXPECT_EQ(IdentToInt("clMenuBar", ColorIdents), SystemColor(30));
    EXPECT_EQ(IntToIdent(crHandPoint, CursorIdents), "crHandPoint");
    EXPECT_EQ(IdentToInt("CRSIZEALL", CursorIdents), crSizeAll);
    EXPECT_EQ(IntToIdent(134, CharsetIdents), "GB2312_CHARSET");
    EXPECT_EQ(IdentToInt("chinesebig5_charset", CharsetIdents), 136);

    // Values without a name, and names that are not there (nor prefixes of one).
    EXPECT_FALSE(IntToIdent(RGBColor(1, 2, 3), ColorIdents).has_value());
    EXPECT_FALSE(IntToIdent(SystemColor(25), ColorIdents).has_value());
    EXPECT_FALSE(IntToIdent(5, CursorIdents).has_value());
    EXPECT_FALSE(IdentToInt("clBtn", ColorIdents).has_value());
    EXPECT_FALSE(IdentToInt("clBtnFaces", ColorIdents).has_value());
    EXPECT_FALSE(IdentToInt("", ColorIdents).has_value());
    EXPECT_FALSE(IdentToInt("crHandPoint", ColorIdents).has_value());
}

TEST(IdentMap, AliasesAreReadButTheFirstNameIsWritten) {
    EXPECT_EQ(IdentToInt("clLtGray", ColorIdents), clSilver);
    EXPECT_EQ(IdentToInt("clDkGray", ColorIdents), clGray);
    EXPECT_EQ(IntToIdent(clSilver, ColorIdents), "clSilver");
    EXPECT_EQ(IntToIdent(clGray, ColorIdents), "clGray");
    EXPECT_EQ(IdentToInt("HANGUL_CHARSET", CharsetIdents), 129);
    EXPECT_EQ(IntToIdent(129, CharsetIdents), "HANGEUL_CHARSET");
}

TEST(IdentMap, MapsAreCompleteAndUnambiguous) {
    ExpectWellFormed(ColorIdents, {"clLtGray", "clDkGray"});
    ExpectWellFormed(CursorIdents, {});
    ExpectWellFormed(CharsetIdents, {"HANGUL_CHARSET"});
    // Every system colour index but the unused 25 has a name.
    constexpr int kUnusedSystemColorIndex = 25;
    constexpr int kLastSystemColorIndex = 30;
    for (int index = 0; index <= kLastSystemColorIndex; ++index)
        EXPECT_EQ(IntToIdent(SystemColor(index), ColorIdents).has_value(), index != kUnusedSystemColorIndex) << index;
    // The sixteen basic colours are the corners and midpoints of the RGB cube.
    int basic = 0;
    for (const uint8_t r : {0x00, 0x80, 0xFF})
        for (const uint8_t g : {0x00, 0x80, 0xFF})
            for (const uint8_t b : {0x00, 0x80, 0xFF}) basic += IntToIdent(RGBColor(r, g, b), ColorIdents).has_value();
    EXPECT_EQ(basic, 15);  // all but clSilver (C0C0C0) lie on that grid
    EXPECT_EQ(IntToIdent(RGBColor(0xC0, 0xC0, 0xC0), ColorIdents), "clSilver");
}

TEST(IdentMap, OnlyIntegerPropertiesTakeIdentifiers) {
    TPropInfo text("Caption", typeinfo_detail::StringTypeInfo(), nullptr, nullptr);
    EXPECT_THROW(TPropertyBuilder(text).Identifiers(ColorIdents), EPropertyError);
    EXPECT_EQ(text.Identifiers(), nullptr);
    TTestWidget widget(nullptr);
    EXPECT_EQ(Prop(&widget, "Color").Identifiers(), &ColorIdents);
    EXPECT_EQ(Prop(&widget, "Cursor").Identifiers(), &CursorIdents);
    EXPECT_EQ(Prop(widget.Font(), "Charset").Identifiers(), &CharsetIdents);
    EXPECT_EQ(Prop(&widget, "Count").Identifiers(), nullptr);
}

TEST(IdentifierText, GetGivesTheIdentifierOrTheNumber) {
    TTestWidget widget(nullptr);
    widget.SetColor(clBtnFace);
    EXPECT_EQ(*GetPropAsText(&widget, "Color"), "clBtnFace");
    widget.SetColor(RGBColor(1, 2, 3));
    EXPECT_EQ(*GetPropAsText(&widget, "Color"), "197121");
    widget.SetCursor(crHandPoint);
    EXPECT_EQ(*GetPropAsText(&widget, "Cursor"), "crHandPoint");
    widget.SetCursor(7);  // an application's own cursor
    EXPECT_EQ(*GetPropAsText(&widget, "Cursor"), "7");
    widget.Font()->SetCharset(0);
    EXPECT_EQ(*GetPropAsText(widget.Font(), "Charset"), "ANSI_CHARSET");
    // A property without identifiers stays a number even where a map has a name.
    widget.SetCount(clRed);
    EXPECT_EQ(*GetPropAsText(&widget, "Count"), "255");
}

TEST(IdentifierText, SetTakesIdentifiersInAnyCaseOrNumbers) {
    TTestWidget widget(nullptr);
    ASSERT_TRUE(SetPropAsText(&widget, "Color", "CLBTNFACE"));
    EXPECT_EQ(widget.Color(), clBtnFace);
    SetPropAsText(&widget, "Color", " clGreen ");
    EXPECT_EQ(widget.Color(), clGreen);
    SetPropAsText(&widget, "Color", "197121");
    EXPECT_EQ(widget.Color(), RGBColor(1, 2, 3));
    SetPropAsText(&widget, "Color", "-16777201");
    EXPECT_EQ(widget.Color(), clBtnFace);
    SetPropAsText(&widget, "Color", "$FF");
    EXPECT_EQ(widget.Color(), clRed);
    SetPropAsText(&widget, "Cursor", "crhandpoint");
    EXPECT_EQ(widget.Cursor(), crHandPoint);
    SetPropAsText(widget.Font(), "Charset", "GB2312_CHARSET");
    EXPECT_EQ(widget.Font()->Charset(), 134);
}

TEST(IdentifierText, UnknownNamesAreConversionErrorsThatSayWhat) {
    TTestWidget widget(nullptr);
    widget.SetColor(clRed);
    try {
        SetPropAsText(&widget, "Color", "clBogus");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_NE(e.Message().find("'clBogus'"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("TColor"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("property Color"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(widget.Color(), clRed);
    EXPECT_THROW(SetPropAsText(&widget, "Cursor", "crHandPointer"), EConvertError);
    EXPECT_THROW(SetPropAsText(&widget, "Cursor", "clRed"), EConvertError);  // another map's name
    EXPECT_THROW(SetPropAsText(&widget, "Color", ""), EConvertError);
    // Numbers keep their range check; names stay confined to mapped properties.
    EXPECT_THROW(SetPropAsText(&widget, "Cursor", "40000"), EPropertyError);
    EXPECT_THROW(SetPropAsText(widget.Font(), "Charset", "256"), EPropertyError);
    EXPECT_THROW(SetPropAsText(&widget, "Count", "clRed"), EConvertError);
    EXPECT_EQ(widget.Cursor(), crDefault);
}

TEST(IdentifierStreaming, IdentifiersAndNumbersReadAlike) {
    const char* byName =
        "object F: TTestForm\n"
        "  Color = clBtnFace\n"
        "  object W1: TTestWidget\n"
        "    Color = CLGREEN\n"
        "    Cursor = crHandPoint\n"
        "    Font.Charset = GB2312_CHARSET\n"
        "  end\n"
        "end\n";
    const char* byNumber =
        "object F: TTestForm\n"
        "  Color = -16777201\n"
        "  object W1: TTestWidget\n"
        "    Color = 32768\n"
        "    Cursor = -21\n"
        "    Font.Charset = 134\n"
        "  end\n"
        "end\n";
    for (const char* text : {byName, byNumber}) {
        TTestForm form(nullptr);
        ReadText(text, form);
        auto* widget = ObjectAs<TTestWidget>(form.FindComponent("W1"));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(form.Color(), clBtnFace) << text;
        EXPECT_EQ(widget->Color(), clGreen) << text;
        EXPECT_EQ(widget->Cursor(), crHandPoint) << text;
        EXPECT_EQ(widget->Font()->Charset(), 134) << text;
    }
}

TEST(IdentifierStreaming, WritingUsesIdentifiersWhereTheyExist) {
    TTestForm form(nullptr);
    form.SetName("F");
    form.SetColor(clBtnFace);
    auto* named = new TTestWidget(&form);
    named->SetName("W1");
    named->SetColor(clNone);
    named->SetCursor(crSizeAll);
    named->Font()->SetCharset(0);
    auto* unnamed = new TTestWidget(&form);
    unnamed->SetName("W2");
    unnamed->SetColor(RGBColor(1, 2, 3));
    unnamed->SetCursor(3);
    unnamed->Font()->SetCharset(100);
    const std::string text = FormText(form);
    EXPECT_EQ(text,
              "object F: TTestForm\n"
              "  Color = clBtnFace\n"
              "  object W1: TTestWidget\n"
              "    Font.Charset = ANSI_CHARSET\n"
              "    Color = clNone\n"
              "    Cursor = crSizeAll\n"
              "  end\n"
              "  object W2: TTestWidget\n"
              "    Font.Charset = 100\n"
              "    Color = 197121\n"
              "    Cursor = 3\n"
              "  end\n"
              "end\n");
    // And back: the copy holds the same values.
    TTestForm copy(nullptr);
    ReadText(text, copy);
    EXPECT_EQ(copy.Color(), clBtnFace);
    auto* w1 = ObjectAs<TTestWidget>(copy.FindComponent("W1"));
    auto* w2 = ObjectAs<TTestWidget>(copy.FindComponent("W2"));
    ASSERT_TRUE(w1 != nullptr && w2 != nullptr);
    EXPECT_EQ(w1->Color(), clNone);
    EXPECT_EQ(w1->Cursor(), crSizeAll);
    EXPECT_EQ(w1->Font()->Charset(), 0);
    EXPECT_EQ(w2->Color(), RGBColor(1, 2, 3));
    EXPECT_EQ(w2->Cursor(), 3);
    EXPECT_EQ(w2->Font()->Charset(), 100);
}

TEST(IdentifierStreaming, TextFormConversionKeepsIdentifiers) {
    const std::string text =
        "object F: TTestForm\n"
        "  Color = clBtnFace\n"
        "  Cursor = crHandPoint\n"
        "end\n";
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    EXPECT_EQ(ObjectBinaryToText(binary), text);
}

TEST(IdentifierStreaming, UnknownIdentifiersNameComponentPropertyAndIdentifier) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  object W1: TTestWidget\n    Color = clBogus\n  end\nend",
         "Error reading W1.Color: Unknown identifier clBogus for property Color (not a TColor)"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Cursor = clRed\n  end\nend",
         "Error reading W1.Cursor: Unknown identifier clRed for property Cursor (not a TCursor)"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Font.Charset = LATIN_CHARSET\n  end\nend",
         "Error reading W1.Font.Charset: Unknown identifier LATIN_CHARSET for property Charset"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Count = clRed\n  end\nend",
         "Error reading W1.Count: Property Count takes no identifiers (found clRed)"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Color = True\n  end\nend", "Error reading W1.Color"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Color = 'clRed'\n  end\nend", "Error reading W1.Color"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Cursor = 40000\n  end\nend", "Error reading W1.Cursor"},
    };
    for (const Case& c : cases) {
        const std::string message = ReadErrorOf(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << message;
    }
}
