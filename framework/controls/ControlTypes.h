// ControlTypes.h: the small types controls share: mouse buttons and shift
// states, cursors (from framework/controls/Cursors.h), bidirectional modes,
// control style and state flags, the WindowProc and mouse event signatures.
#pragma once

#include <cstdint>

#include "framework/controls/AlignLayout.h"
#include "framework/controls/Cursors.h"
#include "framework/controls/Messages.h"
#include "framework/core/TypeInfo.h"
#include "framework/rtl/Delegate.h"
#include "framework/rtl/Sets.h"

// A control's message procedure: every message of the control passes one.
using TWndMethod = TDelegate<void(TMessage&)>;

// The button of a mouse event.
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
QUIRN_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
// Keys and buttons held during a mouse or key event; ssDouble marks a double click.
enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
QUIRN_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;

// Mouse events get the position in the control's client coordinates. Key
// events may change Key; setting it to 0 consumes the key.
using TMouseEvent = TDelegate<void(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y)>;
using TMouseMoveEvent = TDelegate<void(TObject* sender, TShiftState shift, int32_t x, int32_t y)>;
using TKeyEvent = TDelegate<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = TDelegate<void(TObject* sender, char& key)>;
QUIRN_EVENT_TYPE(TMouseEvent)
QUIRN_EVENT_TYPE(TMouseMoveEvent)
QUIRN_EVENT_TYPE(TKeyEvent)
QUIRN_EVENT_TYPE(TKeyPressEvent)

QUIRN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)

// Reading order of a control's text (right-to-left modes set WS_EX_RTLREADING / DT_RTLREADING).
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
QUIRN_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)

// What kind of control a class is; set by the class's constructor, read by
// the framework (mouse capture, click events, painting) and by skinners.
// "A mark only": kept for skinners and descendants, the framework does not act on it.
enum TControlStyleItem : uint8_t {
    csAcceptsControls,   // holds child controls (its window clips them)
    csCaptureMouse,      // a left press captures the mouse
    csClickEvents,       // a press and release inside raises Click
    csFramed,            // a mark only
    csSetCaption,        // a mark only (the caption does not follow Name)
    csOpaque,            // fills its whole client area itself (no erase below it)
    csDoubleClicks,      // double clicks raise DblClick
    csFixedWidth,        // a mark only
    csFixedHeight,       // a mark only (set on one-line edits)
    csReplicatable,      // a mark only
    csNoStdEvents,       // a mark only
    csParentBackground,  // draws the parent's background behind itself
};
using TControlStyle = TSet<TControlStyleItem>;

// What a control is doing right now; the framework sets and clears these.
enum TControlStateItem : uint8_t {
    csLButtonDown,  // the left button went down on it and is not yet up
    csClicked,      // a press that becomes a Click if released inside
    csPalette,      // csPalette .. csCustomPaint: for descendants; the framework sets none
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,  // its window is being destroyed on purpose (DestroyHandle)
};
using TControlState = TSet<TControlStateItem>;

// The frame of a window: forms use all of them; edits and memos only bsNone and bsSingle.
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
QUIRN_ENUM(TBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The look of a bevel drawn around a windowed control (TWinControl::BevelKind):
// bkNone draws none; bkTile the plain edges, bkSoft and bkFlat their softer variants.
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };
QUIRN_ENUM(TBevelKind, bkNone, bkTile, bkSoft, bkFlat)
// One ring of a bevel: sunk, raised, or none.
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
QUIRN_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
// Which scroll bars a memo shows.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
QUIRN_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
// Horizontal alignment of text in a label or memo.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
QUIRN_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

// What an owner-drawn item (of a list or combo box) is to look like: the system's ODS_* flags.
enum TOwnerDrawStateItem : uint8_t {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odComboBoxEdit,
};
QUIRN_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
           odInactive, odNoAccel, odNoFocusRect, odComboBoxEdit)
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

class TWinControl;
// Draws item index of an owner-drawn control within rect (the control's Canvas is ready for it);
// measures an item of variable height by setting height (it comes with the default height).
using TDrawItemEvent = TDelegate<void(TWinControl* control, int32_t index, RECT rect, TOwnerDrawState state)>;
using TMeasureItemEvent = TDelegate<void(TWinControl* control, int32_t index, int32_t& height)>;
QUIRN_EVENT_TYPE(TDrawItemEvent)
QUIRN_EVENT_TYPE(TMeasureItemEvent)
