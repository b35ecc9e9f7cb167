#include "framework/controls/Button.h"

#include "framework/controls/ControlAtom.h"

#include <cwctype>

QUIRN_PUBLISH(TButton, p) {
    p.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    p.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    p.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
}

namespace {
constexpr int32_t kDefaultWidth = 75;
constexpr int32_t kDefaultHeight = 25;
}  // namespace

bool IsAccel(wchar_t key, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return std::towupper(caption[i + 1]) == std::towupper(key);
    }
    return false;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FTabStop = true;
    FControlStyle = {csSetCaption, csDoubleClicks};
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
    if (FDefault == value) return;
    FDefault = value;
    if (FHandle) Perform(BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() { TWinControl::Click(); }

void TButton::CMDialogKey(TMessage& message) {
    const auto key = static_cast<uint16_t>(message.WParam);
    bool mine = false;
    if (key == VK_RETURN) {
        // The focused button takes Enter; otherwise the default button does.
        HWND focus = GetFocus();
        TWinControl* focused = FindControl(focus);
        mine = Focused() || (FDefault && !ObjectAs<TButton>(focused));
    } else if (key == VK_ESCAPE) {
        mine = FCancel;
    }
    if (mine && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& message) {
    if (IsAccel(static_cast<wchar_t>(message.WParam), WideText()) && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

bool TButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED) Click();
        return true;
    case CM_DIALOGKEY: CMDialogKey(message); return true;
    case CM_DIALOGCHAR: CMDialogChar(message); return true;
    default: return TWinControl::Dispatch(message);
    }
}
