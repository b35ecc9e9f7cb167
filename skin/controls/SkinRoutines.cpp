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

bool Inverted(const RECT& rect) { return rect.right < rect.left || rect.bottom < rect.top; }

// The skinned control that decides the reading order: the windowed one, else the windowless one.
TControl* ReadingControl(const TSkinControl& skinner) {
    if (skinner.FControl != nullptr) return skinner.FControl;
    return skinner.FGraphicControl;
}

}  // namespace

void DrawElementFrame(TSkinControl&, HDC dc, const RECT& rect, int32_t frameCount, int32_t frameIndex,
                      const TDataSkinObject* element) {
    if (dc == nullptr || Inverted(rect) || element == nullptr || !element->Bitmap || element->Bitmap->Empty()) return;
    const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    DrawSkinElement(dc, rect, *element->Bitmap, false, element->Tile != 0, element->Trans == 1, frameCount, frameIndex,
                    margins);
}

void DrawCellStretched(TSkinControl&, HDC target, const RECT& rect, int32_t cellCount, int32_t cell, TBitmap& bitmap) {
    if (target == nullptr || Inverted(rect) || bitmap.Empty()) return;
    DrawFrameStretched(target, rect, bitmap, true, cellCount, cell);
}

void DrawCellStretched(TSkinControl& skinner, TCanvas& target, const RECT& rect, int32_t cellCount, int32_t cell,
                       TBitmap& bitmap) {
    if (Inverted(rect) || bitmap.Empty()) return;
    DrawCellStretched(skinner, target.Handle(), rect, cellCount, cell, bitmap);
}

void EraseTransparent(TSkinControl& skinner, TMessage& message) {
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    if (skinner.FControl != nullptr) {
        TPellixForm::DrawParentImage(skinner.FControl, dc);
    } else {
        RECT client{};
        GetClientRect(skinner.FHandle, &client);
        skinner.FillParentColor(dc, client);
    }
    message.Result = 1;
}

UINT BiDiTextFlags(const TSkinControl& skinner, UINT flags) {
    const TControl* control = ReadingControl(skinner);
    if (control != nullptr && control->BiDiMode() == bdRightToLeft) flags |= DT_RTLREADING;
    return flags;
}

void CopyBitmapTo(TBitmap& source, TBitmap& dest) {
    dest.SetPixelFormat(source.PixelFormat());
    dest.SetSize(source.Width(), source.Height());
    if (!source.Empty()) dest.Canvas().Draw(0, 0, source);
}

bool IsPopupOrTopChild(HWND handle) {
    if ((GetWindowLongW(handle, GWL_STYLE) & WS_POPUP) != 0) return true;
    return reinterpret_cast<uintptr_t>(GetParent(handle)) == TopChildParent;
}

std::string LowerClassName(HWND window) { return LowerCase(ClassNameOf(window)); }
