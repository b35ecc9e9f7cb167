#include "framework/controls/Edit.h"

QUIRN_PUBLISH(TCustomEdit, p) {
    p.Property("Text", &TCustomEdit::WideText, &TCustomEdit::SetWideText).Stored(false);
    p.Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    p.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    p.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    p.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
    p.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    p.Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true);
    p.Property("OnChange", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange);
}

QUIRN_PUBLISH(TEdit, p) {}

namespace {
constexpr int32_t kDefaultWidth = 121;
constexpr int32_t kDefaultHeight = 21;
}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_AUTOHSCROLL;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (!FHideSelection) params.Style |= ES_NOHIDESEL;
    if (FCharCase == ecUpperCase) params.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) params.Style |= ES_LOWERCASE;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandle() {
    FCreating = true;
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
    TWinControl::CreateHandle();
    FCreating = false;
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (FHandle) Perform(EM_SETREADONLY, value ? TRUE : FALSE);
}

void TCustomEdit::SetMaxLength(int32_t value) {
    FMaxLength = value < 0 ? 0 : value;
    if (FHandle) Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (FCharCase == value) return;
    FCharCase = value;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (FHideSelection == value) return;
    FHideSelection = value;
    RecreateWnd();
}

bool TCustomEdit::Modified() const { return FHandle && SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0; }

void TCustomEdit::SetModified(bool value) {
    if (FHandle) Perform(EM_SETMODIFY, value ? TRUE : FALSE);
}

void TCustomEdit::SelectAll() {
    if (FHandle) Perform(EM_SETSEL, 0, -1);
}

int32_t TCustomEdit::SelStart() {
    DWORD start = 0;
    if (FHandle) Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int32_t>(start);
}

void TCustomEdit::SetSelStart(int32_t value) {
    if (FHandle) Perform(EM_SETSEL, static_cast<WPARAM>(value), value);
}

int32_t TCustomEdit::SelLength() {
    DWORD start = 0;
    DWORD end = 0;
    if (FHandle) Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int32_t>(end - start);
}

void TCustomEdit::SetSelLength(int32_t value) {
    const int32_t start = SelStart();
    if (FHandle) Perform(EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

void TCustomEdit::Change() {
    if (FOnChange) FOnChange(this);
}

bool TCustomEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == EN_CHANGE && !FCreating) Change();
        return true;
    case CM_TEXTCHANGED:
        if (!FHandle) Change();  // a window reports its own changes (EN_CHANGE)
        return true;
    case WM_SETFOCUS:
        TWinControl::Dispatch(message);
        if (FAutoSelect && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
        return true;
    default: return TWinControl::Dispatch(message);
    }
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}
