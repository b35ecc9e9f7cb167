#include "framework/controls/Screen.h"

#include <algorithm>
#include <utility>

#include "framework/win/DeviceContext.h"

QUIRN_DEFINE_CLASS(TScreen)

TScreen* Screen = nullptr;

namespace {

LPCWSTR SystemCursorOf(TCursor cursor) {
    switch (cursor) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return nullptr;
    }
}

}  // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() = default;

void TScreen::SetCursor(TCursor value) {
    if (FCursor == value) return;
    FCursor = value;
    POINT point;
    GetCursorPos(&point);
    SetCursorPos(point.x, point.y);  // makes the window under the mouse ask again (WM_SETCURSOR)
    if (value != crDefault) ::SetCursor(Cursors(value));
}

HCURSOR TScreen::Cursors(TCursor index) const {
    if (index == crNone) return nullptr;
    if (auto found = FCustomCursors.find(index); found != FCustomCursors.end()) return found->second.Shown;
    if (LPCWSTR system = SystemCursorOf(index)) {
        if (HCURSOR cursor = LoadCursorW(nullptr, system)) return cursor;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor index, win::CursorHandle cursor) {
    if (!cursor) {
        FCustomCursors.erase(index);
        return;
    }
    HCURSOR shown = cursor.get();
    FCustomCursors[index] = TCustomCursor{shown, std::move(cursor)};
}

void TScreen::SetCursors(TCursor index, HCURSOR sharedCursor) {
    if (!sharedCursor) {
        FCustomCursors.erase(index);
        return;
    }
    FCustomCursors[index] = TCustomCursor{sharedCursor, {}};
}

RECT TScreen::WorkAreaRect() const {
    RECT rect{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
    return rect;
}

int32_t TScreen::PixelsPerInch() const {
    const win::ScreenDC screen;
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(FForms, form);
    if (FActiveForm == form) FActiveForm = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
    FActiveForm = form;
    auto found = std::find(FForms.begin(), FForms.end(), form);
    if (found != FForms.end()) std::rotate(FForms.begin(), found, found + 1);
}

void TScreen::SetActiveControl(TWinControl* control) { FActiveControl = control; }
