// ControlTypes.h: the small types controls share: mouse buttons and shift
// states, cursors (from framework/controls/Cursors.h), bidirectional modes,
// control style and state flags, the WindowProc and mouse event signatures.
#pragma once

#include <cstdint>

#include "framework/controls/AlignLayout.h"
#include "framework/controls/Cursors.h"
#include "framework/controls/Messages.h"
#include "framework/core/TypInfo.h"
#include "framework/rtl/Delegate.h"
#include "framework/rtl/Sets.h"

// A control's message procedure: every message of the control passes one.
using TWndMethod = TDelegate<void(TMessage&)>;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
QUIRN_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
QUIRN_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TKeyEvent = TDelegate<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TDelegate<void(TObject* Sender, char& Key)>;
QUIRN_EVENT_TYPE(TMouseEvent)
QUIRN_EVENT_TYPE(TMouseMoveEvent)
QUIRN_EVENT_TYPE(TKeyEvent)
QUIRN_EVENT_TYPE(TKeyPressEvent)

QUIRN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)

enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
QUIRN_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)

enum TControlStyleItem : uint8_t {
    csAcceptsControls,  // may be the parent of other controls
    csCaptureMouse,     // a left press captures the mouse
    csClickEvents,      // a press and release inside raises Click
    csFramed,
    csSetCaption,       // the caption follows Name while designing
    csOpaque,           // fills its whole client area itself
    csDoubleClicks,     // double clicks raise DblClick
    csFixedWidth,
    csFixedHeight,
    csReplicatable,
    csNoStdEvents,
    csParentBackground,  // draws the parent's background behind itself
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem : uint8_t {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
};
using TControlState = TSet<TControlStateItem>;

enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
QUIRN_ENUM(TBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };
QUIRN_ENUM(TBevelKind, bkNone, bkTile, bkSoft, bkFlat)
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
QUIRN_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
QUIRN_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
QUIRN_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
