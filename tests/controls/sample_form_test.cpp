// The sample form read from its form resource: every kind of stored value
// arrives (enumerations, sets, strings, lists, references, events, menus).
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "SampleForm.h"
#include "framework/controls/Application.h"
#include "framework/controls/FormResource.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/rtl/Streams.h"

namespace {

TEST(SampleForm, IsBuiltFromItsFormResource) {
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    form->Show();
    EXPECT_EQ(form->WideText(), L"Framework sample – 示例");
    EXPECT_EQ(form->ClientWidth(), 480);
    EXPECT_EQ(form->ClientHeight(), 260);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle());
    EXPECT_EQ(form->Edit1->Text(), "Quirn");
    EXPECT_EQ(form->Memo1->Lines()->Count(), 2);
    EXPECT_EQ(form->Memo1->Lines()->Strings(1), "Second line");
    EXPECT_EQ(form->Label1->Parent(), form->GroupBox1);
    EXPECT_EQ(form->ListBox1->Count(), 10);
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1);
    EXPECT_EQ(SendMessageW(form->ListBox1->Handle(), LB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(form->Panel1->BevelInner(), bvLowered);
    EXPECT_EQ(form->Panel1->Caption(), "Panel");
    // The scroll box's content reaches below its edge.
    EXPECT_EQ(form->Edit2->Parent(), form->ScrollBox1);
    EXPECT_TRUE(form->ScrollBox1->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(form->ScrollBox1->VertScrollBar()->Range(), 121);
    EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), form->ClientHeight());
    // The button and the menu item share one handler; the shortcut reaches it too.
    SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
    SendMessageW(form->Handle(), WM_COMMAND, form->Apply1->Command(), 0);
    EXPECT_TRUE(form->MainMenu1->IsShortCut(form->Apply1->ShortCut()));
    EXPECT_EQ(form->Applied, 3);
    EXPECT_EQ(form->StatusBar1->SimpleText(), "Applied: Quirn");
    Application->DestroyForms();
}

// A missing form resource and a missing bitmap resource raise one and the same
// EResNotFound (both headers in one unit), and the root is left untouched.
TEST(SampleForm, MissingResourcesRaiseOneErrorClass) {
    TComponent root(nullptr);
    EXPECT_THROW(LoadFormResource(root, "TNoSuchForm"), EResNotFound);
    EXPECT_EQ(root.ComponentCount(), 0);
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), "NOSUCHBITMAP"), EResNotFound);
}

// The "object Name: Class" lines of a text form with their indentation: the component tree.
std::vector<std::string> ComponentTree(const std::string& text) {
    std::vector<std::string> tree;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.find("object ") != std::string::npos && line.find(" = ") == std::string::npos) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            tree.push_back(line);
        }
    return tree;
}

TEST(SampleForm, WritesItsWholeComponentTreeBack) {
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    TMemoryStream binary;
    WriteComponent(binary, form);
    binary.SetPosition(0);
    const std::string text = ObjectBinaryToText(binary);

    // Controls nest under their parents, then the form's parentless components; menu items under
    // their menu.
    const std::vector<std::string> expected = {
        "object SampleForm: TSampleForm", "  object GroupBox1: TGroupBox", "    object Label1: TLabel",
        "    object Edit1: TEdit",        "    object Memo1: TMemo",       "    object ListBox1: TListBox",
        "  object Button1: TButton",      "  object Panel1: TPanel",       "  object ScrollBox1: TScrollBox",
        "    object Label2: TLabel",      "    object Edit2: TEdit",       "  object StatusBar1: TStatusBar",
        "  object MainMenu1: TMainMenu",  "    object File1: TMenuItem",   "      object Apply1: TMenuItem",
    };
    EXPECT_EQ(ComponentTree(text), expected) << text;
    // References, events and string lists survive the trip.
    EXPECT_NE(text.find("Menu = MainMenu1"), std::string::npos);
    EXPECT_NE(text.find("OnClick = Button1Click"), std::string::npos);
    EXPECT_NE(text.find("'Second line'"), std::string::npos);
    EXPECT_NE(text.find("'Kappa'"), std::string::npos);
    EXPECT_NE(text.find("Color = clBtnFace"), std::string::npos);

    // What was written reads back as the same text.
    TMemoryStream again;
    ObjectTextToBinary(text, again);
    again.SetPosition(0);
    EXPECT_EQ(ObjectBinaryToText(again), text);
    Application->DestroyForms();
}

}  // namespace
