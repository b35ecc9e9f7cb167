// Screen.h: TScreen, the application's view of the display: the list of its
// forms (most recently active first), the active form and control, cursors,
// and the screen and desktop sizes.
#pragma once

#include "framework/controls/WinApi.h"

#include <map>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "framework/win/UserObject.h"

class TCustomForm;
class TWinControl;

// The one screen object (the global Screen, made and freed with Application):
// the forms that exist, which is active, the cursor table and display sizes.
// Forms register themselves; it owns nothing but the cursors given to SetCursors.
class TScreen : public TComponent {
    QUIRN_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // Every existing form, most recently activated first.
    int32_t FormCount() const { return static_cast<int32_t>(FForms.size()); }
    TCustomForm* Forms(int32_t index) const { return FForms.at(static_cast<size_t>(index)); }
    int32_t CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int32_t index) const { return Forms(index); }

    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }

    // The cursor shown over every control while not crDefault.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The cursor handle of a cursor number (the screen's or the system's: never destroy it); crNone
    // gives nullptr, unknown numbers the arrow.
    HCURSOR Cursors(TCursor index) const;
    // Registers a cursor the application made (CreateCursor, LoadImage without LR_SHARED) under
    // index; the screen destroys it when the entry is replaced or removed, and at exit.
    void SetCursors(TCursor index, win::CursorHandle cursor);
    // Registers a shared cursor (LoadCursor: the system's, never destroyed) under index;
    // nullptr removes the entry.
    void SetCursors(TCursor index, HCURSOR sharedCursor);

    // Sizes in pixels: Width/Height of the primary monitor, Desktop* of the
    // virtual desktop spanning all monitors, WorkAreaRect without the task bar.
    int32_t Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int32_t Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int32_t DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
    int32_t DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
    int32_t DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
    int32_t DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
    RECT WorkAreaRect() const;
    int32_t PixelsPerInch() const;

    // Called by forms as they are created, destroyed and activated (a form that goes clears
    // ActiveControl first when the control is one of its own).
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void SetActiveControl(TWinControl* control);

private:
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
    struct TCustomCursor {
        HCURSOR Shown = nullptr;
        win::CursorHandle Owned;  // empty for a shared cursor
    };
    std::map<TCursor, TCustomCursor> FCustomCursors;
};

// The application's screen (created with the application object).
extern TScreen* Screen;
