// Panels on real windows under Wine: read from a text form and written back through the binary
// format, painted like a classic panel (bevel rings, border, caption placed by its alignments,
// greyed when disabled), children aligned inside the frame, the parent's picture shown through
// with ParentBackground, and the repaint a change of size asks for.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "MessagePump.h"
#include "TextFormReader.h"
#include "framework/controls/Form.h"
#include "framework/controls/Panel.h"
#include "framework/core/PropAccess.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/win/GdiObject.h"

// A form whose text publishes its panels and a resize handler; it paints its own picture.
class TPanelForm : public TForm {
    QUIRN_CLASS(TPanelForm, TForm)
public:
    explicit TPanelForm(TComponent* owner) : TForm(owner) {}
    TPanel* Panel1 = nullptr;
    TPanel* Inner = nullptr;
    int Resized = 0;
    void Panel1Resize(TObject*) { ++Resized; }
    // Fills the client area with one colour, so that a panel showing its parent's picture shows it.
    void FormPaint(TObject*) {
        Canvas()->Brush().SetColor(kPicture);
        Canvas()->FillRect(ClientRect());
    }
    static constexpr TColor kPicture = RGBColor(0x10, 0xC0, 0x70);
};

QUIRN_PUBLISH(TPanelForm, p) {
    p.Field("Panel1", &TPanelForm::Panel1);
    p.Field("Inner", &TPanelForm::Inner);
    p.Method("Panel1Resize", &TPanelForm::Panel1Resize);
    p.Method("FormPaint", &TPanelForm::FormPaint);
}

namespace {

constexpr COLORREF kPanelColour = RGB(0x30, 0x50, 0xD0);
constexpr COLORREF kInnerColour = RGB(0xE0, 0xD0, 0x20);

constexpr const char* kPanelForm = R"(object PanelForm: TPanelForm
  Left = 60
  Top = 60
  BorderStyle = bsSingle
  Caption = 'Panels'
  ClientWidth = 360
  ClientHeight = 240
  OnPaint = FormPaint
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 220
    Height = 140
    Alignment = taLeftJustify
    VerticalAlignment = taAlignTop
    BevelInner = bvLowered
    BevelWidth = 2
    BorderWidth = 3
    Caption = 'Panel one'
    Color = 13652016
    Font.Color = clRed
    Font.Height = -16
    FullRepaint = False
    ParentBackground = False
    TabOrder = 0
    OnResize = Panel1Resize
    object Inner: TPanel
      Left = 40
      Top = 60
      Width = 50
      Height = 30
      Align = alBottom
      BevelOuter = bvNone
      Color = 2150624
      ParentBackground = False
      ShowCaption = False
      TabOrder = 0
    end
  end
end)";

COLORREF SystemRGB(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)); }

// Repaints the window (and its children) now and reads pixels of its client area.
class ClientPixels {
public:
    explicit ClientPixels(HWND window) : FWindow(window) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpPendingMessages();
        FDC = GetDC(window);
    }
    ~ClientPixels() { ReleaseDC(FWindow, FDC); }
    COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }
    // The smallest rectangle holding every pixel of colour inside area (empty when none).
    RECT BoundsOf(COLORREF colour, const RECT& area) const {
        RECT found{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (GetPixel(FDC, x, y) == colour) {
                    found.left = std::min<LONG>(found.left, x);
                    found.top = std::min<LONG>(found.top, y);
                    found.right = std::max<LONG>(found.right, x + 1);
                    found.bottom = std::max<LONG>(found.bottom, y + 1);
                }
        if (found.right <= found.left) return RECT{0, 0, 0, 0};
        return found;
    }

private:
    HWND FWindow;
    HDC FDC = nullptr;
};

struct Panels : ShownTextForm<TPanelForm> {
    std::string FormText() const override { return kPanelForm; }
    TPanel& Panel() const { return *form->Panel1; }
};

TEST_F(Panels, TextFormReachesThePanelAndSurvivesABinaryRoundTrip) {
    EXPECT_EQ(Panel().Alignment(), taLeftJustify);
    EXPECT_EQ(Panel().VerticalAlignment(), taAlignTop);
    EXPECT_EQ(Panel().BevelInner(), bvLowered);
    EXPECT_EQ(Panel().BevelOuter(), bvRaised);
    EXPECT_EQ(Panel().BevelWidth(), 2);
    EXPECT_EQ(Panel().BorderWidth(), 3);
    EXPECT_FALSE(Panel().FullRepaint());
    EXPECT_EQ(form->Inner->Parent(), &Panel());
    EXPECT_FALSE(form->Inner->ShowCaption());
    EXPECT_TRUE(Panel().OnResize());
    // The panel's bevels are its own, not the window bevel every windowed control has.
    EXPECT_EQ(Panel().BevelKind(), bkNone);
    EXPECT_EQ(GetPropAsText(&Panel(), "BevelInner"), "bvLowered");
    EXPECT_EQ(GetPropAsText(&Panel(), "Caption"), "Panel one");

    const std::string text = TextFormOf(form);
    for (const char* line : {"BevelInner = bvLowered", "BevelWidth = 2", "BorderWidth = 3", "FullRepaint = False",
                             "VerticalAlignment = taAlignTop", "Alignment = taLeftJustify", "ShowCaption = False",
                             "OnResize = Panel1Resize", "Align = alBottom"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // Defaults stay out.
    for (const char* line : {"BevelOuter = bvRaised", "BorderStyle = bsNone", "FullRepaint = True"})
        EXPECT_EQ(text.find(line), std::string::npos) << line << "\n" << text;

    std::unique_ptr<TPanelForm> copy(ReadTextForm<TPanelForm>(text));
    EXPECT_EQ(copy->Panel1->BevelInner(), bvLowered);
    EXPECT_EQ(copy->Panel1->BorderWidth(), 3);
    EXPECT_EQ(copy->Panel1->Color(), Panel().Color());
    EXPECT_EQ(copy->Panel1->VerticalAlignment(), taAlignTop);
    EXPECT_EQ(copy->Inner->BevelOuter(), bvNone);
    EXPECT_EQ(copy->Inner->Align(), alBottom);
    copy->BeforeDestruction();
}

TEST_F(Panels, BevelsBorderAndInsideArePaintedRingByRing) {
    const RECT client = Panel().ClientRect();
    ASSERT_EQ(client.right, 220);
    ASSERT_EQ(client.bottom, 140);
    const ClientPixels pixels(Panel().Handle());
    const COLORREF light = SystemRGB(clBtnHighlight);
    const COLORREF dark = SystemRGB(clBtnShadow);
    // Outer ring, raised and 2 pixels wide: lit at the top left, shaded at the bottom right.
    EXPECT_EQ(pixels.At(0, 50), light);
    EXPECT_EQ(pixels.At(1, 50), light);
    EXPECT_EQ(pixels.At(50, 1), light);
    EXPECT_EQ(pixels.At(219, 50), dark);
    EXPECT_EQ(pixels.At(50, 138), dark);
    // Then 3 pixels of the panel's colour.
    for (int x = 2; x < 5; ++x) EXPECT_EQ(pixels.At(x, 50), kPanelColour) << x;
    // Then the inner ring, lowered: shaded at the top left, lit at the bottom right.
    EXPECT_EQ(pixels.At(5, 50), dark);
    EXPECT_EQ(pixels.At(6, 50), dark);
    EXPECT_EQ(pixels.At(213, 50), light);
    // Inside, the colour again.
    EXPECT_EQ(pixels.At(100, 60), kPanelColour);
    // The aligned child sits inside the whole frame (2 + 3 + 2 pixels).
    EXPECT_EQ(form->Inner->BoundsRect().left, 7);
    EXPECT_EQ(form->Inner->BoundsRect().right, 213);
    EXPECT_EQ(form->Inner->BoundsRect().bottom, 133);
    const ClientPixels inner(form->Inner->Handle());
    EXPECT_EQ(inner.At(0, 0), kInnerColour);  // no bevel
}

// Counts the CM_BORDERCHANGED messages passing a control's WindowProc.
struct BorderWatch : TObject {
    explicit BorderWatch(TControl& control) : Control(control), Saved(control.WindowProc()) {
        control.SetWindowProc(TWndMethod(this, &BorderWatch::Handle));
    }
    ~BorderWatch() override { Control.SetWindowProc(Saved); }
    void Handle(TMessage& message) {
        if (message.Msg == CM_BORDERCHANGED) ++Changes;
        Saved(message);
    }
    TControl& Control;
    TWndMethod Saved;
    int Changes = 0;
};

TEST_F(Panels, FrameChangesRealignTheChildrenAndRepaint) {
    BorderWatch watch(Panel());
    Panel().SetBorderWidth(0);
    EXPECT_EQ(watch.Changes, 1);  // a hook sees the change
    Panel().SetBevelInner(bvNone);
    EXPECT_EQ(form->Inner->BoundsRect().left, 2);
    EXPECT_EQ(form->Inner->BoundsRect().bottom, 138);
    Panel().SetBevelOuter(bvNone);
    EXPECT_EQ(form->Inner->BoundsRect().left, 0);
    {
        const ClientPixels pixels(Panel().Handle());
        EXPECT_EQ(pixels.At(0, 40), kPanelColour);
    }
    Panel().SetBevelOuter(bvSpace);
    Panel().SetBevelWidth(0);  // at least one pixel
    EXPECT_EQ(Panel().BevelWidth(), 1);
    EXPECT_EQ(form->Inner->BoundsRect().left, 1);
    const ClientPixels pixels(Panel().Handle());
    EXPECT_EQ(pixels.At(0, 40), kPanelColour);  // a blank ring
}

TEST_F(Panels, CaptionIsPlacedByItsAlignmentsAndGreyedWhenDisabled) {
    form->Inner->SetVisible(false);
    const COLORREF red = RGB(0xFF, 0, 0);
    const RECT interior{7, 7, 213, 133};
    {
        const ClientPixels pixels(Panel().Handle());
        const RECT text = pixels.BoundsOf(red, interior);
        ASSERT_FALSE(IsRectEmpty(&text));
        EXPECT_LE(text.left, interior.left + 3);
        EXPECT_LE(text.top, interior.top + 6);
        EXPECT_GT(text.right - text.left, 30);
        const RECT caption = Panel().CaptionRect();
        EXPECT_LE(caption.left, text.left);
        EXPECT_GE(caption.right, text.right - 1);
    }
    Panel().SetAlignment(taCenter);
    Panel().SetVerticalAlignment(taVerticalCenter);
    {
        const ClientPixels pixels(Panel().Handle());
        const RECT text = pixels.BoundsOf(red, interior);
        ASSERT_FALSE(IsRectEmpty(&text));
        EXPECT_NEAR((text.left + text.right) / 2, (interior.left + interior.right) / 2, 3);
        EXPECT_NEAR((text.top + text.bottom) / 2, (interior.top + interior.bottom) / 2, 4);
    }
    Panel().SetAlignment(taRightJustify);
    Panel().SetVerticalAlignment(taAlignBottom);
    {
        const ClientPixels pixels(Panel().Handle());
        const RECT text = pixels.BoundsOf(red, interior);
        ASSERT_FALSE(IsRectEmpty(&text));
        EXPECT_GE(text.right, interior.right - 3);
        EXPECT_GE(text.bottom, interior.bottom - 6);
    }
    // Disabled: the caption turns grey; without ShowCaption there is none.
    Panel().SetEnabled(false);
    {
        const ClientPixels pixels(Panel().Handle());
        const RECT none = pixels.BoundsOf(red, interior);
        EXPECT_TRUE(IsRectEmpty(&none));
        const RECT grey = pixels.BoundsOf(SystemRGB(clGrayText), interior);
        EXPECT_GT(grey.right - grey.left, 30);
    }
    Panel().SetEnabled(true);
    Panel().SetShowCaption(false);
    const ClientPixels pixels(Panel().Handle());
    const RECT none = pixels.BoundsOf(red, interior);
    EXPECT_TRUE(IsRectEmpty(&none));
    const RECT caption = Panel().CaptionRect();
    EXPECT_TRUE(IsRectEmpty(&caption));
}

TEST_F(Panels, ParentBackgroundShowsTheParentsPictureInsteadOfTheColour) {
    Panel().SetBevelOuter(bvNone);
    Panel().SetBevelInner(bvNone);
    Panel().SetShowCaption(false);
    form->Inner->SetVisible(false);
    const COLORREF picture = SystemRGB(TPanelForm::kPicture);
    {
        const ClientPixels pixels(Panel().Handle());
        EXPECT_EQ(pixels.At(100, 70), kPanelColour);
    }
    Panel().SetParentBackground(true);
    EXPECT_EQ(GetPropAsText(&Panel(), "ParentBackground"), "True");
    {
        const ClientPixels pixels(Panel().Handle());
        EXPECT_EQ(pixels.At(100, 70), picture);
        EXPECT_EQ(pixels.At(0, 0), picture);
    }
    // The bevels go on top of the picture.
    Panel().SetBevelOuter(bvRaised);
    {
        const ClientPixels pixels(Panel().Handle());
        EXPECT_EQ(pixels.At(0, 50), SystemRGB(clBtnHighlight));
        EXPECT_EQ(pixels.At(100, 70), picture);
    }
    // A panel inside a panel with the parent's background shows the form's picture through both.
    form->Inner->SetParentBackground(true);
    form->Inner->SetVisible(true);
    const ClientPixels inner(form->Inner->Handle());
    EXPECT_EQ(inner.At(10, 10), picture);
}

// The part of the window waiting to be painted contains the point.
bool PendingAt(HWND window, int x, int y) {
    win::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(window, region.get(), FALSE);
    return PtInRegion(region.get(), x, y) != FALSE;
}

TEST_F(Panels, ResizingRepaintsAllOrOnlyTheFrameAndCaption) {
    form->Inner->SetVisible(false);
    Panel().SetShowCaption(false);
    HWND window = Panel().Handle();
    const int resizedBefore = form->Resized;
    UpdateWindow(window);
    // Smaller with FullRepaint off: the frame's new place needs painting, the inside does not.
    Panel().SetBounds(10, 10, 200, 120);
    EXPECT_EQ(form->Resized, resizedBefore + 1);
    EXPECT_TRUE(PendingAt(window, 199, 60));  // the new right edge
    EXPECT_TRUE(PendingAt(window, 100, 1));   // the top ring
    EXPECT_FALSE(PendingAt(window, 100, 60));
    UpdateWindow(window);
    // FullRepaint: everything.
    Panel().SetFullRepaint(true);
    Panel().SetBounds(10, 10, 190, 110);
    EXPECT_TRUE(PendingAt(window, 100, 60));
    UpdateWindow(window);
    // A move alone is no resize.
    Panel().SetBounds(12, 12, 190, 110);
    EXPECT_EQ(form->Resized, resizedBefore + 2);
}

TEST_F(Panels, BorderStyleAddsTheSunkenEdgeAndKeepsTheChildren) {
    HWND before = Panel().Handle();
    EXPECT_EQ(GetWindowLongPtrW(before, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    Panel().SetBorderStyle(bsSizeable);  // any frame counts as the single one
    EXPECT_EQ(Panel().BorderStyle(), bsSingle);
    HWND after = Panel().Handle();
    EXPECT_NE(GetWindowLongPtrW(after, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(GetParent(form->Inner->Handle()), after);
    EXPECT_EQ(Panel().ClientRect().right, 220 - 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(form->Inner->BoundsRect().right, Panel().ClientRect().right - 7);
}

}  // namespace
