// TSkinGroupBox: the group-box skinner.
#include "skin/controls/SkinGroupBox.h"

#include "framework/controls/WinControl.h"
#include "framework/graphics/Font.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"

QUIRN_DEFINE_CLASS(TSkinGroupBox)

namespace {

// The caption stands this far from the box's left (or, right-aligned, right) edge.
constexpr int32_t CaptionIndent = 8;
// The rounded line: its corner ellipse and how far it stays inside the box's sides.
constexpr int32_t CornerEllipse = 5;
constexpr int32_t LineInset = 1;
// The line runs through the middle of a "0" of the caption's font, one pixel up.
constexpr char LineHeightSample[] = "0";
constexpr int32_t LineLift = 1;

}  // namespace

TSkinGroupBox::TSkinGroupBox(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinGroupBox::Attach(TPellixForm* SkinForm, TSkinData* SkinData, bool UseSkinColor, TCanvas* Canvas) {
    TSkinControl::Attach(SkinForm, SkinData, UseSkinColor, Canvas);
    if (FControl != nullptr) FKind = GroupBoxPaintsAll;
}

bool TSkinGroupBox::BeforeMessage(TMessage& Message) {
    const bool PassOn = TSkinControl::BeforeMessage(Message);
    if (FKind != 0 && Message.Msg == WM_PAINT) {
        PaintClient(Message);
        return false;
    }
    return PassOn;
}

void TSkinGroupBox::DrawSkin(HDC DC, const RECT& Rect) {
    if (FSkinData == nullptr) return;
    FText = GetWindowTextWide(FHandle);
    if (FText.empty() && FControl != nullptr) FText = GetTextProp(FControl, "Caption");
    if (FControl != nullptr) FillSkinFace(DC, Rect);

    // The caption's font: the window's, or the control's own with its colour.
    HFONT FontHandle = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    if (TFont* Font = GetObjectPropOf<TFont>(FControl, "Font")) {
        FontHandle = Font->Handle();
        SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font->Color())));
    }
    win::SelectedObject SelectedFont(DC, FontHandle);
    SIZE Sample{};
    GetTextExtentPoint32A(DC, LineHeightSample, 1, &Sample);
    const int32_t LineY = Sample.cy / 2 - LineLift;

    const TColor Face = SkinFaceColor();
    if (FKind == 0) {
        // The window drew its own etched frame: wipe out its two lines.
        RECT Etched{0, LineY, Rect.right, Rect.bottom};
        FrameRect(DC, &Etched, FSkinData->FFaceBrush.get());
        InflateRect(&Etched, -1, -1);
        FrameRect(DC, &Etched, FSkinData->FFaceBrush.get());
    }
    {
        win::PenHandle Pen(
            CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(FSkinData->FColors[SkinColour::ButtonShadow]))));
        win::SelectedObject SelectedPen(DC, Pen.get());
        win::SelectedObject SelectedBrush(DC, GetStockObject(NULL_BRUSH));
        RoundRect(DC, LineInset, LineY, Rect.right - LineInset, Rect.bottom - LineInset, CornerEllipse, CornerEllipse);
    }

    // The caption's background (the face colour) interrupts the line.
    const COLORREF OldBackground = SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(Face)));
    if ((GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0) {
        RECT Caption{Rect.left, Rect.top, Rect.right - CaptionIndent, Rect.bottom};
        DrawTextWide(DC, FText, Caption, BiDiTextFlags(*this, DT_RIGHT | DT_EXPANDTABS));
    } else {
        RECT Caption{Rect.left + CaptionIndent, Rect.top, Rect.right, Rect.bottom};
        DrawTextWide(DC, FText, Caption, BiDiTextFlags(*this, DT_EXPANDTABS));
    }
    SetBkColor(DC, OldBackground);
    // The control's own WM_PAINT never ran: its windowless children are painted here.
    if (FControl != nullptr && FKind == GroupBoxPaintsAll) FControl->PaintControls(DC, nullptr);
}
