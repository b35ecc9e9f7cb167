// Scroll boxes and scrolling forms under Wine: the scroll bars as streamed sub-objects, the ranges
// AutoScroll computes from the children, scrolling that moves windowed and windowless children
// and keeps the ranges right, the bars the window shows, what the screen shows after a scroll,
// scroll bar requests and the wheel, focus scrolled into view, and AutoScroll switched off by name.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MessagePump.h"
#include "TextFormReader.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/Label.h"
#include "framework/controls/Panel.h"
#include "framework/controls/ScrollBox.h"
#include "framework/core/PropAccess.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"

class TScrollForm : public TForm {
    QUIRN_CLASS(TScrollForm, TForm)
public:
    explicit TScrollForm(TComponent* owner) : TForm(owner) {}
    TScrollBox* ScrollBox1 = nullptr;
    TPanel* Far1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label1 = nullptr;
    TScrollBox* Fixed1 = nullptr;
};

QUIRN_PUBLISH(TScrollForm, p) {
    p.Field("ScrollBox1", &TScrollForm::ScrollBox1);
    p.Field("Far1", &TScrollForm::Far1);
    p.Field("Edit1", &TScrollForm::Edit1);
    p.Field("Label1", &TScrollForm::Label1);
    p.Field("Fixed1", &TScrollForm::Fixed1);
}

namespace {

constexpr COLORREF kFarColour = RGB(0xD0, 0x30, 0x40);

// ScrollBox1: no border, 200 x 150, a panel reaching to y 350, an edit and a label above it.
// Fixed1: its ranges set by hand.
constexpr const char* kScrollForm = R"(object ScrollForm: TScrollForm
  Left = 90
  Top = 90
  BorderStyle = bsSingle
  Caption = 'Scrolling'
  ClientWidth = 460
  ClientHeight = 300
  object ScrollBox1: TScrollBox
    Left = 10
    Top = 10
    Width = 200
    Height = 150
    BorderStyle = bsNone
    VertScrollBar.Increment = 10
    TabOrder = 0
    object Label1: TLabel
      Left = 10
      Top = 120
      Width = 40
      Height = 14
      AutoSize = False
      Caption = 'Label'
    end
    object Edit1: TEdit
      Left = 10
      Top = 60
      Width = 100
      Height = 21
      TabOrder = 0
    end
    object Far1: TPanel
      Left = 20
      Top = 300
      Width = 100
      Height = 50
      BevelOuter = bvNone
      Color = 4206800
      ParentBackground = False
      TabOrder = 1
    end
  end
  object Fixed1: TScrollBox
    Left = 230
    Top = 10
    Width = 200
    Height = 150
    AutoScroll = False
    HorzScrollBar.Range = 600
    HorzScrollBar.Tracking = True
    VertScrollBar.Range = 400
    VertScrollBar.Increment = 25
    VertScrollBar.Margin = 4
    VertScrollBar.Visible = False
    TabOrder = 1
  end
end)";

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
bool ShowsVertical(TWinControl& control) { return (StyleOf(control.Handle()) & WS_VSCROLL) != 0; }
bool ShowsHorizontal(TWinControl& control) { return (StyleOf(control.Handle()) & WS_HSCROLL) != 0; }

// Where a child window really is, in its parent's client coordinates.
POINT WindowPlace(TWinControl& control) {
    RECT rect;
    GetWindowRect(control.Handle(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&rect), 2);
    return POINT{rect.left, rect.top};
}

struct ScrollBoxes : ShownTextForm<TScrollForm> {
    std::string FormText() const override { return kScrollForm; }
    TScrollBox& Box() const { return *form->ScrollBox1; }
    TControlScrollBar& Vert() const { return *Box().VertScrollBar(); }
    TControlScrollBar& Horz() const { return *Box().HorzScrollBar(); }
};

TEST_F(ScrollBoxes, ScrollBarsAreStreamedAsPartsOfTheirControl) {
    TScrollBox& fixed = *form->Fixed1;
    EXPECT_FALSE(fixed.AutoScroll());
    EXPECT_EQ(fixed.HorzScrollBar()->Range(), 600);
    EXPECT_TRUE(fixed.HorzScrollBar()->Tracking());
    EXPECT_EQ(fixed.VertScrollBar()->Range(), 400);
    EXPECT_EQ(fixed.VertScrollBar()->Increment(), 25);
    EXPECT_EQ(fixed.VertScrollBar()->Margin(), 4);
    EXPECT_FALSE(fixed.VertScrollBar()->Visible());
    EXPECT_EQ(fixed.BorderStyle(), bsSingle);
    EXPECT_NE(GetWindowLongPtrW(fixed.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_TRUE(Box().AutoScroll());
    EXPECT_EQ(Vert().Increment(), 10);
    EXPECT_EQ(GetPropAsText(&fixed, "AutoScroll"), "False");

    fixed.HorzScrollBar()->SetPosition(50);
    const std::string text = TextFormOf(form);
    for (const char* line :
         {"HorzScrollBar.Range = 600", "HorzScrollBar.Position = 50", "HorzScrollBar.Tracking = True",
          "VertScrollBar.Range = 400", "VertScrollBar.Increment = 25", "VertScrollBar.Margin = 4",
          "VertScrollBar.Visible = False", "AutoScroll = False", "BorderStyle = bsNone"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // A range AutoScroll computes is not stored, nor are defaults; the form does not scroll and
    // says nothing about it.
    EXPECT_EQ(text.find("VertScrollBar.Range = 350"), std::string::npos) << text;
    EXPECT_EQ(text.find("Increment = 8"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n  AutoScroll"), std::string::npos) << text;

    std::unique_ptr<TScrollForm> copy(ReadTextForm<TScrollForm>(text));
    TScrollBox& again = *copy->Fixed1;
    EXPECT_FALSE(again.AutoScroll());
    EXPECT_EQ(again.HorzScrollBar()->Range(), 600);
    EXPECT_EQ(again.HorzScrollBar()->Position(), 50);
    EXPECT_EQ(again.VertScrollBar()->Increment(), 25);
    EXPECT_FALSE(again.VertScrollBar()->Visible());
    EXPECT_EQ(copy->ScrollBox1->VertScrollBar()->Increment(), 10);
    EXPECT_EQ(copy->ScrollBox1->BorderStyle(), bsNone);
    copy->BeforeDestruction();

    // Assign copies a bar's settings.
    TScrollBox other(nullptr);
    other.SetVertScrollBar(fixed.VertScrollBar());
    EXPECT_EQ(other.VertScrollBar()->Increment(), 25);
    EXPECT_EQ(other.VertScrollBar()->Range(), 400);
    EXPECT_FALSE(other.AutoScroll());
}

TEST_F(ScrollBoxes, AutoScrollRangesFollowTheChildren) {
    EXPECT_EQ(Vert().Range(), 350);
    EXPECT_EQ(Horz().Range(), 120);
    EXPECT_TRUE(Vert().IsScrollBarVisible());
    EXPECT_FALSE(Horz().IsScrollBarVisible());
    EXPECT_TRUE(ShowsVertical(Box()));
    EXPECT_FALSE(ShowsHorizontal(Box()));
    EXPECT_EQ(Vert().PageSize(), 150);
    EXPECT_EQ(Horz().PageSize(), 200 - GetSystemMetrics(SM_CXVSCROLL));

    // A child moved beyond the right edge brings the horizontal bar.
    form->Far1->SetLeft(250);
    EXPECT_EQ(Horz().Range(), 350);
    EXPECT_TRUE(ShowsHorizontal(Box()));
    EXPECT_EQ(Vert().PageSize(), 150 - GetSystemMetrics(SM_CYHSCROLL));
    // Hidden, it counts no more; both bars go.
    form->Far1->SetVisible(false);
    EXPECT_EQ(Vert().Range(), 134);
    EXPECT_EQ(Horz().Range(), 110);
    EXPECT_FALSE(ShowsVertical(Box()));
    EXPECT_FALSE(ShowsHorizontal(Box()));
    form->Far1->SetVisible(true);
    form->Far1->SetLeft(20);

    // Children at the far edges add their size; the margin comes on top.
    auto* bottom = new TPanel(form);
    bottom->SetHeight(40);
    bottom->SetAlign(alBottom);
    bottom->SetParent(&Box());
    EXPECT_EQ(Vert().Range(), 390);
    Vert().SetMargin(6);
    EXPECT_EQ(Vert().Range(), 396);
    delete bottom;
    EXPECT_EQ(Vert().Range(), 356);

    // A batch of changes counts once, at its end.
    Box().DisableAutoRange();
    form->Far1->SetTop(500);
    EXPECT_EQ(Vert().Range(), 356);
    Box().EnableAutoRange();
    EXPECT_EQ(Vert().Range(), 556);

    // Setting a range by hand ends AutoScroll; switching it off drops the ranges.
    Vert().SetRange(1000);
    EXPECT_FALSE(Box().AutoScroll());
    EXPECT_EQ(Vert().Range(), 1000);
    Box().SetAutoScroll(true);
    EXPECT_EQ(Vert().Range(), 556);
    Box().SetAutoScroll(false);
    EXPECT_EQ(Vert().Range(), 0);
    EXPECT_FALSE(ShowsVertical(Box()));
}

TEST_F(ScrollBoxes, ScrollingMovesEveryChildAndKeepsTheRange) {
    Vert().SetPosition(100);
    EXPECT_EQ(Vert().Position(), 100);
    EXPECT_EQ(form->Far1->Top(), 200);
    EXPECT_EQ(WindowPlace(*form->Far1).y, 200);
    EXPECT_EQ(form->Edit1->Top(), -40);
    EXPECT_EQ(WindowPlace(*form->Edit1).y, -40);
    EXPECT_EQ(form->Label1->Top(), 20);  // windowless
    EXPECT_EQ(Vert().Range(), 350);
    EXPECT_EQ(GetScrollPos(Box().Handle(), SB_VERT), 100);

    // Beyond the end: the last page.
    Vert().SetPosition(1000);
    EXPECT_EQ(Vert().Position(), 200);
    EXPECT_EQ(form->Far1->Top(), 100);
    Vert().SetPosition(-5);
    EXPECT_EQ(Vert().Position(), 0);
    EXPECT_EQ(form->Far1->Top(), 300);

    // A child added while scrolled counts from where the content starts.
    Vert().SetPosition(150);
    auto* added = new TPanel(form);
    added->SetBounds(0, 300, 50, 100);  // content y 450 .. 550
    added->SetParent(&Box());
    EXPECT_EQ(Vert().Range(), 550);
    delete added;
    EXPECT_EQ(Vert().Range(), 350);

    // Grown so that everything fits, the box scrolls back and drops the bar.
    Box().SetHeight(400);
    EXPECT_EQ(Vert().Position(), 0);
    EXPECT_FALSE(ShowsVertical(Box()));
    EXPECT_EQ(form->Far1->Top(), 300);
    EXPECT_EQ(form->Label1->Top(), 120);

    // A bar that may not show keeps the content at the start.
    Box().SetHeight(150);
    Vert().SetPosition(100);
    Vert().SetVisible(false);
    EXPECT_EQ(Vert().Position(), 0);
    EXPECT_FALSE(ShowsVertical(Box()));
    EXPECT_EQ(form->Far1->Top(), 300);
}

TEST_F(ScrollBoxes, TheScreenShowsTheScrolledContent) {
    Vert().SetPosition(200);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPendingMessages();
    HDC dc = GetDC(Box().Handle());
    EXPECT_EQ(GetPixel(dc, 60, 125), kFarColour);  // content y 325
    EXPECT_NE(GetPixel(dc, 60, 10), kFarColour);
    ReleaseDC(Box().Handle(), dc);
}

TEST_F(ScrollBoxes, ScrollBarRequestsAndTheWheelScroll) {
    HWND box = Box().Handle();
    SendMessageW(box, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Vert().Position(), 10);
    SendMessageW(box, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Vert().Position(), 160);
    SendMessageW(box, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Vert().Position(), 150);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Vert().Position(), 200);
    SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Vert().Position(), 0);

    // The wheel scrolls lines of Increment (three per notch by default), up for a positive turn.
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(Vert().Position(), static_cast<int32_t>(lines) * 10);
    SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);  // half a notch waits
    EXPECT_EQ(Vert().Position(), static_cast<int32_t>(lines) * 10);
    SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
    EXPECT_EQ(Vert().Position(), 0);

    // The horizontal bar of the box with fixed ranges: arrows by its increment.
    TScrollBox& fixed = *form->Fixed1;
    SendMessageW(fixed.Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(fixed.HorzScrollBar()->Position(), TControlScrollBar::kDefaultIncrement);
    // Its vertical bar may not show: the wheel scrolls sideways instead.
    SendMessageW(fixed.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(fixed.HorzScrollBar()->Position(),
              TControlScrollBar::kDefaultIncrement + static_cast<int32_t>(lines) * 8);
    // Ranges of its own follow the client area too: wide enough, the bar goes and the content is back.
    fixed.SetWidth(700);
    EXPECT_EQ(fixed.HorzScrollBar()->Position(), 0);
    EXPECT_FALSE(ShowsHorizontal(fixed));
    EXPECT_EQ(fixed.HorzScrollBar()->Range(), 600);
}

TEST_F(ScrollBoxes, AControlThatGetsTheFocusIsScrolledIntoView) {
    form->Far1->SetTabStop(true);
    form->Far1->SetFocus();
    PumpPendingMessages();
    EXPECT_EQ(form->ActiveControl(), form->Far1);
    EXPECT_EQ(Vert().Position(), 200);  // its bottom edge at the client's bottom
    EXPECT_EQ(form->Far1->Top() + form->Far1->Height(), 150);
    form->Edit1->SetFocus();
    PumpPendingMessages();
    EXPECT_EQ(Vert().Position(), 60);  // its top edge at the client's top
    EXPECT_EQ(form->Edit1->Top(), 0);
    // ScrollInView leaves the margin around the control.
    Vert().SetMargin(5);
    Box().ScrollInView(form->Far1);
    EXPECT_EQ(form->Far1->Top() + form->Far1->Height(), 145);
}

TEST(ScrollingForm, ScrollsWithAutoScrollUntilItIsSwitchedOffByName) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(100, 100, 300, 200);
    auto* distant = new TEdit(form);
    distant->SetBounds(10, 400, 100, 21);
    distant->SetParent(form);
    form->Show();
    PumpPendingMessages();
    // Forms do not scroll by default.
    EXPECT_FALSE(form->AutoScroll());
    EXPECT_EQ(StyleOf(form->Handle()) & WS_VSCROLL, 0);
    form->SetAutoScroll(true);
    EXPECT_EQ(form->VertScrollBar()->Range(), 421);
    EXPECT_NE(StyleOf(form->Handle()) & WS_VSCROLL, 0);
    form->VertScrollBar()->SetPosition(200);
    EXPECT_EQ(distant->Top(), 200);
    // The form skinner turns scrolling off through the published property.
    SetPropAsText(form, "AutoScroll", "False");
    EXPECT_FALSE(form->AutoScroll());
    EXPECT_EQ(StyleOf(form->Handle()) & WS_VSCROLL, 0);
    EXPECT_EQ(distant->Top(), 400);
    form->BeforeDestruction();
    delete form;
}

}  // namespace
