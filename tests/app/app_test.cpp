// The code lookup and the main form: byte codes of texts (code page 936 for
// the Chinese case), the form as its table describes it, the buttons' actions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/CodeLookup.h"
#include "app/Unit1.h"
#include "framework/controls/Application.h"
#include "framework/controls/ControlAtom.h"
#include "framework/controls/Screen.h"

namespace {

TEST(ByteCodes, JoinsUnsignedDecimalsWithCommas) {
    EXPECT_EQ(ByteCodes(""), "");
    EXPECT_EQ(ByteCodes("A"), "65");
    EXPECT_EQ(ByteCodes("AB"), "65,66");
    EXPECT_EQ(ByteCodes("a\r\nb"), "97,13,10,98");
    EXPECT_EQ(ByteCodes(std::string("\x00\xff\x80", 3)), "0,255,128");
}

TEST(ByteCodes, ConvertsOneMegabyteWhole) {
    std::string text;
    for (int i = 0; i < (1 << 20); ++i) text += static_cast<char>(i % 256);
    const std::string codes = ByteCodes(text);
    size_t commas = 0;
    for (char c : codes) commas += c == ',';
    EXPECT_EQ(commas, text.size() - 1);
    EXPECT_EQ(codes.substr(0, 12), "0,1,2,3,4,5,");
    EXPECT_EQ(codes.substr(codes.size() - 15), "252,253,254,255");
}

TEST(PublisherAddress, CarriesNameAndVersionInTheQuery) {
    EXPECT_EQ(PublisherAddress("1.0.20100529"), "http://quirn.example.org/?qq=Quirn1.0.20100529");
}

class MainForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application->Initialize();
        Application->CreateForm(Form1);
        Form1->Show();
    }
    static void TearDownTestSuite() { Application->DestroyForms(); }
};

TEST_F(MainForm, LooksAsItsTableSays) {
    RECT outer;
    GetWindowRect(Form1->Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 355);
    EXPECT_EQ(outer.bottom - outer.top, 305);
    // Centred on the desktop, not at the stored 533, 312.
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 355) / 2 + GetSystemMetrics(SM_XVIRTUALSCREEN));
    const LONG_PTR style = GetWindowLongPtrW(Form1->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    wchar_t caption[64]{};
    GetWindowTextW(Form1->Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Quirn编码查询器");

    // Top to bottom: input box, button row, output box, status bar.
    EXPECT_EQ(Form1->GroupBox1->Top(), 0);
    EXPECT_EQ(Form1->GroupBox3->Top(), 109);
    EXPECT_EQ(Form1->GroupBox2->Top(), 150);
    EXPECT_EQ(Form1->StatusBar1->Top() + Form1->StatusBar1->Height(), Form1->ClientHeight());
    EXPECT_EQ(Form1->Memo1->Parent(), Form1->GroupBox1);
    EXPECT_EQ(Form1->Memo1->ScrollBars(), ssVertical);
    EXPECT_EQ(Form1->Memo1->BevelKind(), bkTile);
    EXPECT_EQ(Form1->Memo1->BorderStyle(), bsNone);
    EXPECT_FALSE(Form1->Edit_VER->Visible());
    EXPECT_EQ(Form1->Edit_VER->Text(), "1.0.20100529");
    EXPECT_EQ(Form1->Label1->Font()->Color(), clGreen);
    EXPECT_TRUE(Form1->Label1->Font()->Style().Contains(fsUnderline));
    EXPECT_EQ(Form1->Label1->Cursor(), crHandPoint);
    EXPECT_EQ(Form1->Button1->WideText(), L"查询↓");
    EXPECT_EQ(Form1->Button2->WideText(), L"退出");
    EXPECT_FALSE(Form1->StatusBar1->SimpleText().empty());
    EXPECT_EQ(FindControl(Form1->Handle()), Form1);
    EXPECT_EQ(Screen->FormCount(), 1);

    // Tab order: Memo1, Memo2, Button1, Button2 (the hidden edit is skipped).
    std::vector<TWinControl*> order;
    TWinControl* control = Form1->FindNextControl(nullptr, true, true, false);
    for (int i = 0; control && i < 5; ++i) {
        order.push_back(control);
        control = Form1->FindNextControl(control, true, true, false);
    }
    EXPECT_EQ(order,
              (std::vector<TWinControl*>{Form1->Memo1, Form1->Memo2, Form1->Button1, Form1->Button2, Form1->Memo1}));
}

std::vector<std::string> OutputLines() {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < Form1->Memo2->Lines()->Count(); ++i) lines.push_back(Form1->Memo2->Lines()->Strings(i));
    return lines;
}

TEST_F(MainForm, CarriesTheProgramIconAndShowsIt) {
    // Thirteen images: 48, 32, 24 and 16 pixels in 16 colours, 256 colours and 32-bit colour, and
    // 128 pixels in 32-bit colour.
    using TImage = std::tuple<int32_t, int32_t, int>;
    std::vector<TImage> expected{{128, 128, 32}};
    for (int32_t side : {48, 32, 24, 16})
        for (int bits : {4, 8, 32}) expected.emplace_back(side, side, bits);
    auto imagesOf = [](const TIcon& icon) {
        std::vector<TImage> images;
        for (const TIcon::TImageInfo& image : icon.Images())
            images.emplace_back(image.Width, image.Height, image.BitCount);
        std::sort(images.begin(), images.end());
        return images;
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(imagesOf(*Form1->Icon()), expected);
    // The same images as the program's icon resource.
    TIcon program;
    program.LoadFromResourceName(GetModuleHandleW(nullptr), "MAINICON");
    EXPECT_EQ(imagesOf(program), expected);

    // The window shows the form's icon at the big and small sizes.
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageW(Form1->Handle(), WM_GETICON, ICON_BIG, 0));
    const auto smallIcon = reinterpret_cast<HICON>(SendMessageW(Form1->Handle(), WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(bigIcon, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_NE(bigIcon, Application->IconHandle());
    EXPECT_NE(smallIcon, bigIcon);
    // The status bar shows its simple text: no panels.
    EXPECT_EQ(Form1->StatusBar1->Panels()->Count(), 0);
}

TEST_F(MainForm, LookupReplacesTheOutputWithOneLine) {
    auto lookup = [](const wchar_t* input) {
        Form1->Memo1->SetWideText(input);
        SendMessageW(Form1->Button1->Handle(), BM_CLICK, 0, 0);
    };
    lookup(L"");
    EXPECT_EQ(OutputLines(), std::vector<std::string>{""});
    lookup(L"A");
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"65"});
    lookup(L"AB");
    lookup(L"AB");  // twice: still one line
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"65,66"});
    lookup(L"a\r\nb");
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"97,13,10,98"});
    EXPECT_EQ(Form1->Memo1->WideText(), L"a\r\nb");  // the input is left as it was
    ASSERT_EQ(GetACP(), 936u);
    lookup(L"中");
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"214,208"});
    // Text typed into the output is thrown away by the next lookup.
    Form1->Memo2->SetWideText(L"typed by hand\r\nmore");
    lookup(L"A");
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"65"});
}

}  // namespace
