// The control skinner tests' kit: a skinned form with the basic controls, the skinners of its
// controls, and what the screen shows of a control compared with the skin's own bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GdiObjectCounter.h"
#include "ScreenPixels.h"
#include "SkinFormKit.h"
#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Memo.h"
#include "framework/controls/Panel.h"
#include "framework/controls/StatusBar.h"
#include "skin/controls/WinSubClass.h"

namespace controltest {

// A form made in code with the basic controls (those of the gallery's Basic page), skinned by a skin
// data of its own.
struct TBasicForm {
    TForm* Form = nullptr;
    TSkinData* Data = nullptr;
    TButton* Button = nullptr;
    TButton* DefaultButton = nullptr;
    TButton* DisabledButton = nullptr;
    TEdit* Edit = nullptr;
    TEdit* FlatEdit = nullptr;  // BorderStyle none
    TGroupBox* Group = nullptr;
    TLabel* GroupLabel = nullptr;
    TStatusBar* Status = nullptr;  // panels
    TStatusBar* SimpleStatus = nullptr;
    TMemo* Memo = nullptr;  // both scroll bars, more lines than it shows
    TPanel* Panel = nullptr;
    TButton* PanelButton = nullptr;  // inside the panel
    TListBox* List = nullptr;        // both scroll bars, more items than it shows
};

// The colour the panel of the basic form has of its own (the skin gives it the face colour).
constexpr TColor BasicPanelColour = clCream;

// The form with its controls, not shown yet (Package: the skin the form's skin data holds).
TBasicForm MakeBasicForm(const std::vector<uint8_t>& Package);
// Shows and skins it; false when it was not skinned in time.
bool ShowBasicForm(TBasicForm& Basic);

// The skinner of a control (one of the form skinner's list whose owner it is), or null.
TSkinControl* SkinnerOf(TPellixForm& Skinner, TControl* Control);
template <class S>
S* SkinnerAs(TPellixForm& Skinner, TControl* Control) {
    return dynamic_cast<S*>(SkinnerOf(Skinner, Control));
}

// What a leak of the skinners would leave: GDI objects, the windows of this thread (children at every
// depth), the thunks, and the subclasses left as pass-throughs.
struct TObjectCounts {
    GdiObjectCounts Gdi;
    int32_t Windows = 0;
    int32_t Thunks = 0;
    int32_t Retired = 0;
    friend bool operator==(const TObjectCounts&, const TObjectCounts&) = default;
};
TObjectCounts CountObjects();
void PrintTo(const TObjectCounts& counts, std::ostream* out);

// Repaints a window (and its frame) now and handles the messages that follow.
void RepaintNow(HWND Window);

// The window's rectangle on the screen read back.
TScreenPixels Shot(HWND Window);

// Whether two colours are within Tolerance in every channel.
bool Near(COLORREF A, COLORREF B, int32_t Tolerance = 8);

// Compares the four fixed corners of a nine-sliced element frame drawn over a window: each corner
// of cell Frame (of Frames side by side) with the window's corner, magenta pixels standing for
// Background. Counts compared pixels and mismatches; describes the first mismatches.
struct TCornerCheck {
    int32_t Compared = 0;
    int32_t Mismatches = 0;
    std::string Report;
};
TCornerCheck CompareCorners(const TScreenPixels& Shot, const TDataSkinObject& Element, int32_t Frames, int32_t Frame,
                            COLORREF Background);

// Handles messages until the window's corners show the frame (the screen may show a paint a
// little later than it is made); the last comparison.
TCornerCheck WaitForCorners(HWND Window, const TDataSkinObject& Element, int32_t Frames, int32_t Frame,
                            COLORREF Background);
// How long a look at the screen waits for what it expects.
constexpr DWORD ScreenPatienceMs = 5000;

// The bounding box of the pixels inside Area that are within Tolerance of Colour (empty when none).
RECT PixelsOfColour(const TScreenPixels& Shot, const RECT& Area, COLORREF Colour, int32_t Tolerance = 40);

COLORREF ToRGB(TColor Color);

}  // namespace controltest
