// Label.h: TCustomLabel and TLabel, a caption without a window: drawn by its
// parent in its own font, optionally transparent, sized to its text.
#pragma once

#include "framework/controls/GraphicControl.h"

// Vertical placement of a label's text inside its bounds.
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
QUIRN_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// The label's behaviour, for TLabel to publish: text drawn by the parent in
// the label's font; with AutoSize the label takes its text's size (keeping its
// right edge or centre when so aligned).
class TCustomLabel : public TGraphicControl {
    QUIRN_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    // Transparent: the parent's background shows between the letters.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // ShowAccelChar: "&x" underlines x, and Alt+x focuses FocusControl
    // (not owned; cleared when it is freed).
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

protected:
    void Paint() override;
    void AdjustSize() override;
    void Loaded() override;
    bool Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    UINT TextFlags() const;

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

// A caption without a window, e.g. naming the control next to it.
class TLabel : public TCustomLabel {
    QUIRN_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner);
};
