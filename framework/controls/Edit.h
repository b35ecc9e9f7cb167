// Edit.h: TCustomEdit and TEdit, a one-line text box on the system's "EDIT"
// control (read-only, length limit, border, change event).
#pragma once

#include "framework/controls/WinControl.h"

// Letter case an edit forces on what is typed (ES_UPPERCASE / ES_LOWERCASE).
enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
QUIRN_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

// The one-line edit's behaviour, for TEdit and TMemo to publish. Text is the
// window text; changing BorderStyle, CharCase or HideSelection recreates the window.
class TCustomEdit : public TWinControl {
    QUIRN_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int32_t MaxLength() const { return FMaxLength; }
    void SetMaxLength(int32_t value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // The window's modified flag (EM_GETMODIFY); false while there is no window.
    bool Modified() const;
    void SetModified(bool value);

    void Clear() { SetWideText(L""); }
    // Selection in characters of the window text; without a window these
    // read 0 and setting them does nothing.
    void SelectAll();
    int32_t SelStart();
    void SetSelStart(int32_t value);
    int32_t SelLength();
    void SetSelLength(int32_t value);

    // Fires after every change of the text, typed or set (EN_CHANGE), but not
    // while the window is being created.
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    bool Dispatch(TMessage& message) override;
    virtual void Change();

    TBorderStyle FBorderStyle = bsSingle;
    bool FReadOnly = false;
    int32_t FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FAutoSelect = true;
    bool FHideSelection = true;

private:
    TNotifyEvent FOnChange;
    bool FCreating = false;
};

// A one-line text box on the system's "EDIT" control.
class TEdit : public TCustomEdit {
    QUIRN_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner);
};
