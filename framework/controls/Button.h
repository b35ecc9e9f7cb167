// Button.h: TButton, a push button on the system's "BUTTON" control; Enter
// clicks the default button, Escape the cancel button.
#pragma once

#include "framework/controls/WinControl.h"

// A push button. OnClick fires on BN_CLICKED (mouse, space bar, Click),
// Enter when it is Default or focused, Escape when it is Cancel, and its
// caption's accelerator key (Alt+S for "&Save").
class TButton : public TWinControl {
    QUIRN_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Stored and published; nothing in the framework acts on it (no modal forms).
    int32_t ModalResult() const { return FModalResult; }
    void SetModalResult(int32_t value) { FModalResult = value; }

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    bool Dispatch(TMessage& message) override;

private:
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);

    bool FDefault = false;
    bool FCancel = false;
    int32_t FModalResult = 0;
};

// True when the caption marks key as its accelerator ("&Save" and 'S', either
// letter case; "&&" is a literal ampersand).
bool IsAccel(wchar_t key, const std::wstring& caption);
