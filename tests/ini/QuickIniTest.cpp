// Tests of TQuickIni: look-up rules, line splitting and hostile text.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/SysUtils.h"
#include "skin/data/QuickIni.h"

namespace {

void LoadText(TQuickIni& Ini, std::string_view Text) {
    TMemoryStream Stream;
    if (!Text.empty()) Stream.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size()));
    Stream.SetPosition(0);
    Ini.LoadFromStream(&Stream);
}

std::string Read(const TQuickIni& Ini, std::string_view Section, std::string_view Key) {
    return Ini.ReadString(Section, Key, "<default>");
}

std::string SectionNames(const TQuickIni& Ini) {
    TStringList Names;
    Ini.ReadSections(&Names);
    std::string Joined;
    for (int32_t I = 0; I < Names.Count(); ++I) Joined += "|" + Names.Strings(I);
    return Joined;
}

TEST(QuickIniSections, HeaderIsFoundRegardlessOfLetterCaseButSpacesInsideCount) {
    TQuickIni Ini;
    LoadText(Ini, "[Colours]\r\nA=1\r\n[ Spaced ]\r\nB=2\r\n");
    EXPECT_EQ(Ini.SectionIndex("COLOURS"), 0);
    EXPECT_EQ(Ini.SectionIndex("colours"), 0);
    EXPECT_EQ(Ini.SectionIndex("Colours"), 0);
    EXPECT_EQ(Ini.SectionIndex("Spaced"), -1);
    EXPECT_EQ(Ini.SectionIndex(" Spaced "), 2);
    EXPECT_EQ(Ini.SectionIndex("Missing"), -1);
    EXPECT_EQ(Read(Ini, "Spaced", "B"), "<default>");
    EXPECT_EQ(Read(Ini, " SPACED ", "b"), "2");
}

TEST(QuickIniSections, SectionIndexCountsOnlyRetainedLines) {
    TQuickIni Ini;
    LoadText(Ini, "; comment\r\n\r\n   \r\n[First]\r\n;x=1\r\nKey=1\r\n\r\n[Second]\r\n");
    EXPECT_EQ(Ini.Lines().Count(), 3);
    EXPECT_EQ(Ini.SectionIndex("First"), 0);
    EXPECT_EQ(Ini.SectionIndex("Second"), 2);
}

TEST(QuickIniSections, ReadSectionsGivesTrimmedNamesInFileOrderAndReplacesTheList) {
    TQuickIni Ini;
    LoadText(Ini, "[Zeta]\n[ alpha ]\n[]\n[Zeta]\n[a=b]\nnot[a]header\n[open\nclose]\n");
    TStringList Names;
    Names.Add("stale");
    Ini.ReadSections(&Names);
    ASSERT_EQ(Names.Count(), 5);
    EXPECT_EQ(Names.Strings(0), "Zeta");
    EXPECT_EQ(Names.Strings(1), "alpha");
    EXPECT_EQ(Names.Strings(2), "");
    EXPECT_EQ(Names.Strings(3), "Zeta");
    EXPECT_EQ(Names.Strings(4), "a=b");
    for (int32_t I = 0; I < Names.Count(); ++I) EXPECT_EQ(Names.Objects(I), nullptr);
}

TEST(QuickIniSections, ReadSectionsWithoutListFailsTheAssertion) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\n");
    try {
        Ini.ReadSections(nullptr);
        FAIL() << "no assertion failure";
    } catch (const EAssertionFailed& Failure) {
        EXPECT_NE(Failure.Message().find("The parameter Strings is unassigned!"), std::string::npos);
        EXPECT_NE(Failure.Message().find("Pellixini"), std::string::npos);
        EXPECT_NE(Failure.Message().find("317"), std::string::npos);
    }
}

TEST(QuickIniSections, SectionsStartingWithGivesTrimmedNamesInFileOrderLetterCaseIgnored) {
    TQuickIni Ini;
    LoadText(Ini, "[ButtonZ]\n[Colours]\n[ button1 ]\n[Buttons]\n[BUTTONZ]\n[Butto]\n[xButton]\n[Button]\n");
    const std::vector<std::string> Expected = {"ButtonZ", "button1", "Buttons", "BUTTONZ", "Button"};
    EXPECT_EQ(Ini.SectionsStartingWith("BUTTON"), Expected);
    EXPECT_EQ(Ini.SectionsStartingWith("colour"), std::vector<std::string>{"Colours"});
    EXPECT_TRUE(Ini.SectionsStartingWith("Missing").empty());
    EXPECT_EQ(Ini.SectionsStartingWith("").size(), 8u);
}

TEST(QuickIniSections, RepeatedSectionAnswersOnlyFromItsFirstHeader) {
    TQuickIni Ini;
    LoadText(Ini, "[S]\nA=1\n[T]\nB=2\n[s]\nA=9\nC=3\n");
    EXPECT_EQ(Ini.SectionIndex("S"), 0);
    EXPECT_EQ(Read(Ini, "S", "A"), "1");
    EXPECT_EQ(Read(Ini, "S", "C"), "<default>");
}

TEST(QuickIniKeys, KeysMatchRegardlessOfLetterCase) {
    TQuickIni Ini;
    LoadText(Ini, "[Buttons]\r\nRightwidth=4\r\n  LEFT WIDTH  =  7  \r\n");
    EXPECT_EQ(Read(Ini, "Buttons", "RightWidth"), "4");
    EXPECT_EQ(Read(Ini, "buttons", "RIGHTWIDTH"), "4");
    EXPECT_EQ(Read(Ini, "Buttons", "left width"), "7");
    EXPECT_EQ(Read(Ini, "Buttons", " left width "), "<default>");
}

TEST(QuickIniKeys, FirstOccurrenceInTheSectionWins) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\nKey=first\nKEY=second\n");
    EXPECT_EQ(Read(Ini, "A", "key"), "first");
}

TEST(QuickIniKeys, EmptyFirstOccurrenceKeepsTheDefaultAndHidesLaterOnes) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\nKey=   \nKey=later\n");
    EXPECT_EQ(Read(Ini, "A", "Key"), "<default>");
}

TEST(QuickIniKeys, KeyOfALaterSectionIsNotFoundInAnEarlierOne) {
    TQuickIni Ini;
    LoadText(Ini, "Loose=0\n[First]\nA=1\n[Second]\nB=2\n");
    EXPECT_EQ(Read(Ini, "First", "B"), "<default>");
    EXPECT_EQ(Read(Ini, "Second", "B"), "2");
    EXPECT_EQ(Read(Ini, "Second", "A"), "<default>");
    EXPECT_EQ(Read(Ini, "First", "Loose"), "<default>");
}

TEST(QuickIniKeys, ValueRunsFromTheFirstEqualsSignAndIsTrimmed) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\nExpr =  a = b ; not a comment \t\nPath=c:\\skins\\x.bmp\n");
    EXPECT_EQ(Read(Ini, "A", "Expr"), "a = b ; not a comment");
    EXPECT_EQ(Read(Ini, "A", "Path"), "c:\\skins\\x.bmp");
}

TEST(QuickIniKeys, CommentsAreWholeLinesOnly) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\n;Key=hidden\n   ; Other=hidden\nThird=x;y\n");
    EXPECT_EQ(Read(Ini, "A", "Key"), "<default>");
    EXPECT_EQ(Read(Ini, "A", "Other"), "<default>");
    EXPECT_EQ(Read(Ini, "A", "Third"), "x;y");
    EXPECT_EQ(Ini.Lines().Count(), 2);
}

TEST(QuickIniKeys, MalformedLinesMatchNothing) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\nNoEquals\n=orphan\n[half\nKey=1\n");
    EXPECT_EQ(Read(Ini, "A", "NoEquals"), "<default>");
    EXPECT_EQ(Read(Ini, "A", ""), "<default>");
    EXPECT_EQ(Read(Ini, "A", "[half"), "<default>");
    EXPECT_EQ(Read(Ini, "A", "Key"), "1");
}

TEST(QuickIniKeys, OnlyLettersAToZAreFoldedAndHighBytesAreNotTrimmed) {
    TQuickIni Ini;
    // 0xC4 and 0xE4 are different letters to this reader; 0xA0 is text, not space.
    LoadText(Ini, "[A]\n\xC4Key=1\nPad=\xA0v\xA0\n");
    EXPECT_EQ(Read(Ini, "A", "\xC4KEY"), "1");
    EXPECT_EQ(Read(Ini, "A", "\xE4key"), "<default>");
    EXPECT_EQ(Read(Ini, "A", "Pad"), "\xA0v\xA0");
}

TEST(QuickIniKeys, MissingSectionOrEmptyFileGivesTheDefault) {
    TQuickIni Ini;
    std::string Value = "old";
    Ini.ReadString("A", "B", Value, "def");
    EXPECT_EQ(Value, "def");
    LoadText(Ini, "[A]\nB=1\n");
    Ini.ReadString("Z", "B", Value, "def2");
    EXPECT_EQ(Value, "def2");
}

TEST(QuickIniIntegers, HexadecimalDecimalAndEverythingElse) {
    TQuickIni Ini;
    LoadText(Ini,
             "[T]\nHex0x=0x10\nHexUpper=0X1f\nHexDollar=$10\nEmpty=\nWord=abc\nNeg=-5\nPos=+7\n"
             "BareX=0x\nTrailing=12abc\nSpaced= 42 \nOnlyZero=0\nHexWord=0xZZ\n");
    EXPECT_EQ(Ini.ReadInteger("T", "Hex0x", -1), 16);
    EXPECT_EQ(Ini.ReadInteger("T", "HexUpper", -1), 31);
    EXPECT_EQ(Ini.ReadInteger("T", "HexDollar", -1), 16);
    EXPECT_EQ(Ini.ReadInteger("T", "Empty", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("T", "Word", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("T", "Neg", 0), -5);
    EXPECT_EQ(Ini.ReadInteger("T", "Pos", 0), 7);
    EXPECT_EQ(Ini.ReadInteger("T", "BareX", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("T", "Trailing", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("T", "Spaced", -1), 42);
    EXPECT_EQ(Ini.ReadInteger("T", "OnlyZero", -1), 0);
    EXPECT_EQ(Ini.ReadInteger("T", "HexWord", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("T", "Missing", 99), 99);
    EXPECT_EQ(Ini.ReadInteger("Nowhere", "Hex0x", 99), 99);
}

TEST(QuickIniLines, EveryLineBreakStyleSplitsLines) {
    TQuickIni Ini;
    LoadText(Ini, "[A]\rCr=1\nLf=2\r\nCrLf=3\n\rLfCr=4");
    EXPECT_EQ(Read(Ini, "A", "Cr"), "1");
    EXPECT_EQ(Read(Ini, "A", "Lf"), "2");
    EXPECT_EQ(Read(Ini, "A", "CrLf"), "3");
    EXPECT_EQ(Read(Ini, "A", "LfCr"), "4");
    EXPECT_EQ(Ini.Lines().Count(), 5);
}

TEST(QuickIniLines, LastLineWithoutLineBreakIsKept) {
    TQuickIni Ini;
    LoadText(Ini, "[Personality]\r\nLeft=frameleft.bmp");
    EXPECT_EQ(Read(Ini, "Personality", "Left"), "frameleft.bmp");
}

TEST(QuickIniLines, ParsingStartsAtTheStreamPositionAndLeavesItAtTheEnd) {
    const std::string Text = "[Skip]\nA=1\n[Keep]\nB=2\n";
    TMemoryStream Stream;
    Stream.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size()));
    Stream.SetPosition(static_cast<int64_t>(Text.find("[Keep]")));
    TQuickIni Ini;
    Ini.LoadFromStream(&Stream);
    EXPECT_EQ(Stream.Position(), Stream.Size());
    EXPECT_EQ(Ini.SectionIndex("Skip"), -1);
    EXPECT_EQ(Ini.SectionIndex("Keep"), 0);
    EXPECT_EQ(Read(Ini, "Keep", "B"), "2");
}

TEST(QuickIniLines, ReloadReplacesAndNilStreamIsIgnored) {
    TQuickIni Ini;
    LoadText(Ini, "[Old]\nA=1\n");
    Ini.LoadFromStream(nullptr);
    EXPECT_EQ(Read(Ini, "Old", "A"), "1");
    LoadText(Ini, "[New]\nA=2\n");
    EXPECT_EQ(Ini.SectionIndex("Old"), -1);
    EXPECT_EQ(Read(Ini, "Old", "A"), "<default>");
    EXPECT_EQ(Read(Ini, "New", "A"), "2");
    EXPECT_EQ(Ini.Sections().Count(), 1);
}

TEST(QuickIniHostileText, NulByteEndsTheText) {
    TQuickIni Ini;
    LoadText(Ini, std::string_view("[A]\nKey=before\0after\nOther=1\n", 29));
    EXPECT_EQ(Read(Ini, "A", "Key"), "before");
    EXPECT_EQ(Read(Ini, "A", "Other"), "<default>");
    EXPECT_EQ(Ini.Lines().Count(), 2);
}

TEST(QuickIniHostileText, LeadingNulGivesNothing) {
    TQuickIni Ini;
    LoadText(Ini, std::string_view("\0[A]\nKey=1\n", 11));
    EXPECT_EQ(Ini.Lines().Count(), 0);
    EXPECT_EQ(SectionNames(Ini), "");
}

TEST(QuickIniHostileText, TextWithoutAnyLineBreakIsOneLine) {
    TQuickIni Ini;
    LoadText(Ini, "[A] Key=1 [B] Other=2");
    EXPECT_EQ(Ini.Lines().Count(), 1);
    EXPECT_EQ(Ini.Sections().Count(), 0);
    LoadText(Ini, "[A]=[B]");
    EXPECT_EQ(SectionNames(Ini), "|A]=[B");
}

TEST(QuickIniHostileText, HugeLineIsKeptWhole) {
    const size_t HugeSize = 8u << 20;
    std::string Text = "[Big]\nHuge=";
    Text.append(HugeSize, 'x');
    Text += "\nAfter=1\n";
    std::string HugeKey(HugeSize, 'k');
    Text += HugeKey + "=2";
    TQuickIni Ini;
    LoadText(Ini, Text);
    EXPECT_EQ(Read(Ini, "Big", "Huge").size(), HugeSize);
    EXPECT_EQ(Read(Ini, "Big", "After"), "1");
    EXPECT_EQ(Read(Ini, "Big", HugeKey), "2");
    EXPECT_EQ(Ini.ReadInteger("Big", "Huge", -3), -3);
}

TEST(QuickIniHostileText, OnlyCommentsAndBlanksGiveNoLines) {
    TQuickIni Ini;
    LoadText(Ini, ";[A]\r\n; Key=1\r\n\t \r\n;;;\r\n\x01\x02\x1f\r\n");
    EXPECT_EQ(Ini.Lines().Count(), 0);
    EXPECT_EQ(Ini.SectionIndex("A"), -1);
    EXPECT_EQ(SectionNames(Ini), "");
    EXPECT_EQ(Ini.ReadInteger("A", "Key", 5), 5);
}

TEST(QuickIniHostileText, ManyLinesAndSectionsStayFastAndExact) {
    std::string Text;
    constexpr int SectionCount = 2000;
    constexpr int KeysPerSection = 50;
    for (int S = 0; S < SectionCount; ++S) {
        Text += "[S" + std::to_string(S) + "]\n";
        for (int K = 0; K < KeysPerSection; ++K)
            Text += "K" + std::to_string(K) + "=" + std::to_string(S * 1000 + K) + "\n";
    }
    TQuickIni Ini;
    LoadText(Ini, Text);
    EXPECT_EQ(Ini.ReadInteger("s1999", "k49", -1), 1999049);
    EXPECT_EQ(Ini.ReadInteger("S0", "K0", -1), 0);
    EXPECT_EQ(Ini.SectionIndex("S1000"), 1000 * (KeysPerSection + 1));
}

TEST(QuickIniHostileText, LookUpsInFiftyThousandSectionsVisitOnlyTheSectionsTheyAnswerFrom) {
    // About what the 1 MB a skin's INI may have can hold. A look-up must not
    // walk the headers: each visits the one section it answers from.
    constexpr int SectionCount = 50000;
    constexpr int ButtonSections = 40;
    std::string Text;
    for (int S = 0; S < SectionCount; ++S) Text += "[S" + std::to_string(S) + "]\nK=" + std::to_string(S) + "\n";
    for (int B = 0; B < ButtonSections; ++B) Text += "[Button" + std::to_string(B) + "]\n";
    Text += "[s7]\nK=second\n";
    TQuickIni Ini;
    LoadText(Ini, Text);
    EXPECT_EQ(Ini.SectionsVisited(), 0);

    constexpr int LookUps = 1000;
    for (int I = 0; I < LookUps; ++I) {
        const int S = (I * 7919) % SectionCount;
        ASSERT_EQ(Ini.ReadInteger("s" + std::to_string(S), "k", -1), S);
    }
    EXPECT_EQ(Ini.ReadString("S7", "K", ""), "7") << "a repeated header answers from its first occurrence";
    EXPECT_EQ(Ini.ReadString("Missing", "K", "none"), "none");
    EXPECT_EQ(Ini.SectionsVisited(), LookUps + 1);

    EXPECT_EQ(Ini.SectionsStartingWith("button").size(), static_cast<size_t>(ButtonSections));
    EXPECT_EQ(Ini.SectionsVisited(), LookUps + 1 + ButtonSections);
}

}  // namespace
