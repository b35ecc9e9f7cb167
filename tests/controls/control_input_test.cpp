// The list box, the scroll box and the panel under real mouse and keyboard input (SendInput), as a
// user drives them: clicks, double clicks, extended selection with Ctrl and Shift, arrow keys, the
// scroll bar's arrow, its thumb dragged with and without Tracking, the wheel over a child, and Tab
// into a child out of view. Real input goes to the foreground window of the shared desktop, so this
// program runs alone.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "MessagePump.h"
#include "RealInput.h"
#include "TextFormReader.h"
#include "Wait.h"
#include "framework/controls/Application.h"
#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Panel.h"
#include "framework/controls/ScrollBox.h"

namespace {

// ---- real input ------------------------------------------------------------

// Clicks (count 2: double-clicks) at point with the left button while modifier (0: none) is held.
void ClickAt(POINT point, WORD modifier = 0, int count = 1) {
    MoveMouse(point);
    std::vector<INPUT> inputs;
    if (modifier) inputs.push_back(KeyInput(modifier, false));
    for (int i = 0; i < count; ++i) {
        inputs.push_back(MouseInputAt(point, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(MouseInputAt(point, MOUSEEVENTF_LEFTUP));
    }
    if (modifier) inputs.push_back(KeyInput(modifier, true));
    SendInputs(inputs);
}

// Presses at from, moves to to in steps, and lets go there.
void Drag(POINT from, POINT to, int steps) {
    MoveMouse(from);
    std::vector<INPUT> inputs{MouseInputAt(from, MOUSEEVENTF_LEFTDOWN)};
    for (int i = 1; i <= steps; ++i)
        inputs.push_back(
            MouseInputAt(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}));
    inputs.push_back(MouseInputAt(to, MOUSEEVENTF_LEFTUP));
    SendInputs(inputs);
}

// Handles this thread's messages through the application (so that keys reach the form's navigation)
// until holds() is true; the failure names what was awaited.
template <class Predicate>
::testing::AssertionResult ProcessMessagesUntil(std::string_view what, Predicate holds) {
    return WaitUntil(what, holds, [](DWORD ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
        Application->ProcessMessages();
    });
}

POINT ScreenPoint(TControl& control, POINT client) { return control.ClientToScreen(client); }

// ---- the form ----------------------------------------------------------------

// Counts what the controls report and records the scroll box's thumb requests with the position
// each one left.
class TInputForm : public TForm {
    QUIRN_CLASS(TInputForm, TForm)
public:
    explicit TInputForm(TComponent* owner) : TForm(owner) {}
    int Clicks = 0;
    int DoubleClicks = 0;
    int PanelClicks = 0;
    struct TScrollRequest {
        WORD Code;
        int32_t Position;
    };
    std::vector<TScrollRequest> Requests;
    TWndMethod SavedBoxProc;
    TScrollBox* Box = nullptr;

    void ListClick(TObject*) { ++Clicks; }
    void ListDblClick(TObject*) { ++DoubleClicks; }
    void PanelClick(TObject*) { ++PanelClicks; }
    void BoxProc(TMessage& message) {
        SavedBoxProc(message);
        if (message.Msg == WM_VSCROLL && message.LParam == 0)
            Requests.push_back({LOWORD(message.WParam), Box->VertScrollBar()->Position()});
    }
    bool Requested(WORD code) const {
        for (const auto& request : Requests)
            if (request.Code == code) return true;
        return false;
    }
};

QUIRN_PUBLISH(TInputForm, p) {}

struct RealInput : ::testing::Test {
    void SetUp() override {
        form = new TInputForm(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(150, 120, 460, 320);
        form->SetCaption("Real input");

        list = new TListBox(form);
        list->SetParent(form);
        list->SetBounds(10, 10, 150, 200);
        for (const char* text : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"}) list->Items()->Add(text);
        list->SetOnClick(TNotifyEvent(form, &TInputForm::ListClick));
        list->SetOnDblClick(TNotifyEvent(form, &TInputForm::ListDblClick));

        box = new TScrollBox(form);
        box->SetParent(form);
        box->SetBounds(180, 10, 250, 200);
        box->SetBorderStyle(bsNone);
        box->VertScrollBar()->SetIncrement(12);
        nearEdit = new TEdit(form);
        nearEdit->SetParent(box);
        nearEdit->SetBounds(10, 10, 120, 21);
        farEdit = new TEdit(form);
        farEdit->SetParent(box);
        farEdit->SetBounds(10, 500, 120, 21);
        button = new TButton(form);
        button->SetParent(box);
        button->SetBounds(140, 10, 80, 25);
        form->Box = box;
        form->SavedBoxProc = box->WindowProc();
        box->SetWindowProc(TWndMethod(form, &TInputForm::BoxProc));

        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 220, 150, 40);
        panel->SetCaption("Click me");
        panel->SetOnClick(TNotifyEvent(form, &TInputForm::PanelClick));

        form->Show();
        ASSERT_TRUE(ProcessMessagesUntil("the form in front", [&] { return GetForegroundWindow() == form->Handle(); }));
    }
    void TearDown() override {
        box->SetWindowProc(form->SavedBoxProc);
        FreeForm(form);
    }
    POINT ItemPoint(int32_t index) const { return ScreenPoint(*list, Centre(list->ItemRect(index))); }

    TInputForm* form = nullptr;
    TListBox* list = nullptr;
    TScrollBox* box = nullptr;
    TEdit* nearEdit = nullptr;
    TEdit* farEdit = nullptr;
    TButton* button = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(RealInput, ListBoxFollowsClicksArrowKeysAndDoubleClicks) {
    ClickAt(ItemPoint(2));
    ASSERT_TRUE(ProcessMessagesUntil("a click on Gamma", [&] { return form->Clicks == 1; }));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_TRUE(list->Focused());
    PressKey(VK_DOWN);
    ASSERT_TRUE(ProcessMessagesUntil("Down to Delta", [&] { return list->ItemIndex() == 3; }));
    EXPECT_EQ(form->Clicks, 2);  // a change of selection by key is a click too
    PressKey(VK_HOME);
    ASSERT_TRUE(ProcessMessagesUntil("Home to Alpha", [&] { return list->ItemIndex() == 0; }));
    ClickAt(ItemPoint(4), 0, 2);
    ASSERT_TRUE(ProcessMessagesUntil("a double click on Epsilon", [&] { return form->DoubleClicks == 1; }));
    EXPECT_EQ(list->ItemIndex(), 4);
    // Typing a letter selects the next item starting with it.
    PressKey('Z');
    ASSERT_TRUE(ProcessMessagesUntil("Z to Zeta", [&] { return list->ItemIndex() == 5; }));
}

TEST_F(RealInput, ExtendedSelectionTakesCtrlAndShift) {
    list->SetMultiSelect(true);  // ExtendedSelect is on by default
    ClickAt(ItemPoint(0));
    ASSERT_TRUE(ProcessMessagesUntil("Alpha selected", [&] { return list->SelCount() == 1 && list->Selected(0); }));
    ClickAt(ItemPoint(2), VK_CONTROL);
    ASSERT_TRUE(ProcessMessagesUntil("Gamma added", [&] { return list->SelCount() == 2; }));
    EXPECT_TRUE(list->Selected(0));
    EXPECT_TRUE(list->Selected(2));
    ClickAt(ItemPoint(4), VK_SHIFT);
    ASSERT_TRUE(ProcessMessagesUntil("Gamma to Epsilon", [&] { return list->SelCount() == 3; }));
    EXPECT_FALSE(list->Selected(0));
    EXPECT_TRUE(list->Selected(3));
    EXPECT_EQ(list->ItemIndex(), 4);
    // The selection survives a new window.
    list->SetBorderStyle(bsNone);
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_EQ(list->ItemIndex(), 4);
}

TEST_F(RealInput, ScrollBarArrowAndThumbScrollTheChildren) {
    ASSERT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    RECT window;
    GetWindowRect(box->Handle(), &window);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int barX = window.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
    ClickAt(POINT{barX, window.bottom - arrow / 2});
    ASSERT_TRUE(ProcessMessagesUntil("the arrow's scroll to end", [&] { return form->Requested(SB_ENDSCROLL); }));
    EXPECT_EQ(box->VertScrollBar()->Position(), 12);
    EXPECT_EQ(farEdit->Top(), 488);
    EXPECT_EQ(nearEdit->Top(), -2);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 12);

    // Without Tracking the content stays while the thumb moves and follows when it is let go.
    form->Requests.clear();
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(box->Handle(), OBJID_VSCROLL, &bar));
    const POINT thumb{barX, bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    Drag(thumb, POINT{thumb.x, thumb.y + 60}, 6);
    ASSERT_TRUE(ProcessMessagesUntil("the thumb let go", [&] { return form->Requested(SB_THUMBPOSITION); }));
    ASSERT_TRUE(form->Requested(SB_THUMBTRACK));
    for (const auto& request : form->Requests)
        if (request.Code == SB_THUMBTRACK) {
            EXPECT_EQ(request.Position, 12);
        }
    const int32_t dropped = box->VertScrollBar()->Position();
    EXPECT_GT(dropped, 12);
    EXPECT_EQ(farEdit->Top(), 500 - dropped);

    // With Tracking it follows the thumb all the way.
    box->VertScrollBar()->SetTracking(true);
    form->Requests.clear();
    ASSERT_TRUE(GetScrollBarInfo(box->Handle(), OBJID_VSCROLL, &bar));
    const POINT again{barX, bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    Drag(again, POINT{again.x, again.y - 40}, 4);
    ASSERT_TRUE(ProcessMessagesUntil("the thumb let go", [&] { return form->Requested(SB_THUMBPOSITION); }));
    bool movedWhileDragged = false;
    for (const auto& request : form->Requests)
        if (request.Code == SB_THUMBTRACK && request.Position < dropped) movedWhileDragged = true;
    EXPECT_TRUE(movedWhileDragged);
    EXPECT_LT(box->VertScrollBar()->Position(), dropped);
    EXPECT_EQ(farEdit->Top(), 500 - box->VertScrollBar()->Position());
}

TEST_F(RealInput, TheWheelOverAChildScrollsTheBox) {
    // The wheel goes to the focused window; a button passes it on to its parent, the box.
    button->SetFocus();
    ASSERT_TRUE(ProcessMessagesUntil("the button focused", [&] { return button->Focused(); }));
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const auto notch = static_cast<int32_t>(lines) * 12;
    Wheel(ScreenPoint(*button, POINT{20, 10}), -1);
    ASSERT_TRUE(ProcessMessagesUntil("one notch down", [&] { return box->VertScrollBar()->Position() == notch; }));
    EXPECT_EQ(farEdit->Top(), 500 - notch);
    EXPECT_EQ(button->Top(), 10 - notch);
    Wheel(ScreenPoint(*box, POINT{100, 100}), 1);
    ASSERT_TRUE(ProcessMessagesUntil("one notch back up", [&] { return box->VertScrollBar()->Position() == 0; }));
}

TEST_F(RealInput, TabIntoAChildOutOfViewScrollsItIn) {
    nearEdit->SetFocus();
    ASSERT_TRUE(ProcessMessagesUntil("the near edit focused", [&] { return nearEdit->Focused(); }));
    PressKey(VK_TAB);
    ASSERT_TRUE(ProcessMessagesUntil("the far edit focused", [&] { return farEdit->Focused(); }));
    EXPECT_GE(farEdit->Top(), 0);
    EXPECT_LE(farEdit->Top() + farEdit->Height(), box->ClientHeight());
    EXPECT_EQ(box->VertScrollBar()->Position(), 521 - box->ClientHeight());
    PressKey(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(ProcessMessagesUntil("back to the near edit", [&] { return nearEdit->Focused(); }));
    EXPECT_EQ(nearEdit->Top(), 0);  // scrolled back just far enough
    EXPECT_EQ(box->VertScrollBar()->Position(), 10);
}

TEST_F(RealInput, APanelClickedIsClicked) {
    ClickAt(ScreenPoint(*panel, POINT{20, 20}));
    ASSERT_TRUE(ProcessMessagesUntil("a click on the panel", [&] { return form->PanelClicks == 1; }));
}

}  // namespace
