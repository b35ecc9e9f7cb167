#include "framework/rtl/SysUtils.h"

#include <gtest/gtest.h>

TEST(StrToInt, ReadsDecimalAndDollarHexadecimal) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("+42"), 42);
    EXPECT_EQ(StrToInt("  12"), 12);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    // Hexadecimal is a 32-bit pattern, as colours are written.
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
}

TEST(StrToInt, RejectsMalformedAndOutOfRangeText) {
    for (const char* bad : {"", " ", "abc", "12a", "1 ", "$", "$G", "--1", "2147483648", "-2147483649", "$100000000",
                            "99999999999999999999", "0x"}) {
        int32_t value = 7;
        EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
        EXPECT_EQ(value, 7) << bad;
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
        EXPECT_EQ(StrToIntDef(bad, -5), -5) << bad;
    }
    try {
        StrToInt("x1");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(StrToInt64, CoversTheWholeRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(IntToStr, WritesDecimalAndHex) {
    EXPECT_EQ(IntToStr(-123), "-123");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToHex(0xFF00FF, 8), "00FF00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
}

TEST(LetterCase, ChangesOnlyAsciiLetters) {
    const std::string ansi = "Ab\xB2\xE9z";
    EXPECT_EQ(LowerCase(ansi), "ab\xB2\xE9z");
    EXPECT_EQ(UpperCase(ansi), "AB\xB2\xE9Z");
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareText("abc", "abd"), 0);
    EXPECT_GT(AnsiCompareText("abcd", "ABC"), 0);
    EXPECT_LT(AnsiCompareText("ab", "abc"), 0);
    EXPECT_TRUE(SameText("TButton", "tbutton"));
    EXPECT_FALSE(SameText("TButton", "TButton1"));
    // Non-ASCII bytes compare as unsigned bytes, after ASCII.
    EXPECT_GT(AnsiCompareText("\xB2", "z"), 0);
    EXPECT_LT(AnsiCompareStr("ABC", "abc"), 0);
}

TEST(Trim, DropsControlCharactersAndBlanks) {
    EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x \n"), "  x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\xA1\xA1"), "\xA1\xA1");
}

TEST(Booleans, ConvertBothWays) {
    EXPECT_EQ(BoolToStr(true), "True");
    EXPECT_TRUE(StrToBool("TRUE"));
    EXPECT_FALSE(StrToBool("false"));
    EXPECT_TRUE(StrToBool("-1"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_THROW(StrToBool("yes"), EConvertError);
}

TEST(ExceptionHierarchy, FamiliesDeriveFromException) {
    EXPECT_THROW(throw EReadError("r"), EStreamError);
    EXPECT_THROW(throw EFOpenError("o"), EStreamError);
    EXPECT_THROW(throw EConvertError("c"), Exception);
    EXPECT_THROW(throw EInvalidOperation("i"), std::exception);
}

TEST(FormatString, SubstitutesInOrder) {
    EXPECT_EQ(FormatString("List index out of bounds (%d)", {"5"}), "List index out of bounds (5)");
    EXPECT_EQ(FormatString("%s of %s, 100%%", {"a", "b"}), "a of b, 100%");
    EXPECT_EQ(FormatString("%s %s", {"only"}), "only ");
}

TEST(FileNames, SplitIntoFolderNameAndExtension) {
    EXPECT_EQ(ExtractFilePath("C:\\skins\\blue.skn"), "C:\\skins\\");
    EXPECT_EQ(ExtractFileName("C:\\skins\\blue.skn"), "blue.skn");
    EXPECT_EQ(ExtractFileExt("C:\\skins\\blue.skn"), ".skn");
    EXPECT_EQ(ExtractFileExt("/a.b/name"), "");
    EXPECT_EQ(ExtractFileName("C:name.ini"), "name.ini");
    EXPECT_EQ(ChangeFileExt("dir/form.frm", ".bin"), "dir/form.bin");
    EXPECT_EQ(ChangeFileExt("dir.x/form", ".bin"), "dir.x/form.bin");
}

TEST(AbortAndAssert, RaiseTheirOwnClasses) {
    EXPECT_THROW(Abort(), EAbort);
    EXPECT_NO_THROW(Assert(true, "fine"));
    try {
        Assert(false, "Bitmap is empty");
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "Bitmap is empty");
    }
}
