// The example control of docs/framework.md: read from a text form by class
// name, painted by its parent, toggled by a click routed to it, and reached
// through its published properties by name.
#include <windows.h>

#include <gtest/gtest.h>

#include "MessagePump.h"
#include "Swatch.h"
#include "framework/controls/Form.h"
#include "framework/core/PropAccess.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/rtl/Streams.h"

namespace {

struct ChangeCounter : TObject {
    int Changes = 0;
    void OnChange(TObject*) { ++Changes; }
};

COLORREF PixelOf(TForm& form, int x, int y) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    HDC dc = GetDC(form.Handle());
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(form.Handle(), dc);
    return pixel;
}

TEST(ExampleControl, StreamsPaintsAndTogglesOnClick) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(140, 140, 200, 150);
    form->SetColor(clWhite);

    TMemoryStream binary;
    ObjectTextToBinary(
        "object Swatch1: TSwatch\n"
        "  Left = 20\n  Top = 10\n  Width = 40\n  Height = 30\n"
        "  Color = clRed\n  FrameColor = clBlue\n  Selected = True\n"
        "end\n",
        binary);
    binary.SetPosition(0);
    auto* swatch = ObjectAs<TSwatch>(ReadComponent(binary, form));
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->Owner(), form);
    EXPECT_EQ(swatch->Name(), "Swatch1");
    EXPECT_TRUE(swatch->Selected());
    EXPECT_EQ(GetPropAsText(swatch, "FrameColor"), "clBlue");
    swatch->SetParent(form);
    ChangeCounter counter;
    swatch->SetOnChange(TNotifyEvent(&counter, &ChangeCounter::OnChange));
    form->Show();

    // Filled with Color, framed in FrameColor; the form around it untouched.
    EXPECT_EQ(PixelOf(*form, 40, 25), RGB(0xFF, 0, 0));
    EXPECT_EQ(PixelOf(*form, 20, 10), RGB(0, 0, 0xFF));
    EXPECT_EQ(PixelOf(*form, 21, 11), RGB(0, 0, 0xFF));
    EXPECT_EQ(PixelOf(*form, 19, 9), RGB(0xFF, 0xFF, 0xFF));

    // A click on it (routed by the form to the windowless control) unselects it.
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    EXPECT_FALSE(swatch->Selected());
    EXPECT_EQ(counter.Changes, 1);
    EXPECT_EQ(PixelOf(*form, 20, 10), RGB(0xFF, 0, 0));

    // By name, as streaming and the skin engine reach it.
    EXPECT_TRUE(SetPropAsText(swatch, "Selected", "True"));
    EXPECT_EQ(counter.Changes, 2);
    EXPECT_EQ(PixelOf(*form, 20, 10), RGB(0, 0, 0xFF));
    EXPECT_FALSE(SetPropAsText(swatch, "NoSuchProperty", "1"));

    form->BeforeDestruction();
    delete form;
}

}  // namespace
