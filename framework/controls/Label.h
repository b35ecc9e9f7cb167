// Label.h: TCustomLabel and TLabel, a caption without a window: drawn by its
// parent in its own font, optionally transparent, sized to its text.
#pragma once

#include "framework/controls/GraphicControl.h"

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
QUIRN_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

class TCustomLabel : public TGraphicControl {
    QUIRN_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

protected:
    void Paint() override;
    void AdjustSize() override;
    void Loaded() override;
    bool Dispatch(TMessage& message) override;
    void Notification(TComponent* AComponent, TOperation operation) override;
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

class TLabel : public TCustomLabel {
    QUIRN_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner);
};
