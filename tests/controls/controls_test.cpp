// Controls on real windows under Wine: window classes and the handle ->
// control lookup, WindowProc chains, alignment inside forms and group boxes,
// tab order, mouse routing to windowless controls, memo lines, exceptions in
// handlers, timers, menus and handle counts over repeated create/destroy (of
// every kind of control).
#include "framework/controls/WinApi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "GdiObjectCounter.h"
#include "MessagePump.h"
#include "Wait.h"
#include "framework/controls/Application.h"
#include "framework/controls/Button.h"
#include "framework/controls/ControlAtom.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Memo.h"
#include "framework/controls/Menu.h"
#include "framework/controls/Panel.h"
#include "framework/win/ObjectInstance.h"
#include "framework/controls/Screen.h"
#include "framework/controls/ScrollBox.h"
#include "framework/controls/StatusBar.h"
#include "framework/controls/Timer.h"

namespace {

std::wstring ClassNameOf(HWND window) {
    wchar_t name[100]{};
    GetClassNameW(window, name, 100);
    return name;
}

// Records messages passing a WindowProc hook and forwards them to the
// procedure it replaced (the way a skinner hooks a control).
class Hook : public TObject {
public:
    Hook(TControl& control, std::vector<std::string>& log, std::string name)
        : FControl(control), FLog(log), FName(std::move(name)) {}
    void Install() {
        FSaved = FControl.WindowProc();
        FControl.SetWindowProc(TWndMethod(this, &Hook::Handle));
    }
    void Restore() { FControl.SetWindowProc(FSaved); }
    TWndMethod Saved() const { return FSaved; }
    void Handle(TMessage& message) {
        if (message.Msg == WM_USER + 1) FLog.push_back(FName);
        FSaved(message);
    }

private:
    TControl& FControl;
    std::vector<std::string>& FLog;
    std::string FName;
    TWndMethod FSaved;
};

// A form created in code (no form resource), freed at the end of the test.
struct FormFixture : ::testing::Test {
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 400, 300);
        form->SetCaption("Controls test");
    }
    void TearDown() override {
        form->BeforeDestruction();
        delete form;
        PumpPendingMessages();
    }
    TForm* form = nullptr;
};

using WindowClasses = FormFixture;

TEST_F(WindowClasses, EachControlRegistersItsClassNameAndLeadsBackFromItsHandle) {
    auto* button = new TButton(form);
    button->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    auto* group = new TGroupBox(form);
    group->SetParent(form);

    EXPECT_FALSE(form->HandleAllocated());
    HWND buttonWindow = button->Handle();  // creates the parent's window first
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(GetParent(buttonWindow), form->Handle());

    EXPECT_EQ(ClassNameOf(form->Handle()), L"TForm");
    EXPECT_EQ(ClassNameOf(buttonWindow), L"TButton");
    EXPECT_EQ(ClassNameOf(edit->Handle()), L"TEdit");
    EXPECT_EQ(ClassNameOf(memo->Handle()), L"TMemo");
    EXPECT_EQ(ClassNameOf(status->Handle()), L"TStatusBar");
    EXPECT_EQ(ClassNameOf(group->Handle()), L"TGroupBox");

    for (TWinControl* control : std::vector<TWinControl*>{form, button, edit, memo, status, group}) {
        EXPECT_EQ(FindControl(control->Handle()), control) << control->ClassName();
        EXPECT_TRUE(IsWindowUnicode(control->Handle())) << control->ClassName();
        EXPECT_EQ(GetPropW(control->Handle(), ControlAtomString().c_str()), reinterpret_cast<HANDLE>(control));
    }
    // Superclasses behave as the system controls they are made from.
    EXPECT_EQ(SendMessageW(buttonWindow, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
    memo->SetWideText(L"one\r\ntwo");
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 2);
    status->SetSimpleText("ready");
    wchar_t statusText[32]{};
    SendMessageW(status->Handle(), SB_GETTEXTW, 0,
                 reinterpret_cast<LPARAM>(statusText));  // simple mode reads as part 0
    EXPECT_STREQ(statusText, L"ready");

    // A destroyed window no longer leads anywhere; the control makes a new one.
    HWND old = buttonWindow;
    button->DestroyHandle();
    EXPECT_FALSE(button->HandleAllocated());
    EXPECT_EQ(FindControl(old), nullptr);
    EXPECT_NE(button->Handle(), nullptr);
    EXPECT_EQ(FindControl(button->Handle()), button);
}

TEST_F(WindowClasses, CaptionSurvivesTheWindowAndSpeaksAnsiAndUtf16) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetWideText(L"中文 text");
    EXPECT_EQ(edit->WideText(), L"中文 text");
    HWND window = edit->Handle();
    wchar_t text[32]{};
    GetWindowTextW(window, text, 32);
    EXPECT_STREQ(text, L"中文 text");
    SetWindowTextW(window, L"typed");
    edit->DestroyHandle();
    EXPECT_EQ(edit->WideText(), L"typed");
    edit->SetCaption("abc");
    EXPECT_EQ(edit->Caption(), "abc");
    EXPECT_EQ(edit->Text(), "abc");
}

using WindowProcChains = FormFixture;

TEST_F(WindowProcChains, HooksSeeMessagesNewestFirstAndRestoreInAnyOrder) {
    auto* button = new TButton(form);
    button->SetParent(form);
    HWND window = button->Handle();
    const TWndMethod original = button->WindowProc();
    std::vector<std::string> log;
    Hook a(*button, log, "a"), b(*button, log, "b"), c(*button, log, "c");
    a.Install();
    b.Install();
    c.Install();
    SendMessageW(window, WM_USER + 1, 0, 0);  // the window's messages pass the chain too
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));

    // Restoring the newest first gives back each previous procedure.
    c.Restore();
    EXPECT_EQ(button->WindowProc(), TWndMethod(&b, &Hook::Handle));
    b.Restore();
    a.Restore();
    EXPECT_EQ(button->WindowProc(), original);
    log.clear();
    button->Perform(WM_USER + 1);
    EXPECT_TRUE(log.empty());

    // Out of order: b leaves while c still holds b in its saved procedure;
    // the identity comparison tells c that its saved procedure is b's.
    a.Install();
    b.Install();
    c.Install();
    EXPECT_EQ(c.Saved(), TWndMethod(&b, &Hook::Handle));
    EXPECT_EQ(b.Saved(), TWndMethod(&a, &Hook::Handle));
    EXPECT_EQ(a.Saved(), original);
    c.Restore();
    a.Restore();  // a puts back the original although b was installed after it
    EXPECT_EQ(button->WindowProc(), original);
    log.clear();
    SendMessageW(window, WM_USER + 1, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
}

TEST_F(WindowProcChains, PerformReturnsTheResultAndUnhandledMessagesReachTheSystem) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->HandleNeeded();
    edit->SetWideText(L"12345");
    EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 5);
    // Without a window the control answers text messages itself.
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("xyz");
    EXPECT_EQ(label->Perform(WM_GETTEXTLENGTH), 3);
}

using Alignment = FormFixture;

TEST_F(Alignment, TopGroupBoxesStackByStoredTopAndMemoFillsTheFrame) {
    form->SetBorderStyle(bsSingle);
    form->HandleNeeded();
    form->SetClientWidth(347);
    form->SetClientHeight(278);
    ASSERT_EQ(form->ClientWidth(), 347);
    ASSERT_EQ(form->ClientHeight(), 278);
    struct TBoxBounds {
        int32_t top, height;
    };
    const TBoxBounds bounds[] = {{0, 109}, {150, 105}, {109, 41}};
    std::vector<TGroupBox*> boxes;
    for (const TBoxBounds& entry : bounds) {
        auto* box = new TGroupBox(form);
        box->SetParent(form);
        box->Font()->SetHeight(-12);
        box->SetBounds(0, entry.top, 347, entry.height);
        box->SetAlign(alTop);
        boxes.push_back(box);
    }
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    status->SetBounds(0, 255, 347, 23);
    auto* memo = new TMemo(form);
    memo->SetParent(boxes[0]);
    memo->SetAlign(alClient);

    EXPECT_EQ(boxes[0]->BoundsRect().top, 0);
    EXPECT_EQ(boxes[2]->BoundsRect().top, 109);
    EXPECT_EQ(boxes[1]->BoundsRect().top, 150);
    EXPECT_EQ(boxes[1]->BoundsRect().bottom, 255);
    EXPECT_EQ(status->Top(), 255);
    EXPECT_EQ(status->Height(), 23);
    EXPECT_EQ(status->Width(), 347);
    // The memo sits inside the frame: 2 pixels in, below the caption line.
    EXPECT_EQ(memo->Left(), 2);
    EXPECT_EQ(memo->Width(), 343);
    EXPECT_EQ(memo->Top() + memo->Height(), 109 - 2);
    EXPECT_EQ(memo->Top(), 12 + 2);

    // The windows agree with the bounds.
    RECT rect;
    GetWindowRect(boxes[1]->Handle(), &rect);
    MapWindowPoints(HWND_DESKTOP, form->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.bottom - rect.top, 105);

    // Hiding a box closes the gap; resizing the form keeps the bar at the bottom.
    boxes[2]->SetVisible(false);
    EXPECT_EQ(boxes[1]->Top(), 109);
    form->SetClientHeight(300);
    EXPECT_EQ(status->Top(), 300 - 23);
}

TEST_F(Alignment, ConstraintsPinTheOuterSize) {
    form->SetBorderStyle(bsSingle);
    form->Constraints()->SetMinWidth(355);
    form->Constraints()->SetMaxWidth(355);
    form->Constraints()->SetMinHeight(305);
    form->Constraints()->SetMaxHeight(305);
    form->HandleNeeded();
    form->SetBounds(10, 10, 500, 100);
    RECT rect;
    GetWindowRect(form->Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, 355);
    EXPECT_EQ(rect.bottom - rect.top, 305);
    // The system asks too (a user's drag): the answer carries the same limits.
    MINMAXINFO info{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 355);
    EXPECT_EQ(info.ptMaxTrackSize.y, 305);
}

using TabOrder = FormFixture;

TEST_F(TabOrder, ListRunsThroughNestedControlsInTabOrder) {
    auto* box1 = new TGroupBox(form);
    box1->SetParent(form);
    auto* box2 = new TGroupBox(form);
    box2->SetParent(form);
    auto* memo1 = new TMemo(form);
    memo1->SetParent(box1);
    auto* memo2 = new TMemo(form);
    memo2->SetParent(box2);
    auto* hidden = new TEdit(form);
    hidden->SetParent(box2);
    hidden->SetVisible(false);
    auto* button2 = new TButton(form);
    button2->SetParent(form);
    auto* button1 = new TButton(form);
    button1->SetParent(form);
    button1->SetTabOrder(2);  // before button2
    form->Show();
    EXPECT_EQ(button1->TabOrder(), 2);
    EXPECT_EQ(button2->TabOrder(), 3);

    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<TWinControl*>{box1, memo1, box2, memo2, hidden, button1, button2}));

    // Focus moves over the focusable tab stops only (the hidden edit is skipped).
    EXPECT_EQ(form->FindNextControl(memo1, true, true, false), memo2);
    EXPECT_EQ(form->FindNextControl(memo2, true, true, false), button1);
    EXPECT_EQ(form->FindNextControl(button2, true, true, false), memo1);
    EXPECT_EQ(form->FindNextControl(memo1, false, true, false), button2);
}

using RightToLeft = FormFixture;

LONG_PTR ExStyleOf(TWinControl& control) { return GetWindowLongPtrW(control.Handle(), GWL_EXSTYLE); }

TEST_F(RightToLeft, BiDiModeSetsTheWindowsReadingOrderAndScrollBarSideAndChildrenFollow) {
    constexpr LONG_PTR both = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    form->SetBiDiMode(bdRightToLeft);
    auto* follower = new TEdit(form);
    follower->SetParent(form);  // ParentBiDiMode: takes the form's mode when it joins
    auto* own = new TMemo(form);
    own->SetParentBiDiMode(false);  // keeps its own mode (left to right)
    own->SetParent(form);
    form->Show();
    EXPECT_EQ(follower->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(ExStyleOf(*form) & both, both);
    EXPECT_EQ(ExStyleOf(*follower) & both, both);
    EXPECT_EQ(ExStyleOf(*own) & both, 0);

    // A change on a living window reaches its styles and the children that follow it.
    form->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_EQ(ExStyleOf(*form) & both, WS_EX_RTLREADING);
    EXPECT_EQ(follower->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(ExStyleOf(*follower) & both, WS_EX_RTLREADING);
    form->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(ExStyleOf(*form) & both, 0);
    EXPECT_EQ(ExStyleOf(*follower) & both, 0);
    form->SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_EQ(ExStyleOf(*form) & both, both);
    EXPECT_EQ(own->BiDiMode(), bdLeftToRight) << "a control with a mode of its own keeps it";
    EXPECT_EQ(ExStyleOf(*own) & both, 0);

    // The styles survive a new window (they come from BiDiMode, not from the old window).
    form->RecreateWnd();
    form->HandleNeeded();
    EXPECT_EQ(ExStyleOf(*form) & both, both);
}

class ClickCounter : public TObject {
public:
    int Clicks = 0;
    TObject* LastSender = nullptr;
    void OnClick(TObject* sender) {
        ++Clicks;
        LastSender = sender;
    }
    void Throw(TObject*) { throw EInvalidOperation("handler failed"); }
};

using MouseRouting = FormFixture;

TEST_F(MouseRouting, ParentPassesClicksToTheWindowlessLabelUnderTheMouse) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(50, 40, 80, 20);
    ClickCounter counter;
    label->SetOnClick(TNotifyEvent(&counter, &ClickCounter::OnClick));
    HWND window = form->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 45));
    EXPECT_EQ(GetCaptureControl(), label);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(61, 46));
    EXPECT_EQ(counter.Clicks, 1);
    EXPECT_EQ(counter.LastSender, label);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // Released outside the label: no click. Pressed elsewhere: no click.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 45));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(counter.Clicks, 1);
    // The hand cursor over it.
    label->SetCursor(crHandPoint);
    EXPECT_EQ(form->ControlAtPos(POINT{60, 45}), label);
}

// Client coordinates of windowed and windowless controls map to the screen
// through the form's real client area (inside its frame and caption), both ways.
TEST_F(MouseRouting, ClientToScreenAccountsForTheFormsFrameAndCaption) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 20, 75, 25);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(30, 60, 80, 20);
    form->HandleNeeded();
    POINT formClient{0, 0};
    ::ClientToScreen(form->Handle(), &formClient);
    POINT buttonClient{0, 0};
    ::ClientToScreen(button->Handle(), &buttonClient);
    const POINT formOrigin = form->ClientOrigin();
    EXPECT_EQ(formOrigin.x, formClient.x);
    EXPECT_EQ(formOrigin.y, formClient.y);
    const POINT buttonPoint = button->ClientToScreen(POINT{5, 6});
    EXPECT_EQ(buttonPoint.x, buttonClient.x + 5);
    EXPECT_EQ(buttonPoint.y, buttonClient.y + 6);
    const POINT labelPoint = label->ClientToScreen(POINT{1, 2});
    EXPECT_EQ(labelPoint.x, formClient.x + 31);
    EXPECT_EQ(labelPoint.y, formClient.y + 62);
    const POINT back = label->ScreenToClient(labelPoint);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
}

TEST_F(MouseRouting, ButtonClickRaisesOnClickThroughReflectedNotification) {
    auto* button = new TButton(form);
    button->SetParent(form);
    ClickCounter counter;
    button->SetOnClick(TNotifyEvent(&counter, &ClickCounter::OnClick));
    form->Show();
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(counter.Clicks, 1);
    // Enter clicks the default button (dialog key broadcast).
    button->SetDefault(true);
    EXPECT_NE(form->Perform(CM_DIALOGKEY, VK_RETURN), 0);
    EXPECT_EQ(counter.Clicks, 2);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE), 0);
    button->SetCancel(true);
    EXPECT_NE(form->Perform(CM_DIALOGKEY, VK_ESCAPE), 0);
    EXPECT_EQ(counter.Clicks, 3);
    // Alt + accelerator.
    button->SetCaption("&Go");
    EXPECT_NE(form->Perform(CM_DIALOGCHAR, L'g'), 0);
    EXPECT_EQ(counter.Clicks, 4);
}

using ExceptionHandling = FormFixture;

TEST_F(ExceptionHandling, AHandlerThatThrowsIsReportedAndTheWindowLivesOn) {
    std::vector<std::string> reported;
    struct Sink : TObject {
        std::vector<std::string>* Reported;
        void OnException(TObject*, const std::exception& error) { Reported->push_back(error.what()); }
    } sink;
    sink.Reported = &reported;
    const TExceptionEvent previous = Application->OnException();
    Application->SetOnException(TExceptionEvent(&sink, &Sink::OnException));
    auto* button = new TButton(form);
    button->SetParent(form);
    ClickCounter counter;
    button->SetOnClick(TNotifyEvent(&counter, &ClickCounter::Throw));
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Application->SetOnException(previous);
    EXPECT_EQ(reported, (std::vector<std::string>{"handler failed", "handler failed"}));
    EXPECT_TRUE(IsWindow(button->Handle()));
    EXPECT_EQ(FindControl(button->Handle()), button);
}

TEST(MemoLines, LinesFollowTheTextAndAddAppendsOneLine) {
    auto* form = new TForm(nullptr);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("");
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(lines->Strings(0), "");
    EXPECT_EQ(memo->WideText(), L"\r\n");
    lines->Clear();
    lines->Add("65,66");
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(lines->Strings(0), "65,66");
    EXPECT_EQ(memo->WideText(), L"65,66\r\n");
    lines->Add("x");
    EXPECT_EQ(memo->WideText(), L"65,66\r\nx\r\n");
    lines->Insert(0, "first");
    EXPECT_EQ(lines->Count(), 3);
    lines->Delete(1);
    EXPECT_EQ(memo->WideText(), L"first\r\nx\r\n");
    memo->SetWideText(L"a\r\nb");  // a last line without its break
    lines->Add("c");
    EXPECT_EQ(memo->WideText(), L"a\r\nb\r\nc");
    memo->HandleNeeded();  // the window takes the text over
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    lines->SetString(1, "y");
    EXPECT_EQ(lines->Text(), "a\r\ny\r\nc\r\n");
    EXPECT_THROW(lines->Strings(5), EListError);
    // Long text goes whole into the window (no length limit). Unwrapped: the
    // system's word wrapping of one very long line is slow under Wine.
    memo->SetWordWrap(false);
    std::string big;
    while (big.size() < 40000) big += "214,208,";
    lines->Clear();
    lines->Add(big);
    EXPECT_EQ(memo->WideText().size(), big.size() + 2);
    form->BeforeDestruction();
    delete form;
}

TEST(Timers, OnTimerFiresThroughTheMessageLoop) {
    ClickCounter counter;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.SetOnTimer(TNotifyEvent(&counter, &ClickCounter::OnClick));
    EXPECT_TRUE(PumpUntil("three ticks of the timer", [&] { return counter.Clicks >= 3; }));
    EXPECT_EQ(counter.LastSender, &timer);
    timer.SetEnabled(false);
    const int seen = counter.Clicks;
    const DWORD pause = GetTickCount();
    while (GetTickCount() - pause < 100) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpPendingMessages();
    }
    EXPECT_EQ(counter.Clicks, seen);
}

// Shortcut texts read back: every shortcut ShortCutToText writes, in any letter case; texts that
// name no key; and entry texts "Caption\tShortcut" split into an item's caption and shortcut.
TEST(MenuShortCuts, TextsReadBackAndEntryTextsSplit) {
    for (const TShortCut keys : {ShortCut('S', TShiftState{ssCtrl}), ShortCut(VK_F4, TShiftState{ssAlt}),
                                 ShortCut(VK_DELETE, TShiftState{ssShift, ssCtrl}), ShortCut('0', TShiftState{}),
                                 ShortCut(VK_F12, TShiftState{ssShift, ssCtrl, ssAlt}), ShortCut(VK_NEXT, {})}) {
        const std::string text = ShortCutToText(keys);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(TextToShortCut(text), keys) << text;
        std::string lower = text;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(TextToShortCut(lower), keys) << lower;
    }
    EXPECT_EQ(TextToShortCut("Alt+Ctrl+S"), ShortCut('S', TShiftState{ssCtrl, ssAlt})) << "modifiers in any order";
    for (const char* text : {"", "Ctrl+", "Ctrl+Nothing", "Hyper+S", "F25", "Shift+Ctrl"})
        EXPECT_EQ(TextToShortCut(text), scNone) << text;

    TMenuItem item(nullptr);
    SetItemFromEntryText(item, L"&Open\tCtrl+O");
    EXPECT_EQ(item.Caption(), "&Open");
    EXPECT_EQ(item.ShortCut(), ShortCut('O', TShiftState{ssCtrl}));
    SetItemFromEntryText(item, L"&Zoom\t200 %");
    EXPECT_EQ(item.Caption(), "&Zoom\t200 %") << "a text after the tab that is no shortcut stays in the caption";
    EXPECT_EQ(item.ShortCut(), scNone);
    SetItemFromEntryText(item, L"Plain");
    EXPECT_EQ(item.Caption(), "Plain");
    EXPECT_EQ(item.ShortCut(), scNone);
}

using Menus = FormFixture;

TEST_F(Menus, MainMenuBuildsTheBarAndDispatchesCommandsAndShortcuts) {
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    auto* save = new TMenuItem(form);
    save->SetCaption("&Save");
    save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    auto* line = new TMenuItem(form);
    line->SetCaption("-");
    menu->Items()->Add(file);
    file->Add(save);
    file->Add(line);
    ClickCounter counter;
    save->SetOnClick(TNotifyEvent(&counter, &ClickCounter::OnClick));
    form->SetMenu(menu);
    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    HMENU fileMenu = GetSubMenu(bar, 0);
    ASSERT_NE(fileMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(fileMenu), 2);
    EXPECT_EQ(file->Handle(), fileMenu);
    wchar_t text[32]{};
    GetMenuStringW(fileMenu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Save\tCtrl+S");

    SendMessageW(form->Handle(), WM_COMMAND, save->Command(), 0);
    EXPECT_EQ(counter.Clicks, 1);
    EXPECT_TRUE(menu->IsShortCut(ShortCut('S', TShiftState{ssCtrl})));
    EXPECT_EQ(counter.Clicks, 2);
    save->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut(ShortCut('S', TShiftState{ssCtrl})));
    // A change rebuilds the system menu.
    save->SetChecked(true);
    fileMenu = GetSubMenu(GetMenu(form->Handle()), 0);
    EXPECT_EQ(GetMenuState(fileMenu, 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(Menus, OwnerDrawnItemsAskTheirEventsToMeasureAndDraw) {
    auto* popup = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("Item");
    popup->Items()->Add(item);
    popup->SetOwnerDraw(true);
    struct Painter : TObject {
        int Measured = 0;
        int Drawn = 0;
        void Measure(TObject*, TCanvas*, int32_t& width, int32_t& height) {
            ++Measured;
            width = 77;
            height = 33;
        }
        void Draw(TObject*, TCanvas* canvas, RECT rect, bool) {
            ++Drawn;
            HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(canvas->Handle(), &rect, brush);
            DeleteObject(brush);
        }
    } painter;
    item->SetOnMeasureItem(TMenuMeasureItemEvent(&painter, &Painter::Measure));
    item->SetOnDrawItem(TMenuDrawItemEvent(&painter, &Painter::Draw));
    HMENU handle = popup->Handle();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoW(handle, 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(item));

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = info.dwItemData;
    SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 77u);
    EXPECT_EQ(measure.itemHeight, 33u);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(memory, bitmap);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = info.dwItemData;
    draw.hDC = memory;
    draw.rcItem = RECT{0, 0, 20, 20};
    SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(painter.Drawn, 1);
    EXPECT_EQ(GetPixel(memory, 5, 5), RGB(255, 0, 0));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    // Data that is not a live menu item is left to the system.
    draw.itemData = 0x1234;
    SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(painter.Drawn, 1);
}

BOOL CALLBACK CountChild(HWND, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    EnumChildWindows(window, CountChild, data);
    return TRUE;
}

int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(HandleCounts, RepeatedFormsLeaveNoWindowGdiObjectOrThunkBehind) {
    auto build = [] {
        auto* form = new TForm(nullptr);
        form->SetBounds(50, 50, 300, 200);
        auto* box = new TGroupBox(form);
        box->SetParent(form);
        box->SetAlign(alTop);
        auto* memo = new TMemo(form);
        memo->SetParent(box);
        memo->SetAlign(alClient);
        memo->SetBevelKind(bkTile);
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetCaption("label");
        label->Font()->SetStyle(TFontStyles{fsUnderline});
        auto* button = new TButton(form);
        button->SetParent(form);
        auto* status = new TStatusBar(form);
        status->SetParent(form);
        status->SetSimpleText("status");
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetCaption("panel");
        panel->SetBevelInner(bvLowered);
        panel->SetParentBackground(true);
        auto* list = new TListBox(form);
        list->SetParent(panel);
        list->SetStyle(lbOwnerDrawFixed);
        for (const char* text : {"one", "two", "three"}) list->Items()->Add(text);
        list->SetItemIndex(1);
        auto* scroller = new TScrollBox(form);
        scroller->SetParent(form);
        auto* deep = new TEdit(form);
        deep->SetParent(scroller);
        deep->SetTop(500);
        scroller->VertScrollBar()->SetPosition(100);
        auto* menu = new TPopupMenu(form);
        auto* item = new TMenuItem(form);
        menu->Items()->Add(item);
        menu->Handle();
        form->Show();
        UpdateWindow(form->Handle());
        PumpPendingMessages();
        form->BeforeDestruction();
        delete form;
        PumpPendingMessages();
    };
    build();  // classes, stock objects and caches are made once
    const GdiObjectCounter gdi;
    const int windows = CountThreadWindows();
    const int thunks = ObjectInstanceCount();
    for (int i = 0; i < 10; ++i) build();
    EXPECT_EQ(gdi.Leaked(), GdiObjectCounts{}) << gdi.Leaked().ToString();
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(ObjectInstanceCount(), thunks);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(Painting, FormBackgroundAndLabelTextReachTheScreen) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(120, 120, 240, 160);
    form->SetColor(RGBColor(0x20, 0x60, 0xA0));
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetTransparent(false);
    label->SetColor(RGBColor(0xFF, 0xFF, 0xFF));
    label->Font()->SetColor(clGreen);
    label->Font()->SetHeight(-24);
    label->SetCaption("MMMM");
    label->SetLeft(10);
    label->SetTop(10);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPendingMessages();
    HDC dc = GetDC(form->Handle());
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(GetPixel(dc, client.right - 5, client.bottom - 5), RGB(0x20, 0x60, 0xA0));
    int green = 0;
    int white = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == RGB(0, 0x80, 0)) ++green;
            if (pixel == RGB(0xFF, 0xFF, 0xFF)) ++white;
        }
    ReleaseDC(form->Handle(), dc);
    EXPECT_GT(green, 20);
    EXPECT_GT(white, 20);
    EXPECT_GT(label->Width(), 40);  // sized to its text
    form->BeforeDestruction();
    delete form;
}

// Records that a component it watches was freed.
class FreeWatcher : public TComponent {
public:
    FreeWatcher() : TComponent(nullptr) {}
    TComponent* Freed = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) Freed = component;
    }
};

TEST(FormRelease, FreesTheFormOnceQueuedMessagesRanEvenIfItNeverShowed) {
    FreeWatcher watcher;
    for (const bool shown : {false, true}) {
        watcher.Freed = nullptr;
        auto* form = new TForm(nullptr);
        form->FreeNotification(&watcher);
        if (shown) form->Show();
        form->Release();
        EXPECT_EQ(watcher.Freed, nullptr) << "freed before the queue ran, shown=" << shown;
        PumpPendingMessages();
        EXPECT_EQ(watcher.Freed, form) << "shown=" << shown;
    }
}

}  // namespace
