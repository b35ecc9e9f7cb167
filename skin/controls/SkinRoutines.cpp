// The control skinners' free routines.
#include "skin/controls/SkinRoutines.h"

#include "framework/controls/WinControl.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/GdiObject.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinManage.h"

namespace {

bool Inverted(const RECT& Rect) { return Rect.right < Rect.left || Rect.bottom < Rect.top; }

// The skinned control that decides the reading order: the windowed one, else the windowless one.
TControl* ReadingControl(const TSkinControl& Skinner) {
    if (Skinner.FControl != nullptr) return Skinner.FControl;
    return Skinner.FGraphicControl;
}

}  // namespace

void DrawElementFrame(TSkinControl&, HDC DC, const RECT& Rect, int32_t FrameCount, int32_t FrameIndex,
                      const TDataSkinObject* Element) {
    if (DC == nullptr || Inverted(Rect) || Element == nullptr || !Element->Bitmap || Element->Bitmap->Empty()) return;
    const RECT Margins{Element->LeftWidth, Element->TopHeight, Element->RightWidth, Element->BottomHeight};
    DrawSkinElement(DC, Rect, *Element->Bitmap, false, Element->Tile != 0, Element->Trans == 1, FrameCount, FrameIndex,
                    Margins);
}

void DrawCellStretched(TSkinControl&, HDC Target, const RECT& Rect, int32_t CellCount, int32_t Cell, TBitmap& Bitmap) {
    if (Target == nullptr || Inverted(Rect) || Bitmap.Empty()) return;
    DrawFrameStretched(Target, Rect, Bitmap, true, CellCount, Cell);
}

void DrawCellStretched(TSkinControl& Skinner, TCanvas& Target, const RECT& Rect, int32_t CellCount, int32_t Cell,
                       TBitmap& Bitmap) {
    if (Inverted(Rect) || Bitmap.Empty()) return;
    DrawCellStretched(Skinner, Target.Handle(), Rect, CellCount, Cell, Bitmap);
}

void EraseTransparent(TSkinControl& Skinner, TMessage& Message) {
    const auto DC = reinterpret_cast<HDC>(Message.WParam);
    if (Skinner.FControl != nullptr) {
        TPellixForm::DrawParentImage(Skinner.FControl, DC);
    } else {
        RECT Client{};
        GetClientRect(Skinner.FHandle, &Client);
        Skinner.FillParentColor(DC, Client);
    }
    Message.Result = 1;
}

UINT BiDiTextFlags(const TSkinControl& Skinner, UINT Flags) {
    const TControl* Control = ReadingControl(Skinner);
    if (Control != nullptr && Control->BiDiMode() == bdRightToLeft) Flags |= DT_RTLREADING;
    return Flags;
}

void CopyBitmapTo(TBitmap& Source, TBitmap& Dest) {
    Dest.SetPixelFormat(Source.PixelFormat());
    Dest.SetSize(Source.Width(), Source.Height());
    if (!Source.Empty()) Dest.Canvas().Draw(0, 0, Source);
}

bool IsPopupOrTopChild(HWND Handle) {
    if ((GetWindowLongW(Handle, GWL_STYLE) & WS_POPUP) != 0) return true;
    return reinterpret_cast<uintptr_t>(GetParent(Handle)) == TopChildParent;
}

std::string LowerClassName(HWND Window) { return LowerCase(ClassNameOf(Window)); }
