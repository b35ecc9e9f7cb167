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

TSkinGroupBox::TSkinGroupBox(TComponent* aOwner) : TSkinControl(aOwner) {}

void TSkinGroupBox::Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) {
    TSkinControl::Attach(skinForm, skinData, useSkinColor, canvas);
    if (FControl != nullptr) FKind = GroupBoxPaintsAll;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    const bool passOn = TSkinControl::BeforeMessage(message);
    if (FKind != 0 && message.Msg == WM_PAINT) {
        PaintClient(message);
        return false;
    }
    return passOn;
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
    if (FSkinData == nullptr) return;
    FText = GetWindowTextWide(FHandle);
    if (FText.empty() && FControl != nullptr) FText = GetTextProp(FControl, "Caption");
    if (FControl != nullptr) FillSkinFace(dc, rect);

    // The caption's font: the window's, or the control's own with its colour.
    HFONT fontHandle = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    if (TFont* font = GetObjectPropOf<TFont>(FControl, "Font")) {
        fontHandle = font->Handle();
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font->Color())));
    }
    win::SelectedObject selectedFont(dc, fontHandle);
    SIZE sample{};
    GetTextExtentPoint32A(dc, LineHeightSample, 1, &sample);
    const int32_t lineY = sample.cy / 2 - LineLift;

    const TColor face = SkinFaceColor();
    if (FKind == 0) {
        // The window drew its own etched frame: wipe out its two lines.
        RECT etched{0, lineY, rect.right, rect.bottom};
        FrameRect(dc, &etched, FSkinData->FFaceBrush.get());
        InflateRect(&etched, -1, -1);
        FrameRect(dc, &etched, FSkinData->FFaceBrush.get());
    }
    {
        win::PenHandle pen(
            CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(FSkinData->FColors[SkinColour::ButtonShadow]))));
        win::SelectedObject selectedPen(dc, pen.get());
        win::SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, LineInset, lineY, rect.right - LineInset, rect.bottom - LineInset, CornerEllipse, CornerEllipse);
    }

    // The caption's background (the face colour) interrupts the line.
    const COLORREF oldBackground = SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(face)));
    if ((GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0) {
        RECT caption{rect.left, rect.top, rect.right - CaptionIndent, rect.bottom};
        DrawTextWide(dc, FText, caption, BiDiTextFlags(*this, DT_RIGHT | DT_EXPANDTABS));
    } else {
        RECT caption{rect.left + CaptionIndent, rect.top, rect.right, rect.bottom};
        DrawTextWide(dc, FText, caption, BiDiTextFlags(*this, DT_EXPANDTABS));
    }
    SetBkColor(dc, oldBackground);
    // The control's own WM_PAINT never ran: its windowless children are painted here.
    if (FControl != nullptr && FKind == GroupBoxPaintsAll) FControl->PaintControls(dc, nullptr);
}
