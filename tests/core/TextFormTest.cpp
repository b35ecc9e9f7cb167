#include "framework/core/TextForm.h"

#include <gtest/gtest.h>

#include "framework/rtl/Filer.h"

namespace {

std::string Binary(std::string_view text) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string RoundTrip(std::string_view text) {
    TMemoryStream stream;
    ObjectTextToBinary(text, stream);
    stream.SetPosition(0);
    return ObjectBinaryToText(stream);
}

std::string ParseError(std::string_view text) {
    try {
        Binary(text);
    } catch (const EParserError& e) {
        return e.Message();
    }
    return {};
}

}  // namespace

TEST(TextForm, CanonicalTextSurvivesBothConversions) {
    const std::string text =
        "object Form1: TForm1\n"
        "  Left = 120\n"
        "  Top = -5\n"
        "  Big = 1099511627776\n"
        "  Caption = 'It''s '#13#10'two lines'\n"
        "  Font.Name = 'SimSun'\n"
        "  Visible = False\n"
        "  Parent = nil\n"
        "  Align = alClient\n"
        "  Options = [xoPreview, xoToolbarBK]\n"
        "  Empty = []\n"
        "  Lines.Strings = (\n"
        "    'first'\n"
        "    ''\n"
        "    (\n"
        "      1\n"
        "      2))\n"
        "  Panels = <\n"
        "    item\n"
        "      Width = 50\n"
        "    end\n"
        "    item\n"
        "    end>\n"
        "  SkinStream = {\n"
        "    0400000041424344}\n"
        "  object Button1: TButton\n"
        "    OnClick = Button1Click\n"
        "  end\n"
        "  object TUnnamed\n"
        "  end\n"
        "end\n";
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(TextForm, BinaryLayoutOfValues) {
    const std::string bytes = Binary("object F: TF\n  A = 300\n  B = {0102}\n  C = True\nend");
    const std::string expected = std::string("QFM1") + "\x02TF" +
                                 "\x01"
                                 "F" +
                                 "\x01"
                                 "A" +
                                 std::string("\x03\x2C\x01", 3) +
                                 "\x01"
                                 "B" +
                                 std::string("\x0A\x02\x00\x00\x00\x01\x02", 7) +
                                 "\x01"
                                 "C" +
                                 "\x09" + std::string("\x00\x00", 2);
    EXPECT_EQ(bytes, expected);
}

TEST(TextForm, StringsAreAnsiUnlessTheyNeedUnicode) {
    // Only ASCII and byte codes: an ANSI string, byte for byte.
    std::string bytes = Binary("object F: TF\n  S = 'a'#178#13\nend");
    EXPECT_NE(bytes.find(std::string("\x06\x03"
                                     "a\xB2\x0D",
                                     5)),
              std::string::npos);
    // UTF-8 text: a wide string (UTF-16 little-endian).
    bytes = Binary("object F: TF\n  S = '\xE6\x9F\xA5\xE8\xAF\xA2\xE2\x86\x93'\nend");  // 查询↓
    EXPECT_NE(bytes.find(std::string("\x12\x03\x00\x00\x00\xE5\x67\xE2\x8B\x93\x21", 11)), std::string::npos);
    EXPECT_EQ(RoundTrip("object F: TF\n  S = '\xE6\x9F\xA5'#13'x'\nend\n"),
              "object F: TF\n  S = '\xE6\x9F\xA5'#13'x'\nend\n");
    // Code points beyond 255 make it wide; beyond the BMP use surrogates.
    bytes = Binary("object F: TF\n  S = #$1F600\nend");
    EXPECT_NE(bytes.find(std::string("\x12\x02\x00\x00\x00\x3D\xD8\x00\xDE", 9)), std::string::npos);
    // Long strings become counted strings.
    bytes = Binary("object F: TF\n  S = '" + std::string(256, 'y') + "'\nend");
    EXPECT_NE(bytes.find(std::string("\x0C\x00\x01\x00\x00", 5)), std::string::npos);
}

TEST(TextForm, EveryStringHasOneSpelling) {
    // Overlong UTF-8 and encoded surrogates are refused rather than read as another text.
    EXPECT_EQ(ParseError("object F: TF\n  S = '\xC1\x89'\nend"), "Line 2: Invalid UTF-8 in string");
    EXPECT_EQ(ParseError("object F: TF\n  S = '\xED\xA0\x80'\nend"), "Line 2: Invalid UTF-8 in string");
    // A surrogate that does not pair up survives as a code; a pair becomes its character.
    EXPECT_EQ(RoundTrip("object F: TF\n  S = 'a'#55357'b'\nend\n"), "object F: TF\n  S = 'a'#55357'b'\nend\n");
    EXPECT_EQ(RoundTrip("object F: TF\n  S = #55357#56832\nend\n"), "object F: TF\n  S = '\xF0\x9F\x98\x80'\nend\n");
}

TEST(TextForm, StringPartsJoinAdjacentOrWithPlus) {
    EXPECT_EQ(RoundTrip("object F: TF\n  S = 'ab' +\n    'cd'#10 + 'e'\nend"),
              "object F: TF\n  S = 'abcd'#10'e'\nend\n");
    // Separate strings in a list stay separate.
    EXPECT_EQ(RoundTrip("object F: TF\n  L = ('a' 'b')\nend"), "object F: TF\n  L = (\n    'a'\n    'b')\nend\n");
}

TEST(TextForm, CommentsAndLayoutAreFree) {
    EXPECT_EQ(RoundTrip("// the main form\nobject F:TF A=1 // one\n B = [ x ,y ] end"),
              "object F: TF\n  A = 1\n  B = [x, y]\nend\n");
}

TEST(TextForm, SyntaxErrorsGiveTheLine) {
    EXPECT_EQ(ParseError("object F: TF\n  A = \nend"), "Line 3: Value expected");
    EXPECT_EQ(ParseError("object F: TF\n  A 1\nend"), "Line 2: '=' expected");
    EXPECT_EQ(ParseError("object F: TF\n  A = 'open\nend"), "Line 2: Unterminated string");
    EXPECT_EQ(ParseError("object F: TF\n  A = {12 3}\nend"), "Line 2: Odd number of hexadecimal digits");
    EXPECT_EQ(ParseError("object F: TF\n  A = {zz}\nend"), "Line 2: Invalid hexadecimal digit 'z'");
    EXPECT_EQ(ParseError("object F: TF\n  A = [a,]\nend"), "Line 2: Set element expected");
    EXPECT_EQ(ParseError("object F: TF\n  A = 99999999999999999999\nend"),
              "Line 2: Invalid number 99999999999999999999");
    EXPECT_EQ(ParseError("object F: TF\n  A = #1114112\nend"), "Line 2: Invalid character code #1114112");
    EXPECT_EQ(ParseError("object F: TF\n  A = 1\n"), "Line 3: Property name expected");
    EXPECT_EQ(ParseError("object F: TF\nend\nend"), "Line 3: Text after the final 'end'");
    EXPECT_EQ(ParseError("thing F: TF\nend"), "Line 1: 'object' expected");
    EXPECT_EQ(ParseError("object F: TF\n  P = <\n    thing\n  >\nend"), "Line 3: 'item' expected");
    EXPECT_EQ(ParseError("object F: TF\n  S = 'a' + 1\nend"), "Line 2: String expected after '+'");
    std::string deep = "object F: TF\n  A = ";
    deep += std::string(100, '(') + std::string(100, ')') + "\nend";
    EXPECT_EQ(ParseError(deep), "Line 2: Nested too deeply");
}

TEST(TextForm, MalformedBinaryIsAReadError) {
    TMemoryStream stream;
    stream.WriteBuffer(
        "QFM1\x02TF\x01"
        "F\x01"
        "A\x50",
        12);
    stream.SetPosition(0);
    EXPECT_THROW(ObjectBinaryToText(stream), EReadError);
    const std::string good = Binary("object F: TF\n  A = 'abc'\n  B = (\n    1)\nend");
    for (size_t length = 0; length < good.size(); ++length) {
        TReadOnlyMemoryStream cut(good.data(), static_cast<int64_t>(length));
        EXPECT_THROW(ObjectBinaryToText(cut), EReadError) << length;
    }
}
