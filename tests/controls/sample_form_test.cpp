// The sample form read from its form resource: every kind of stored value
// arrives (enumerations, sets, strings, lists, references, events, menus).
#include <windows.h>

#include <gtest/gtest.h>

#include "SampleForm.h"
#include "framework/controls/Application.h"
#include "framework/controls/FormResource.h"
#include "framework/graphics/Bitmap.h"

namespace {

TEST(SampleForm, IsBuiltFromItsFormResource) {
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    form->Show();
    EXPECT_EQ(form->WideText(), L"Framework sample – 示例");
    EXPECT_EQ(form->ClientWidth(), 320);
    EXPECT_EQ(form->ClientHeight(), 220);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle());
    EXPECT_EQ(form->Edit1->Text(), "Quirn");
    EXPECT_EQ(form->Memo1->Lines()->Count(), 2);
    EXPECT_EQ(form->Memo1->Lines()->Strings(1), "Second line");
    EXPECT_EQ(form->Label1->Parent(), form->GroupBox1);
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

}  // namespace
