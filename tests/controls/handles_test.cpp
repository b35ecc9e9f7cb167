// Handles of the controls on every path: a menu bar outlives the windows that show it, drawing and
// painting that throw leave the system's DCs as they were and leak nothing, the screen's cursor table
// destroys only the cursors it owns, and text is measured on the shared measuring DC.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "GdiObjectCounter.h"
#include "MessagePump.h"
#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/GraphicControl.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/Label.h"
#include "framework/controls/Menu.h"
#include "framework/controls/Screen.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "framework/win/TextMeasure.h"
#include "framework/win/UserObject.h"

namespace {

struct PaintFailure : std::runtime_error {
    PaintFailure() : std::runtime_error("paint failed") {}
};

// Counts the exceptions the application reports while it lives.
class ReportedExceptions : public TObject {
public:
    ReportedExceptions() : FPrevious(Application->OnException()) {
        Application->SetOnException(TExceptionEvent(this, &ReportedExceptions::OnException));
    }
    ~ReportedExceptions() override { Application->SetOnException(FPrevious); }
    int Count = 0;

private:
    void OnException(TObject*, const std::exception&) { ++Count; }
    TExceptionEvent FPrevious;
};

TMainMenu* MenuWithOneDropDown(TComponent* owner) {
    auto* menu = new TMainMenu(owner);
    auto* file = new TMenuItem(owner);
    file->SetCaption("&File");
    auto* open = new TMenuItem(owner);
    open->SetCaption("&Open");
    menu->Items()->Add(file);
    file->Add(open);
    return menu;
}

// A windowless control whose painting changes the DC and then fails.
class FailingPainter : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Painted = 0;

protected:
    void Paint() override {
        ++Painted;
        Canvas()->Font().SetHeight(-30);
        Canvas()->Brush().SetColor(clRed);
        Canvas()->FillRect(RECT{0, 0, 5, 5});
        SetTextColor(Canvas()->Handle(), RGB(1, 2, 3));
        throw PaintFailure();
    }
};

bool IsLiveCursor(HCURSOR cursor) {
    ICONINFO info{};
    if (!::GetIconInfo(cursor, &info)) return false;
    const win::BitmapHandle color(info.hbmColor), mask(info.hbmMask);
    return true;
}

HCURSOR MakeCursor() {
    std::vector<BYTE> andMask(32 * 32 / 8, 0xFF), xorMask(32 * 32 / 8, 0x00);
    return ::CreateCursor(::GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask.data(), xorMask.data());
}

}  // namespace

TEST(MenuHandles, TheMenuBarOutlivesEachWindowThatShowedIt) {
    auto* form = new TForm(nullptr);
    TMainMenu* owned = MenuWithOneDropDown(form);
    form->SetMenu(owned);
    HMENU bar = owned->Handle();
    ASSERT_EQ(GetMenu(form->Handle()), bar);
    HMENU dropDown = owned->Items()->Items(0)->Handle();
    // A new window: the system must not have destroyed the bar with the old one.
    form->SetBorderStyle(bsDialog);
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_TRUE(IsMenu(dropDown));
    EXPECT_EQ(owned->Handle(), bar);
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    EXPECT_EQ(GetSubMenu(bar, 0), dropDown);

    // A menu bar of another owner stays alive when the form goes, and goes with its owner.
    TMainMenu* shared = MenuWithOneDropDown(nullptr);
    form->SetMenu(shared);
    HMENU sharedBar = shared->Handle();
    EXPECT_EQ(GetMenu(form->Handle()), sharedBar);
    form->BeforeDestruction();
    delete form;
    EXPECT_FALSE(IsMenu(bar));  // the form's own menu went with it
    EXPECT_TRUE(IsMenu(sharedBar));
    delete shared;  // with its items, which have no other owner
    EXPECT_FALSE(IsMenu(sharedBar));
}

TEST(MenuHandles, OwnerDrawingThatThrowsLeavesTheSystemsDCAsItFoundItAndLeaksNothing) {
    auto* popup = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(popup);
    item->SetCaption("Item");
    popup->Items()->Add(item);
    popup->SetOwnerDraw(true);
    struct Painter : TObject {
        void Measure(TObject*, TCanvas* canvas, int32_t&, int32_t&) {
            canvas->Font().SetHeight(-40);
            canvas->TextWidth("measured");
            throw PaintFailure();
        }
        void Draw(TObject*, TCanvas* canvas, RECT rect, bool) {
            canvas->Font().SetHeight(-40);
            canvas->Brush().SetColor(clBlue);
            canvas->FillRect(rect);
            SetTextColor(canvas->Handle(), RGB(9, 9, 9));
            throw PaintFailure();
        }
    } painter;
    popup->Handle();
    const win::MemoryDC dc;
    const win::BitmapHandle bitmap(CreateBitmap(20, 20, 1, 32, nullptr));
    const win::SelectedObject selected(dc.get(), bitmap.get());
    SetTextColor(dc.get(), RGB(200, 100, 50));
    HGDIOBJ font = GetCurrentObject(dc.get(), OBJ_FONT);
    HGDIOBJ brush = GetCurrentObject(dc.get(), OBJ_BRUSH);
    HGDIOBJ measuringFont = GetCurrentObject(win::MeasuringDC(), OBJ_FONT);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = reinterpret_cast<ULONG_PTR>(item);
    draw.hDC = dc.get();
    draw.rcItem = RECT{0, 0, 20, 20};
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(item);
    auto round = [&](bool throwing) {
        item->SetOnMeasureItem(throwing ? TMenuMeasureItemEvent(&painter, &Painter::Measure) : nullptr);
        item->SetOnDrawItem(throwing ? TMenuDrawItemEvent(&painter, &Painter::Draw) : nullptr);
        if (throwing) {
            EXPECT_THROW(MeasureMenuItemMessage(measure), PaintFailure);
            EXPECT_THROW(DrawMenuItemMessage(draw), PaintFailure);
        } else {
            EXPECT_TRUE(MeasureMenuItemMessage(measure));
            EXPECT_TRUE(DrawMenuItemMessage(draw));  // the default look: menu font and colours
        }
        EXPECT_EQ(GetTextColor(dc.get()), RGB(200, 100, 50));
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(win::MeasuringDC(), OBJ_FONT), measuringFont);
    };
    round(false);
    round(true);
    const GdiObjectCounter gdi;
    for (int i = 0; i < 20; ++i) {
        round(false);
        round(true);
    }
    EXPECT_EQ(gdi.Leaked(), GdiObjectCounts{}) << gdi.Leaked().ToString();
    delete popup;
}

TEST(PaintHandles, APaintThatThrowsEndsThePaintRestoresTheDCAndLeaksNothing) {
    ReportedExceptions reported;
    auto* form = new TForm(nullptr);
    form->SetBounds(60, 60, 200, 150);
    auto* painter = new FailingPainter(form);
    painter->SetParent(form);
    painter->SetBounds(10, 10, 50, 40);
    form->Show();
    auto repaint = [&] {
        InvalidateRect(form->Handle(), nullptr, TRUE);
        UpdateWindow(form->Handle());
        PumpPendingMessages();
    };
    repaint();
    const GdiObjectCounter gdi;
    const int painted = painter->Painted;
    for (int i = 0; i < 20; ++i) repaint();
    EXPECT_EQ(painter->Painted, painted + 20);  // once per repaint: every paint was ended
    EXPECT_EQ(reported.Count, painter->Painted);
    EXPECT_FALSE(GetUpdateRect(form->Handle(), nullptr, FALSE));
    EXPECT_EQ(gdi.Leaked(), GdiObjectCounts{}) << gdi.Leaked().ToString();
    form->BeforeDestruction();
    delete form;
}

TEST(CursorHandles, TheScreenDestroysTheCursorsItOwnsAndNeverSharedOnes) {
    HCURSOR shared = LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR first = MakeCursor();
    HCURSOR second = MakeCursor();
    ASSERT_TRUE(shared && first && second);
    {
        TScreen screen(nullptr);
        screen.SetCursors(1, win::CursorHandle(first));
        EXPECT_EQ(screen.Cursors(1), first);
        screen.SetCursors(1, shared);  // replacing an owned cursor destroys it
        EXPECT_FALSE(IsLiveCursor(first));
        EXPECT_EQ(screen.Cursors(1), shared);
        screen.SetCursors(1, nullptr);  // removing a shared one leaves it alone
        EXPECT_TRUE(IsLiveCursor(shared));
        EXPECT_EQ(screen.Cursors(1), LoadCursorW(nullptr, IDC_ARROW));
        screen.SetCursors(2, win::CursorHandle(second));
        screen.SetCursors(3, shared);
        EXPECT_EQ(screen.Cursors(2), second);
    }
    EXPECT_FALSE(IsLiveCursor(second));  // the screen's own went with it
    EXPECT_TRUE(IsLiveCursor(shared));
}

TEST(TextMeasuring, LabelHintAndGroupBoxMeasureTheirTextAsTheScreenShowsIt) {
    auto* form = new TForm(nullptr);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->Font()->SetHeight(-19);
    label->SetCaption("Measured caption");
    const RECT text = win::MeasureText(label->Font()->Handle(), L"Measured caption", DT_EXPANDTABS);
    EXPECT_EQ(label->Width(), text.right);
    EXPECT_EQ(label->Height(), text.bottom);
    label->SetCaption("");  // an empty caption keeps one line of the font
    EXPECT_EQ(label->Height(), win::MeasureFont(label->Font()->Handle()).tmHeight);

    THintWindow hint(nullptr);
    const RECT hintRect = hint.CalcHintRect(120, "a hint that wraps over more than a single line of text");
    const RECT hintText =
        win::MeasureText(hint.Font()->Handle(), L"a hint that wraps over more than a single line of text",
                         DT_LEFT | DT_WORDBREAK | DT_NOPREFIX, 120);
    EXPECT_GT(hintRect.right - hintRect.left, hintText.right);  // the text plus border and margins
    EXPECT_GT(hintRect.bottom - hintRect.top, hintText.bottom);
    EXPECT_GT(hintText.bottom, win::MeasureFont(hint.Font()->Handle()).tmHeight);  // wrapped

    // The group box puts its controls below its caption's character height.
    auto* group = new TGroupBox(form);
    group->SetParent(form);
    group->Font()->SetName("Tahoma");
    group->Font()->SetHeight(20);  // a cell height: the character height is measured
    group->SetBounds(0, 0, 200, 120);
    auto* inside = new TLabel(form);
    inside->SetParent(group);
    inside->SetAlign(alTop);
    const TEXTMETRICW metrics = win::MeasureFont(group->Font()->Handle());
    EXPECT_EQ(inside->Top(), metrics.tmHeight - metrics.tmInternalLeading + 2);
    form->BeforeDestruction();
    delete form;
}
